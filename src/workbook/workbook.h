// A spreadsheet workbook read without a spreadsheet program: the sheet list and each sheet's
// cells as the text the sheet shows, in CP932. Opened by content, not by name: a zip archive is
// read as .xlsx, a compound document as .xls; anything else cannot be opened.
#pragma once

#include "workbook/large_buffer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kol::workbook {

enum class OpenStatus {
    Ok,
    Unreadable, // damaged, not a workbook, or a part missing
    NoReader,   // the .xls reader library is not installed
    TooLarge,   // unpacks beyond the limits
    Encrypted,  // protected by a password
};

struct WorkbookResult {
    OpenStatus status = OpenStatus::Ok;
    std::string reason; // for people reading a log or the command line (ASCII)
    bool ok() const { return status == OpenStatus::Ok; }
};

// One sheet's cells anchored at A1. The extent reaches the last row and column that hold text,
// so a sheet that declares a vast range but holds few cells stays small.
class SheetText {
public:
    static constexpr std::uint32_t kMaxRows = 1048576, kMaxCols = 16384;
    static constexpr std::uint64_t kMaxText = 1ull << 30;

    // Row and column from 0; empty texts are not kept. False: the text budget is spent.
    [[nodiscard]] bool add(std::uint32_t row, std::uint32_t col, std::string_view text);
    // Room for about this many cells and bytes of text, so a large sheet is not copied as it
    // grows (the memory is only taken as it is filled).
    void reserve(std::size_t cells, std::size_t textBytes) {
        cells_.reserve(cells);
        text_.reserve(textBytes);
    }
    // The cells of a later part of the same sheet, as if each had been added after ours.
    // False (and nothing changed) when together they exceed the text budget.
    [[nodiscard]] bool append(SheetText&& tail);
    std::uint32_t rowCount() const { return rows_; }
    std::uint32_t colCount() const { return cols_; }
    std::size_t cellCount() const { return cells_.size(); }
    // About the size of commaText(): the texts and a comma for every place of the extent.
    std::uint64_t commaBytes() const {
        return text_.size() + static_cast<std::uint64_t>(rows_) * (cols_ + 2);
    }
    std::string_view cell(std::uint32_t row, std::uint32_t col); // slow; for tests

    // Every sheet row as one line of tab-separated texts, CR LF after each; every line has
    // colCount() fields. Tabs and line breaks inside a cell become blanks, so a cell never
    // spills into the next column or row.
    std::string tabLines();
    // commaLines(tabLines()) made in one pass, the rows of a large sheet on two threads.
    std::string commaText();

private:
    struct Cell {
        std::uint32_t row, col;
        std::uint64_t begin;
        std::uint32_t length;
    };
    void sort();
    void appendCommaRows(std::string& out, std::size_t cell, std::uint32_t from,
                         std::uint32_t to) const;
    // Tens of megabytes for a large sheet: kept in huge pages (fewer page faults).
    std::vector<Cell, LargeAllocator<Cell>> cells_;
    std::basic_string<char, std::char_traits<char>, LargeAllocator<char>> text_;
    std::uint32_t rows_ = 0, cols_ = 0;
    bool sorted_ = true;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    const std::vector<std::string>& sheetNames() const { return names_; } // CP932, tab order
    [[nodiscard]] virtual WorkbookResult readSheet(std::size_t index, SheetText& out) = 0;

protected:
    std::vector<std::string> names_;
};

[[nodiscard]] WorkbookResult openWorkbook(const std::string& path, std::unique_ptr<Workbook>& out);
// An .xlsx held in memory (the fuzzer and tests).
[[nodiscard]] WorkbookResult openXlsxBytes(std::string bytes, std::unique_ptr<Workbook>& out);

// Whether a path names a workbook by its extension (.xls, .xlsx, .xlsm, any case).
bool isWorkbookName(const std::string& path);

// The sheet transfer's rewrite: each line gets a tab appended and is cut at every tab; each
// piece is trimmed, cleaned as a CSV field (quotes removed, quoted when it holds a comma) and
// followed by a comma.
std::string commaLines(std::string_view tabLines);

} // namespace kol::workbook
