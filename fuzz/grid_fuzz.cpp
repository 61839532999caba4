// The string grid driven by a random list of edits, checked after each one against a plain
// table of strings that does the same edits the obvious way.
#include "table/move_item.h"
#include "table/string_grid.h"

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_check.h"
#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Table = std::vector<std::vector<std::string>>;

struct Model {
    int cols = 1;
    Table rows{std::vector<std::string>(1)};

    int rowCount() const { return static_cast<int>(rows.size()); }
    void setColCount(int n) {
        cols = std::max(n, 1);
        for (auto& r : rows) r.resize(cols);
    }
    void setRowCount(int n) { rows.resize(std::max(n, 1), std::vector<std::string>(cols)); }
};

void same(const kol::StringGrid& grid, const Model& model) {
    FUZZ_CHECK(grid.colCount() == model.cols && grid.rowCount() == model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c = 0; c < model.cols; ++c) FUZZ_CHECK(grid.cell(c, r) == model.rows[r][c]);
}

std::string text(FuzzedDataProvider& in) {
    // Mostly short texts; now and then one long enough for 32-bit offsets.
    if (in.ConsumeIntegralInRange(0, 40) == 0)
        return std::string(in.ConsumeIntegralInRange<std::size_t>(60000, 70000), 'w');
    return in.ConsumeRandomLengthString(12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    kol::StringGrid grid;
    kol::StringGrid copy;
    Model model;
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        const int a = in.ConsumeIntegralInRange(-2, 12);
        const int b = in.ConsumeIntegralInRange(-2, 12);
        switch (in.ConsumeIntegralInRange(0, 13)) {
        case 0:
            grid.setColCount(a);
            model.setColCount(a);
            break;
        case 1:
            grid.setRowCount(a);
            model.setRowCount(a);
            break;
        case 2: {
            std::string t = text(in);
            grid.setCell(a, b, t);
            if (a >= 0 && b >= 0 && a < model.cols && b < model.rowCount()) model.rows[b][a] = t;
            break;
        }
        case 3: { // a cell set from a text inside the same grid
            const int c = in.ConsumeIntegralInRange(0, 12);
            std::string expected(grid.cell(c, b));
            grid.setCell(a, b, grid.cell(c, b));
            if (a >= 0 && b >= 0 && a < model.cols && b < model.rowCount())
                model.rows[b][a] = expected;
            break;
        }
        case 4: {
            grid.insertRows(a, b);
            if (b > 0)
                model.rows.insert(model.rows.begin() + std::clamp(a, 0, model.rowCount()), b,
                                  std::vector<std::string>(model.cols));
            break;
        }
        case 5: {
            grid.deleteRows(a, b);
            int at = std::clamp(a, 0, model.rowCount());
            int n = std::clamp(b, 0, model.rowCount() - at);
            if (n >= model.rowCount()) n = model.rowCount() - 1;
            if (n > 0) model.rows.erase(model.rows.begin() + at, model.rows.begin() + at + n);
            break;
        }
        case 6:
            grid.moveRow(a, b);
            kol::moveItem(model.rows, a, b);
            break;
        case 7: {
            const int from = in.ConsumeIntegralInRange(-1, 12);
            grid.insertCols(a, b, from);
            if (b <= 0) break;
            const int at = std::clamp(a, 0, model.cols);
            for (auto& row : model.rows) {
                std::vector<std::string> added(b);
                for (int j = 0; from >= 0 && j < b; ++j)
                    if (from + j < model.cols) added[j] = row[from + j];
                row.insert(row.begin() + at, added.begin(), added.end());
            }
            model.cols += b;
            break;
        }
        case 8: {
            grid.deleteCols(a, b);
            int at = std::clamp(a, 0, model.cols);
            int n = std::clamp(b, 0, model.cols - at);
            if (n >= model.cols) n = model.cols - 1;
            if (n <= 0) break;
            for (auto& row : model.rows) row.erase(row.begin() + at, row.begin() + at + n);
            model.cols -= n;
            break;
        }
        case 9:
            grid.moveCol(a, b);
            if (a < model.cols && b < model.cols)
                for (auto& row : model.rows) kol::moveItem(row, a, b);
            break;
        case 10: {
            std::vector<std::string> given(in.ConsumeIntegralInRange(0, 14));
            for (auto& t : given) t = in.ConsumeRandomLengthString(6);
            std::vector<std::string_view> views(given.begin(), given.end());
            grid.setRowCells(a, views);
            if (a >= 0 && a < model.rowCount())
                for (std::size_t i = 0; i < given.size() && i < std::size_t(model.cols); ++i)
                    model.rows[a][i] = given[i];
            break;
        }
        case 11: { // a rectangle rewritten from its old texts
            kol::GridRect rect{std::min(a, b), in.ConsumeIntegralInRange(-1, 12), std::max(a, b),
                               in.ConsumeIntegralInRange(-1, 12)};
            if (rect.left < 0) break;
            grid.rewriteRect(rect, [](int c, int, std::string_view old) {
                return std::string(old) + static_cast<char>('a' + c % 26);
            });
            for (int r = std::max(rect.top, 0); r <= rect.bottom && r < model.rowCount(); ++r)
                for (int c = rect.left; c <= rect.right && c < model.cols; ++c)
                    model.rows[r][c] += static_cast<char>('a' + c % 26);
            break;
        }
        case 12:
            copy.assign(grid);
            same(copy, model);
            grid.assign(copy); // and back: copies carry no slack of the original
            break;
        case 13:
            grid.clearCells();
            for (auto& row : model.rows) std::fill(row.begin(), row.end(), std::string());
            break;
        }
        same(grid, model);
    }
    return 0;
}
