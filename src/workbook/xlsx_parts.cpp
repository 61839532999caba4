#include "workbook/xlsx_parts.h"

#include "text/cp932.h"

#include <cstdlib>
#include <cstring>

namespace kol::workbook {

namespace {
bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool flag(const char* value) {
    return value && (std::strcmp(value, "1") == 0 || std::strcmp(value, "true") == 0);
}
} // namespace

std::string decodeEscapes(std::string_view text) {
    if (text.find("_x") == std::string_view::npos) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && isHex(text[i + 2]) &&
            isHex(text[i + 3]) && isHex(text[i + 4]) && isHex(text[i + 5]) && text[i + 6] == '_') {
            auto cp = static_cast<char32_t>(
                std::strtoul(std::string(text.substr(i + 2, 4)).c_str(), nullptr, 16));
            cp932::appendUtf8(out, cp);
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string resolveTarget(const std::string& folder, const std::string& target) {
    std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    // Fold "a/../" and "./".
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

void RelationshipsHandler::start(std::string_view name, const char** a) {
    if (name != "Relationship") return;
    const char* id = XmlReader::attribute(a, "Id");
    const char* type = XmlReader::attribute(a, "Type");
    const char* target = XmlReader::attribute(a, "Target");
    const char* mode = XmlReader::attribute(a, "TargetMode");
    if (!id || !target || (mode && std::strcmp(mode, "External") == 0)) return;
    list.push_back({id, type ? type : "", target});
}

void WorkbookHandler::start(std::string_view name, const char** a) {
    if (name == "workbookPr") {
        if (flag(XmlReader::attribute(a, "date1904"))) dates = DateSystem::From1904;
    } else if (name == "sheet") {
        const char* sheetName = XmlReader::attribute(a, "name");
        const char* id = XmlReader::attribute(a, "id");
        if (sheetName && id) sheets.push_back({sheetName, id});
    }
}

void SharedStringsHandler::start(std::string_view name, const char** a) {
    if (name == "si") {
        inItem_ = true;
        item_.clear();
    } else if (name == "rPh") {
        ++phonetic_;
    } else if (name == "t" && inItem_ && phonetic_ == 0) {
        inText_ = true;
    }
}

void SharedStringsHandler::end(std::string_view name) {
    if (name == "t") {
        inText_ = false;
    } else if (name == "rPh") {
        --phonetic_;
    } else if (name == "si") {
        inItem_ = false;
        starts.push_back(strings.size());
        strings += cp932::fromUtf8(decodeEscapes(item_));
    }
}

void SharedStringsHandler::text(std::string_view data) {
    if (inText_) item_.append(data);
}

std::string_view SharedStringsHandler::at(std::size_t i) const {
    if (i >= starts.size()) return {};
    const std::uint64_t end = i + 1 < starts.size() ? starts[i + 1] : strings.size();
    return std::string_view(strings).substr(starts[i], end - starts[i]);
}

void StylesHandler::start(std::string_view name, const char** a) {
    if (name == "numFmts") {
        inNumFmts_ = true;
    } else if (name == "numFmt" && inNumFmts_) { // not the differential formats' own
        const char* id = XmlReader::attribute(a, "numFmtId");
        const char* code = XmlReader::attribute(a, "formatCode");
        if (id && code) customFormats[std::atoi(id)] = code;
    } else if (name == "cellXfs") {
        inCellXfs_ = true;
    } else if (name == "xf" && inCellXfs_) {
        const char* id = XmlReader::attribute(a, "numFmtId");
        cellFormats.push_back(id ? std::atoi(id) : 0);
    }
}

void StylesHandler::end(std::string_view name) {
    if (name == "cellXfs") inCellXfs_ = false;
    if (name == "numFmts") inNumFmts_ = false;
}

std::string_view StylesHandler::formatOf(std::size_t style) const {
    if (style >= cellFormats.size()) return {};
    const int id = cellFormats[style];
    auto custom = customFormats.find(id);
    if (custom != customFormats.end()) return custom->second;
    std::string_view builtin = builtinFormat(id);
    return builtin == "General" ? std::string_view() : builtin;
}

} // namespace kol::workbook
