#include "table/grid_view_state.h"
#include "table/string_grid.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

std::string column(const StringGrid& g, int c) {
    std::string out;
    for (int r = 0; r < g.rowCount(); ++r) out += std::string(g.cell(c, r)) + ";";
    return out;
}

StringGrid& sample(StringGrid& g) {
    g.setColCount(3);
    g.setRowCount(4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            g.setCell(c, r, std::string(1, static_cast<char>('a' + c)) + std::to_string(r));
    return g;
}

TEST(StringGrid, CellsOutsideTheGridAreEmptyAndIgnored) {
    StringGrid g;
    sample(g);
    EXPECT_EQ(g.cell(3, 0), "");
    EXPECT_EQ(g.cell(-1, 0), "");
    g.setCell(5, 5, "x");
    EXPECT_EQ(g.rowCount(), 4);
    g.setCell(1, 1, g.cell(2, 1)); // text taken from the same row
    EXPECT_EQ(g.cell(1, 1), "c1");
}

TEST(StringGrid, NarrowingDropsCellsSoWideningShowsThemEmpty) {
    StringGrid g;
    sample(g);
    g.setColCount(2);
    g.setColCount(3);
    EXPECT_EQ(column(g, 2), ";;;;");
    EXPECT_EQ(column(g, 1), "b0;b1;b2;b3;");
}

TEST(StringGrid, RowEditsMoveWholeRows) {
    StringGrid g;
    sample(g);
    g.setRowHeight(3, 40);
    g.moveRow(3, 1);
    EXPECT_EQ(column(g, 0), "a0;a3;a1;a2;");
    EXPECT_EQ(g.rowHeight(1), 40);
    g.insertRows(2, 2);
    EXPECT_EQ(column(g, 0), "a0;a3;;;a1;a2;");
    g.deleteRows(1, 3);
    EXPECT_EQ(column(g, 0), "a0;a1;a2;");
    g.deleteRows(0, 99);
    EXPECT_EQ(g.rowCount(), 1); // a grid keeps one row
}

TEST(StringGrid, HeightsSetLaterTravelWithTheirRows) {
    // Heights are kept only once one differs from the default: rows added or moved before
    // that must still line up with their heights afterwards.
    StringGrid g;
    sample(g);
    g.insertRows(1, 2);
    g.moveRow(0, 5);
    g.setRowHeight(2, 24); // the default height: nothing to keep
    EXPECT_EQ(g.rowHeight(2), 24);
    g.setRowHeight(3, 40);
    g.setRowCount(8);
    g.insertRows(0, 1);
    EXPECT_EQ(g.rowHeight(4), 40);
    EXPECT_EQ(g.rowHeight(8), 24);
    g.moveRow(4, 8);
    EXPECT_EQ(g.rowHeight(8), 40);
    g.deleteRows(0, 3);
    EXPECT_EQ(g.rowHeight(5), 40);
    g.resetRowHeight(5);
    EXPECT_EQ(g.rowHeight(5), 24);
    g.setRowHeight(5, 30);
    g.setDefaultRowHeight(20); // every row back to the (new) default
    EXPECT_EQ(g.rowHeight(5), 20);
    StringGrid copy;
    g.setRowHeight(1, 50);
    copy.assign(g);
    EXPECT_EQ(copy.rowHeight(1), 50);
    EXPECT_EQ(copy.rowHeight(2), 20);
}

TEST(StringGrid, ColumnEditsMoveCellsAndWidths) {
    StringGrid g;
    sample(g);
    g.setColWidth(0, 11);
    g.moveCol(0, 2);
    EXPECT_EQ(column(g, 2), "a0;a1;a2;a3;");
    EXPECT_EQ(g.colWidth(2), 11);
    g.insertCols(1, 1);
    EXPECT_EQ(g.colCount(), 4);
    EXPECT_EQ(column(g, 1), ";;;;");
    EXPECT_EQ(column(g, 2), "c0;c1;c2;c3;");
    g.deleteCols(0, 2);
    EXPECT_EQ(column(g, 0), "c0;c1;c2;c3;");
    EXPECT_EQ(g.colCount(), 2);
}

TEST(StringGrid, LongRowsUseWideOffsets) {
    StringGrid g;
    g.setColCount(3);
    std::string big(70000, 'x');
    g.setCell(1, 0, big);
    g.setCell(2, 0, "tail");
    EXPECT_EQ(g.cell(1, 0), big);
    EXPECT_EQ(g.cell(2, 0), "tail");
}

TEST(StringGrid, AWideRowShrunkInPlaceIsCopiedWhole) {
    // The block size was computed from the text size alone, so a row laid out with 32-bit
    // offsets whose text shrank below 64 KiB was copied short (a read past the block).
    const std::string big(70000, 'a');
    const std::string_view cells[] = {big, "tail"};
    std::vector<std::uint32_t> memory(PackedRow::blockSize(2, big.size() + 4) / 4 + 1);
    PackedRow* row = PackedRow::build(memory.data(), cells, true);
    ASSERT_TRUE(row->replaceInPlace(0, "short"));
    EXPECT_EQ(row->blockSize() + row->spare, PackedRow::blockSize(2, big.size() + 4));

    StringGrid g;
    g.setColCount(3);
    g.setCell(1, 0, "tail");
    g.setCell(0, 0, big);
    g.setCell(0, 0, "short"); // in place: the block keeps its 32-bit offsets
    StringGrid copy;
    copy.assign(g);
    EXPECT_EQ(copy.cell(0, 0), "short");
    EXPECT_EQ(copy.cell(1, 0), "tail");
}

TEST(StringGrid, OffsetWidthsFollowTheTextSizeAndGrowthInPlaceNeverOverflowsThem) {
    for (std::size_t size : {0u, 1u, 254u, 255u, 256u, 65535u, 65536u}) {
        const std::string text(size, 'x');
        const std::string_view cells[] = {text, "", "z"};
        std::vector<std::uint32_t> memory(PackedRow::blockSize(3, size + 1) / 4 + 1);
        const PackedRow* row = PackedRow::build(memory.data(), cells, true);
        EXPECT_EQ(row->offsetBytes(), size + 1 <= 255 ? 1u : size + 1 <= 65535 ? 2u : 4u) << size;
        EXPECT_EQ(row->cell(0), text);
        EXPECT_EQ(row->cell(1), "");
        EXPECT_EQ(row->cell(2), "z");
    }
    // A one-byte-offset row with room to spare may not grow past 255 bytes in place.
    const std::string text(250, 'a');
    const std::string_view cells[] = {text, "b"};
    std::vector<std::uint32_t> memory(PackedRow::blockSize(2, 251) / 4 + 16);
    PackedRow* row = PackedRow::build(memory.data(), cells, true);
    row->spare = 40;
    EXPECT_TRUE(row->replaceInPlace(1, "bcde"));
    EXPECT_FALSE(row->replaceInPlace(1, std::string(10, 'c')));
    EXPECT_EQ(row->cell(0), text);
    EXPECT_EQ(row->cell(1), "bcde");

    StringGrid g;
    g.setColCount(2);
    g.setCell(0, 0, text);
    for (std::size_t n : {1u, 4u, 5u, 6u, 300u, 2u})
        g.setCell(1, 0, std::string(n, 'q')); // across the width border and back
    EXPECT_EQ(g.cell(0, 0), text);
    EXPECT_EQ(g.cell(1, 0), "qq");
}

TEST(StringGrid, AssignCopiesDeeply) {
    StringGrid a, b;
    sample(a);
    a.setFixedRows(1);
    b.assign(a);
    a.setCell(0, 1, "changed");
    EXPECT_EQ(b.cell(0, 1), "a1");
    EXPECT_EQ(b.fixedRows(), 1);
    EXPECT_EQ(b.rowCount(), 4);
}

TEST(StringGrid, FixedCountsAndViewStayInside) {
    StringGrid g;
    sample(g);
    g.setFixedRows(9);
    EXPECT_EQ(g.fixedRows(), 3);
    g.setRowCount(2);
    EXPECT_EQ(g.fixedRows(), 1);
    GridViewState view(g);
    view.setCurrent(9, 9);
    EXPECT_EQ(view.col, 2);
    EXPECT_EQ(view.row, 1);
    view.topRow = 5;
    g.setRowCount(1); // a shape change keeps every attached view inside
    EXPECT_EQ(view.row, 0);
    EXPECT_EQ(view.topRow, 0);
}

// A grid built on another thread hands its cells over; sizes and views stay where they are.
TEST(StringGrid, AdoptedCellsKeepTheSizesAndViewsOfTheTakingGrid) {
    StringGrid shown;
    shown.setColCount(3);
    shown.setRowCount(50);
    shown.setFixedRows(1);
    shown.setColWidth(1, 7);
    shown.setRowHeight(40, 99);
    GridViewState view(shown);
    view.setCurrent(2, 45);

    StringGrid built;
    built.setColCount(5);
    built.setRowCount(10);
    built.setRowCells(9, std::vector<std::string_view>{"a", "b", "c", "d", "e"});
    shown.adoptCells(built);
    EXPECT_EQ(shown.rowCount(), 10);
    EXPECT_EQ(shown.colCount(), 5);
    EXPECT_EQ(shown.cell(4, 9), "e");
    EXPECT_EQ(shown.colWidth(1), 7);
    EXPECT_EQ(shown.colWidth(4), shown.defaultColWidth());
    EXPECT_EQ(shown.rowHeight(9), shown.defaultRowHeight());
    EXPECT_EQ(view.row, 9);
    EXPECT_EQ(built.rowCount(), 50); // the old rows, emptied
    EXPECT_EQ(built.cell(0, 0), "");
}

} // namespace
} // namespace kol

