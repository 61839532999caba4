#include "workbook/xls_reader.h"

#include "text/cp932.h"
#include "workbook/biff_formulas.h"
#include "workbook/biff_workbook.h"
#include "workbook/cell_format.h"
#include "workbook/compound_file.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <freexl.h>
#include <mutex>

namespace kol::workbook {

namespace {

struct FreeXl {
    decltype(&::freexl_open) open = nullptr;
    decltype(&::freexl_close) close = nullptr;
    decltype(&::freexl_get_info) info = nullptr;
    decltype(&::freexl_get_worksheet_name) sheetName = nullptr;
    decltype(&::freexl_select_active_worksheet) select = nullptr;
    decltype(&::freexl_worksheet_dimensions) dimensions = nullptr;
    decltype(&::freexl_get_cell_value) cell = nullptr;
};

std::string& libraryName() {
    static std::string name = "libfreexl.so.1";
    return name;
}

// The library's functions, or nullptr when it cannot be loaded.
const FreeXl* library() {
    static std::mutex lock;
    static std::string loadedName;
    static FreeXl functions;
    static bool loaded = false;
    std::lock_guard<std::mutex> guard(lock);
    if (loadedName != libraryName()) {
        loadedName = libraryName();
        loaded = false;
        void* handle = dlopen(loadedName.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle) {
            auto get = [&](auto& fn, const char* name) {
                fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(handle, name));
                return fn != nullptr;
            };
            loaded = get(functions.open, "freexl_open") && get(functions.close, "freexl_close") &&
                     get(functions.info, "freexl_get_info") &&
                     get(functions.sheetName, "freexl_get_worksheet_name") &&
                     get(functions.select, "freexl_select_active_worksheet") &&
                     get(functions.dimensions, "freexl_worksheet_dimensions") &&
                     get(functions.cell, "freexl_get_cell_value");
        }
    }
    return loaded ? &functions : nullptr;
}

// "2021-01-01" → "2021/1/1"; "12:05:09" → "12:05:09" without a leading zero in the hour.
std::string japaneseDate(std::string_view iso) {
    int y = 0, m = 0, d = 0;
    if (std::sscanf(std::string(iso).c_str(), "%d-%d-%d", &y, &m, &d) != 3) return std::string(iso);
    return std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d);
}

std::string shortTime(std::string_view hms, bool seconds) {
    int h = 0, m = 0, s = 0;
    if (std::sscanf(std::string(hms).c_str(), "%d:%d:%d", &h, &m, &s) != 3) return std::string(hms);
    char buf[32];
    if (seconds)
        std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%d:%02d", h, m);
    return buf;
}

class XlsWorkbook : public Workbook {
public:
    XlsWorkbook(const FreeXl& lib, const void* handle, std::uint64_t fileSize)
        : lib_(lib), handle_(handle), fileSize_(fileSize) {}
    ~XlsWorkbook() override { lib_.close(handle_); }

