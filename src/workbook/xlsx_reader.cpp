#include "workbook/xlsx_reader.h"

#include "text/cp932.h"
#include "workbook/format_tokens.h"
#include "workbook/worksheet_reader.h"
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
        // Worksheets, the bulk of a book, are inflated whole and go through the lean scanner;
        // the other parts keep expat.
        out = SheetText();
        LargeBuffer xml;
        const ZipStatus s = zip_->readWhole(paths_[index], xml);
        if (s != ZipStatus::Ok) return fromZip(s);
        return readWorksheet(xml.data(), xml.size(), {strings_, styles_, dates_, paths_[index]},
                             out);
    }

private:
    WorkbookResult parse(const std::string& part, XmlHandler& handler) {
        XmlReader xml(handler);
        bool malformed = false;
        ZipStatus s = zip_->read(part, [&](std::string_view chunk) {
            if (!xml.feed(chunk)) {
                malformed = true;
                return false;
            }
            return true;
        });
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