namespace kol {
namespace {

TEST(StringGridInPlace, ShorterTextsStayInTheirBlockAndLongerOnesMove) {
    StringGrid g;
    g.setColCount(3);
    g.setRowCells(0, std::vector<std::string_view>{"1,000,000", "", "data"});
    g.setCell(0, 0, "1000000");
    g.setCell(0, 0, "10000000"); // within the slack the shorter text left
    EXPECT_EQ(g.cell(0, 0), "10000000");
    EXPECT_EQ(g.cell(2, 0), "data");
    g.setCell(1, 0, "a longer key value");
    EXPECT_EQ(g.cell(1, 0), "a longer key value");
    EXPECT_EQ(g.cell(2, 0), "data");
    StringGrid copy;
    copy.assign(g);
    copy.setCell(2, 0, "x");
    copy.setCell(2, 0, "xyz");
    EXPECT_EQ(copy.cell(2, 0), "xyz");
}

TEST(StringGridInPlace, RebuildingAllRowsRewritesAColumn) {
    StringGrid g;
    g.setColCount(3);
    g.setRowCount(3);
    for (int r = 0; r < 3; ++r)
        g.setRowCells(r, std::vector<std::string_view>{"n", "", "  v" + std::to_string(r)});
    g.rebuildAllRows(
        [](void*, int r, std::vector<std::string_view>& cells, std::string& scratch) {
            scratch = "#" + std::to_string(r);
            cells.resize(3);
            cells[1] = scratch;
        },
        nullptr);
    EXPECT_EQ(g.cell(1, 2), "#2");
    EXPECT_EQ(g.cell(2, 2), "  v2");
    EXPECT_EQ(g.cell(0, 0), "n");
    EXPECT_TRUE(g.rowEmptyFrom(0, 3));
    EXPECT_FALSE(g.rowEmptyFrom(0, 2));
    g.setCell(2, 1, "");
    EXPECT_TRUE(g.rowEmptyFrom(1, 2));
}

} // namespace
} // namespace kol
