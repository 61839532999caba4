#include "workbook/xlsx_reader.h"

#include "text/cp932.h"
#include "workbook/format_tokens.h"
#include "workbook/sheet_xml_scanner.h"
#include "workbook/xlsx_parts.h"
#include "workbook/zip_archive.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

namespace kol::workbook {

namespace {

const char* describe(ZipStatus s) {
    switch (s) {
    case ZipStatus::NotZip:
        return "not a zip archive";
    case ZipStatus::Missing:
        return "a part of the workbook is missing";
    case ZipStatus::TooLarge:
        return "unpacks beyond 1 GB or 100 times the file's size";
    case ZipStatus::Encrypted:
        return "encrypted";
    default:
        return "damaged zip archive";
    }
}

WorkbookResult fromZip(ZipStatus s) {
    return {s == ZipStatus::TooLarge    ? OpenStatus::TooLarge
            : s == ZipStatus::Encrypted ? OpenStatus::Encrypted
                                        : OpenStatus::Unreadable,
            describe(s)};
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::string toCp932(std::string_view utf8) {
    for (unsigned char c : utf8)
        if (c >= 0x80) return cp932::fromUtf8(utf8);
    return std::string(utf8);
}

// "AB12" → column 27 (from 0) and row 11 (from 0); false when there is no column.
bool parseRef(const char* ref, std::uint32_t& col, std::uint32_t& row, bool& hasRow) {
    std::uint64_t c = 0, r = 0;
    const char* p = ref;
    for (; *p >= 'A' && *p <= 'Z'; ++p) {
        c = c * 26 + static_cast<std::uint64_t>(*p - 'A' + 1);
        if (c > SheetText::kMaxCols) return false;
    }
    if (c == 0) return false;
    hasRow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        r = r * 10 + static_cast<std::uint64_t>(*p - '0');
        if (r > SheetText::kMaxRows) return false;
        hasRow = true;
    }
    col = static_cast<std::uint32_t>(c - 1);
    if (hasRow && r > 0) row = static_cast<std::uint32_t>(r - 1);
    return true;
}

// Turns the cells of one worksheet part into shown texts.
class SheetHandler : public XmlHandler {
public:
    SheetHandler(SheetText& out, const SharedStringsHandler& strings, const StylesHandler& styles,
                 DateSystem dates)
        : out_(out), strings_(strings), styles_(styles), dates_(dates) {}
    bool full = false;

    void start(std::string_view name, const char** a) override {
        if (name == "row") {
            const char* r = XmlReader::attribute(a, "r");
            long n = r ? std::atol(r) : 0;
            row_ = n > 0 && n <= static_cast<long>(SheetText::kMaxRows)
                       ? static_cast<std::uint32_t>(n - 1)
                       : nextRow_;
            nextCol_ = 0;
        } else if (name == "c") {
            const char* r = XmlReader::attribute(a, "r");
            std::uint32_t row = row_, col = nextCol_;
            bool hasRow = false;
            valid_ = !r || parseRef(r, col, row, hasRow);
            cellRow_ = row;
            cellCol_ = col;
            const char* t = XmlReader::attribute(a, "t");
            type_ = t ? t : "n";
            const char* s = XmlReader::attribute(a, "s");
            style_ = s ? static_cast<std::size_t>(std::strtoul(s, nullptr, 10)) : 0;
            value_.clear();
            inCell_ = true;
        } else if (inCell_ && name == "v") {
            inValue_ = true;
        } else if (inCell_ && name == "rPh") {
            ++phonetic_;
        } else if (inCell_ && name == "t" && phonetic_ == 0 && type_ == "inlineStr") {
            inValue_ = true;
        }
    }

    void end(std::string_view name) override {
        if (name == "v" || name == "t") {
            inValue_ = false;
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "c") {
            inCell_ = false;
            if (valid_) {
                if (!out_.add(cellRow_, cellCol_, shown())) full = true;
                nextCol_ = cellCol_ + 1;
            }
        } else if (name == "row") {
            nextRow_ = row_ + 1;
        }
    }

    void text(std::string_view data) override {
        if (inValue_) value_.append(data);
    }

private:
    std::string shown() {
        if (value_.empty()) return {};
        if (type_ == "s") {
            return std::string(strings_.at(std::strtoul(value_.c_str(), nullptr, 10)));
        }
        if (type_ == "str" || type_ == "inlineStr") return toCp932(decodeEscapes(value_));
        if (type_ == "b") return value_ == "1" || value_ == "true" ? "TRUE" : "FALSE";
        if (type_ == "e" || type_ == "d") return toCp932(value_);
        char* end = nullptr;
        const double v = std::strtod(value_.c_str(), &end);
        if (end == value_.c_str()) return toCp932(value_);
        auto cached = formats_.find(style_);
        if (cached == formats_.end()) {
            std::string_view code = styles_.formatOf(style_);
            cached =
                formats_
                    .emplace(style_, code.empty() ? std::optional<FormatCode>()
                                                  : std::optional<FormatCode>(FormatCode(code)))
                    .first;
        }
        if (!cached->second) return generalNumber(v);
        return toCp932(formatParsed(v, *cached->second, dates_));
    }

