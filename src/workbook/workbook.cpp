#include "workbook/workbook.h"

#include "table/csv_form.h"
#include "table/source_text.h"
#include "text/text_utils.h"
#include "workbook/xls_reader.h"
#include "workbook/xlsx_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <thread>

namespace kol::workbook {

bool SheetText::add(std::uint32_t row, std::uint32_t col, std::string_view text) {
    if (text.empty() || row >= kMaxRows || col >= kMaxCols) return true;
    if (text_.size() + text.size() > kMaxText) return false;
    if (!cells_.empty()) {
        const Cell& last = cells_.back();
        if (row < last.row || (row == last.row && col <= last.col)) sorted_ = false;
    }
    cells_.push_back({row, col, text_.size(), static_cast<std::uint32_t>(text.size())});
    text_.append(text);
    rows_ = std::max(rows_, row + 1);
    cols_ = std::max(cols_, col + 1);
    return true;
}

bool SheetText::append(SheetText&& tail) {
    if (text_.size() + tail.text_.size() > kMaxText) return false;
    if (tail.cells_.empty()) return true;
    if (cells_.empty()) {
        *this = std::move(tail);
        return true;
    }
    const Cell& last = cells_.back();
    const Cell& next = tail.cells_.front();
    if (!tail.sorted_ || next.row < last.row || (next.row == last.row && next.col <= last.col))
        sorted_ = false;
    const std::uint64_t shift = text_.size();
    cells_.reserve(cells_.size() + tail.cells_.size());
    for (Cell c : tail.cells_) {
        c.begin += shift;
        cells_.push_back(c);
    }
    text_.append(tail.text_);
    rows_ = std::max(rows_, tail.rows_);
    cols_ = std::max(cols_, tail.cols_);
    return true;
}

void SheetText::sort() {
    if (sorted_) return;
    // A cell given twice keeps its last text.
    std::stable_sort(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    decltype(cells_) unique;
    unique.reserve(cells_.size());
    for (const Cell& c : cells_) {
        if (!unique.empty() && unique.back().row == c.row && unique.back().col == c.col)
            unique.back() = c;
        else
            unique.push_back(c);
    }
    cells_.swap(unique);
    sorted_ = true;
}

std::string_view SheetText::cell(std::uint32_t row, std::uint32_t col) {
    sort();
    for (const Cell& c : cells_)
        if (c.row == row && c.col == col) return std::string_view(text_).substr(c.begin, c.length);
    return {};
}

std::string SheetText::tabLines() {
    sort();
    std::string out;
    out.reserve(text_.size() + static_cast<std::size_t>(rows_) * (cols_ + 1));
    std::size_t next = 0;
    for (std::uint32_t r = 0; r < rows_; ++r) {
        std::uint32_t col = 0;
        for (; next < cells_.size() && cells_[next].row == r; ++next) {
            const Cell& c = cells_[next];
            for (; col < c.col; ++col) out += '\t';
            std::size_t at = out.size();
            out.append(std::string_view(text_).substr(c.begin, c.length));
            for (std::size_t i = at; i < out.size(); ++i)
                if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n') out[i] = ' ';
        }
        for (; col + 1 < cols_; ++col) out += '\t';
        out += "\r\n";
    }
    return out;
}

void SheetText::appendCommaRows(std::string& out, std::size_t next, std::uint32_t from,
                                std::uint32_t to) const {
    std::string spaced;
    for (std::uint32_t r = from; r < to; ++r) {
        for (std::uint32_t col = 0; col < cols_; ++col) {
            if (next < cells_.size() && cells_[next].row == r && cells_[next].col == col) {
                const Cell& c = cells_[next++];
                // Tabs and line breaks are blanks too, so trimming first cuts where trimming
                // the spaced-out text would; only those left inside need replacing.
                std::string_view text =
                    TrimmedView(std::string_view(text_).substr(c.begin, c.length));
                if (std::any_of(text.begin(), text.end(),
                                [](char ch) { return ch == '\t' || ch == '\r' || ch == '\n'; })) {
                    spaced.assign(text);
                    for (char& ch : spaced)
                        if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
                    text = spaced;
                }
                appendCleanField(out, text);
            }
            out += ',';
        }
        out += "\r\n";
    }
}

std::string SheetText::commaText() {
    sort();
    // The second half of the rows goes to another thread when there is enough to share.
    const std::uint32_t mid = cells_.size() >= 200000 ? rows_ / 2 : rows_;
    const std::size_t midCell = static_cast<std::size_t>(
        std::lower_bound(cells_.begin(), cells_.end(), mid,
                         [](const Cell& c, std::uint32_t row) { return c.row < row; }) -
        cells_.begin());
    const std::size_t estimate = text_.size() + static_cast<std::size_t>(rows_) * (cols_ + 2);
    std::string out, tail;
    bool tailFailed = false;
    std::thread second;
    if (mid < rows_) {
        second = std::thread([&] {
            try {
                tail.reserve(estimate / 2);
                appendCommaRows(tail, midCell, mid, rows_);
            } catch (const std::exception&) {
                tail.clear(); // made here instead, where a shortage is reported
                tailFailed = true;
            }
        });
    }
    out.reserve(estimate);
    appendCommaRows(out, 0, 0, mid);
    if (second.joinable()) {
        second.join();
        if (tailFailed)
            appendCommaRows(out, midCell, mid, rows_);
        else
            out += tail;
    }
    return out;
}

std::string commaLines(std::string_view tabLines) {
    std::string out;
    out.reserve(tabLines.size() + tabLines.size() / 4);
    LineCursor lines(tabLines);
    while (!lines.atEnd()) {
        std::string_view line = lines.next();
        for (;;) {
            std::size_t tab = line.find('\t');
            appendCleanField(out, Trim(line.substr(0, tab)));
            out += ',';
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        out += "\r\n";
    }
    return out;
}

bool isWorkbookName(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string ext = path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".xls" || ext == ".xlsx" || ext == ".xlsm";
}

WorkbookResult openWorkbook(const std::string& path, std::unique_ptr<Workbook>& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {OpenStatus::Unreadable, "cannot read the file"};
    unsigned char head[8] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    static const unsigned char kCompound[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (n >= 4 && head[0] == 'P' && head[1] == 'K') return openXlsx(path, out);
    if (n == 8 && std::equal(head, head + 8, kCompound)) return openXls(path, out);
    return {OpenStatus::Unreadable, "neither an .xlsx nor an .xls workbook"};
}

} // namespace kol::workbook