    // `stream`: the workbook stream, when it could be read.
    WorkbookResult load(const std::string* stream) {
        unsigned int password = 0, sheets = 0;
        if (lib_.info(handle_, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
            password == FREEXL_BIFF_OBFUSCATED)
            return {OpenStatus::Encrypted, "protected by a password"};
        if (lib_.info(handle_, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
            return {OpenStatus::Unreadable, "no sheets"};
        for (unsigned short i = 0; i < sheets; ++i) {
            const char* name = nullptr;
            if (lib_.sheetName(handle_, i, &name) != FREEXL_OK || !name) name = "";
            names_.push_back(cp932::fromUtf8(name));
        }
        if (names_.empty()) return {OpenStatus::Unreadable, "no sheets"};
        // Formula results and booleans, which the library skips, are read from the records.
        if (stream) {
            extra_ = readBiffRecords(*stream, BiffTexts::LeftByLibrary).cells;
            if (extra_.size() != names_.size()) extra_.clear();
        }
        return {};
    }

    WorkbookResult readSheet(std::size_t index, SheetText& out) override {
        out = SheetText();
        if (index >= names_.size() ||
            lib_.select(handle_, static_cast<unsigned short>(index)) != FREEXL_OK)
            return {OpenStatus::Unreadable, "no such sheet"};
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (lib_.dimensions(handle_, &rows, &cols) != FREEXL_OK)
            return {OpenStatus::Unreadable, "damaged sheet"};
        // No .xls sheet reaches past 65,536 rows or 256 columns, whatever a record claims.
        for (unsigned int r = 0; r < std::min(rows, 65536u); ++r) {
            for (unsigned short c = 0; c < std::min<unsigned short>(cols, 256); ++c) {
                FreeXL_CellValue v;
                if (lib_.cell(handle_, r, c, &v) != FREEXL_OK) continue;
                std::string text;
                switch (v.type) {
                case FREEXL_CELL_INT:
                    text = std::to_string(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = generalNumber(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    text = v.value.text_value ? cp932::fromUtf8(v.value.text_value) : "";
                    break;
                case FREEXL_CELL_DATE:
                    text = japaneseDate(v.value.text_value);
                    break;
                case FREEXL_CELL_DATETIME: {
                    std::string_view s(v.value.text_value);
                    std::size_t blank = s.find(' ');
                    text = japaneseDate(s.substr(0, blank)) +
                           (blank == s.npos ? "" : " " + shortTime(s.substr(blank + 1), false));
                    break;
                }
                case FREEXL_CELL_TIME:
                    text = shortTime(v.value.text_value, true);
                    break;
                default:
                    break;
                }
                if (!out.add(r, c, text)) {
                    out = SheetText(); // never half a sheet
                    return {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
                }
            }
        }
        static const std::vector<BiffCell> none;
        return addBiffCells(index < extra_.size() ? extra_[index] : none, fileSize_, out);
    }

private:
    const FreeXl& lib_;
    const void* handle_;
    std::uint64_t fileSize_;
    std::vector<std::vector<BiffCell>> extra_;
};

} // namespace

void setXlsLibraryName(const std::string& name) {
    libraryName() = name;
}

WorkbookResult openXls(const std::string& path, std::unique_ptr<Workbook>& out) {
    std::error_code error;
    const std::uint64_t fileSize = std::filesystem::file_size(path, error);
    if (error) return {OpenStatus::Unreadable, "cannot read the file"};
    // A book saved for both Excel 5 and 97 holds a BIFF8 "Workbook" beside the old "Book";
    // that one wins.
    std::string stream;
    const bool haveStream =
        readCompoundStream(path, "Workbook", stream) || readCompoundStream(path, "Book", stream);
    // Excel 5 and 95 books are read by our own record walk; the library cannot open them.
    if (haveStream && isBiff5Stream(stream)) return openBiffWorkbook(stream, fileSize, out);
    const FreeXl* lib = library();
    if (!lib) return {OpenStatus::NoReader, "libfreexl.so.1 is not installed"};
    // Our walk reads Excel 97 books first: libfreexl crashes on some sound books LibreOffice
    // writes, answers others with success and no workbook, and cuts long shared strings. The
    // library reads what the walk cannot.
    if (haveStream && isBiff8Stream(stream)) {
        WorkbookResult own = openBiffWorkbook(stream, fileSize, out);
        if (own.ok() || own.status == OpenStatus::Encrypted) return own;
    }
    const void* handle = nullptr;
    const int status = lib->open(path.c_str(), &handle);
    // The library answers some files it cannot read with success and no handle.
    if (status != FREEXL_OK || !handle) {
        if (handle) lib->close(handle);
        return {OpenStatus::Unreadable,
                "not a readable .xls workbook (" + std::to_string(status) + ")"};
    }
    auto book = std::make_unique<XlsWorkbook>(*lib, handle, fileSize);
    WorkbookResult r = book->load(haveStream ? &stream : nullptr);
    if (r.ok()) out = std::move(book);
    return r;
}

} // namespace kol::workbook