    SheetText& out_;
    const SharedStringsHandler& strings_;
    const StylesHandler& styles_;
    DateSystem dates_;
    std::map<std::size_t, std::optional<FormatCode>> formats_;
    std::uint32_t row_ = 0, nextRow_ = 0, nextCol_ = 0, cellRow_ = 0, cellCol_ = 0;
    std::string type_, value_;
    std::size_t style_ = 0;
    int phonetic_ = 0;
    bool inCell_ = false, inValue_ = false, valid_ = true;
};

class XlsxWorkbook : public Workbook {
public:
    explicit XlsxWorkbook(std::unique_ptr<ZipArchive> zip) : zip_(std::move(zip)) {}

    WorkbookResult load() {
        RelationshipsHandler root;
        std::string workbookPath = "xl/workbook.xml";
        if (zip_->has("_rels/.rels")) {
            WorkbookResult r = parse("_rels/.rels", root);
            if (!r.ok()) return r;
            for (const Relationship& rel : root.list)
                if (endsWith(rel.type, "/officeDocument"))
                    workbookPath = resolveTarget("", rel.target);
        }
        const std::size_t slash = workbookPath.rfind('/');
        const std::string folder =
            slash == std::string::npos ? "" : workbookPath.substr(0, slash + 1);
        const std::string file = workbookPath.substr(folder.size());
        RelationshipsHandler rels;
        WorkbookResult r = parse(folder + "_rels/" + file + ".rels", rels);
        if (!r.ok()) return r;
        WorkbookHandler book;
        r = parse(workbookPath, book);
        if (!r.ok()) return r;
        dates_ = book.dates;
        std::map<std::string, const Relationship*> byId;
        for (const Relationship& rel : rels.list) {
            byId[rel.id] = &rel;
            if (endsWith(rel.type, "/sharedStrings"))
                stringsPath_ = resolveTarget(folder, rel.target);
            if (endsWith(rel.type, "/styles")) stylesPath_ = resolveTarget(folder, rel.target);
        }
        for (const SheetEntry& sheet : book.sheets) {
            auto rel = byId.find(sheet.relId);
            if (rel == byId.end() || !endsWith(rel->second->type, "/worksheet")) continue;
            names_.push_back(toCp932(sheet.name));
            paths_.push_back(resolveTarget(folder, rel->second->target));
        }
        return {};
    }

    WorkbookResult readSheet(std::size_t index, SheetText& out) override {
        if (index >= paths_.size()) return {OpenStatus::Unreadable, "no such sheet"};
        if (!partsRead_) {
            if (!stringsPath_.empty() && zip_->has(stringsPath_)) {
                WorkbookResult r = parse(stringsPath_, strings_);
                if (!r.ok()) return r;
            }
            if (!stylesPath_.empty() && zip_->has(stylesPath_)) {
                WorkbookResult r = parse(stylesPath_, styles_);
                if (!r.ok()) return r;
            }
            partsRead_ = true;
        }
        out = SheetText();
        SheetHandler sheet(out, strings_, styles_, dates_);
        // Worksheets, the bulk of a book, go through the lean scanner; the other parts keep expat.
        WorkbookResult r = parse<SheetXmlScanner>(paths_[index], sheet, &sheet.full);
        if (sheet.full) return {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
        return r;
    }

private:
    template <class Reader = XmlReader>
    WorkbookResult parse(const std::string& part, XmlHandler& handler, const bool* stop = nullptr) {
        Reader xml(handler);
        bool malformed = false;
        ZipStatus s = zip_->read(part, [&](std::string_view chunk) {
            if (!xml.feed(chunk)) {
                malformed = true;
                return false;
            }
            return !(stop && *stop);
        });
        if (stop && *stop) return {};
        if (malformed || (s == ZipStatus::Ok && !xml.finish()))
            return {OpenStatus::Unreadable, "malformed XML in " + part + ": " + xml.error()};
        if (s != ZipStatus::Ok) return fromZip(s);
        return {};
    }

    std::unique_ptr<ZipArchive> zip_;
    std::vector<std::string> paths_;
    std::string stringsPath_, stylesPath_;
    SharedStringsHandler strings_;
    StylesHandler styles_;
    DateSystem dates_ = DateSystem::From1900;
    bool partsRead_ = false;
};

WorkbookResult finishOpen(ZipStatus s, std::unique_ptr<ZipArchive> zip,
                          std::unique_ptr<Workbook>& out) {
    if (s != ZipStatus::Ok) return fromZip(s);
    auto book = std::make_unique<XlsxWorkbook>(std::move(zip));
    WorkbookResult r = book->load();
    if (r.ok()) out = std::move(book);
    return r;
}

} // namespace

WorkbookResult openXlsx(const std::string& path, std::unique_ptr<Workbook>& out) {
    std::unique_ptr<ZipArchive> zip;
    ZipStatus s = ZipArchive::open(path, zip);
    return finishOpen(s, std::move(zip), out);
}

WorkbookResult openXlsxBytes(std::string bytes, std::unique_ptr<Workbook>& out) {
    std::unique_ptr<ZipArchive> zip;
    ZipStatus s = ZipArchive::openBytes(std::move(bytes), zip);
    return finishOpen(s, std::move(zip), out);
}

} // namespace kol::workbook
