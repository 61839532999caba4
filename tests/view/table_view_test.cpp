// The shown table over a bare document: labels, key column, widths and the listeners, without
// a window.
#include "table/separators.h"
#include "table/table_document.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "view/table_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kol {
namespace {

struct Switches : TableViewSwitches {
    RowLabelRule labels{false, 0};
    int titleRows = 0, key = 0, keyLetters = 6, fold = 1;
    bool breaks = false;
    DisplaySwitches display;
    double limit = 26;
    unsigned char sep = ',';
    RowLabelRule rowLabelRule() const override { return labels; }
    int titleRowsChoice() const override { return titleRows; }
    int keyColumnChoice() const override { return key; }
    int keyColumnLetters() const override { return keyLetters; }
    bool breakColours() const override { return breaks; }
    DisplaySwitches displaySwitches() const override { return display; }
    int foldChoice() const override { return fold; }
    double columnLimit() const override { return limit; }
    unsigned char separator() const override { return sep; }
    GridMetrics metrics() const override { return {7, 13, 22}; }
};

struct Recorder : TableListener {
    std::vector<Reshape> reshapes;
    std::vector<GridRect> cells;
    void tableReshaped(Reshape how) override { reshapes.push_back(how); }
    void cellsChanged(const GridRect& r) override { cells.push_back(r); }
};

// A table of `rows` data rows of "name,value" under one title row.
struct Shown {
    TableDocument doc;
    Switches switches;
    TableView view{doc, switches};
    explicit Shown(int rows) {
        std::string text = "name,value\r\n";
        for (int i = 0; i < rows; ++i)
            text += "n" + std::to_string(i) + "," + std::to_string(i % 3) + "\r\n";
        SourceText source{std::string(text)};
        const std::size_t lines = countLines(source.text());
        resetTableShape(doc.Grid, 0, static_cast<int>(lines), switches.labels);
        (void)fillTable(doc, source, lines, ',', switches.labels);
    }
};

TEST(TableViewListeners, EverySubscriberHearsEachAnnouncementInOrder) {
    Shown t(3);
    Recorder first, second;
    {
        TableSubscription a(t.view.listeners(), first), b(t.view.listeners(), second);
        t.view.announceReshaped(Reshape::Columns);
        t.view.cellsChanged(GridRect{2, 1, 3, 2});
        EXPECT_EQ(t.view.listenerCount(), 2u);
    }
    EXPECT_EQ(t.view.listenerCount(), 0u);
    t.view.announceReshaped(Reshape::Replaced); // nobody left to tell
    for (const Recorder* r : {&first, &second}) {
        EXPECT_EQ(r->reshapes, std::vector<Reshape>{Reshape::Columns});
        ASSERT_EQ(r->cells.size(), 1u);
        EXPECT_EQ(r->cells[0], (GridRect{2, 1, 3, 2}));
    }
}

TEST(TableViewListeners, AListenerMayLeaveOrBringAnotherWhileBeingTold) {
    TableListeners listeners;
    Recorder late, gone;
    struct Leaver : TableListener {
        TableListeners* list = nullptr;
        TableListener *leaving = nullptr, *joining = nullptr;
        int told = 0;
        void tableReshaped(Reshape) override {
            ++told;
            list->remove(*leaving);
            list->remove(*this);
            list->add(*joining);
        }
    } leaver;
    leaver.list = &listeners;
    leaver.leaving = &gone;
    leaver.joining = &late;
    listeners.add(leaver);
    listeners.add(gone);
    listeners.reshaped(Reshape::Rows);
    EXPECT_EQ(leaver.told, 1);
    EXPECT_TRUE(gone.reshapes.empty());  // removed before its turn
    EXPECT_EQ(late.reshapes.size(), 1u); // joined during the round, told in it
    listeners.reshaped(Reshape::Rows);
    EXPECT_EQ(leaver.told, 1);
    EXPECT_EQ(listeners.size(), 1u);
}

TEST(TableViewLabels, RenumberingWidensTheLabelColumnAndShrinksItBack) {
    Shown t(3);
    Recorder r;
    TableSubscription s(t.view.listeners(), r);
    t.switches.labels = RowLabelRule{false, 1};
    t.view.renumberRowLabels();
    EXPECT_EQ(t.doc.Grid.cell(0, 1), "");
    EXPECT_EQ(t.doc.Grid.cell(0, 2), "1");
    EXPECT_EQ(t.doc.Grid.cell(0, 4), "3");
    EXPECT_EQ(t.doc.Grid.fixedRows(), 1);
    EXPECT_EQ(r.reshapes, std::vector<Reshape>{Reshape::Rows});

    t.view.resetLabelColumn();
    EXPECT_EQ(t.doc.Grid.colWidth(0), 63);
    t.doc.Grid.setRowCount(10'000'002); // the last label, "10,000,000", needs 10 + 2 letters
    t.view.fitLabelColumn();
    EXPECT_EQ(t.doc.Grid.colWidth(0), 12 * 7);
    t.doc.Grid.setRowCount(5);
    t.view.fitLabelColumn();
    EXPECT_EQ(t.doc.Grid.colWidth(0), 63);
}

TEST(TableViewKeyColumn, CopiesTheChosenColumnTrimmedAndFollowsAnEdit) {
    Shown t(2);
    t.doc.Grid.setCell(3, 2, "  7 ");
    t.switches.key = 2; // the second data column, grid column 3
    t.view.showKeyColumn(true);
    EXPECT_EQ(t.doc.Grid.cell(1, 0), sj("固定列"));
    EXPECT_EQ(t.doc.Grid.colWidth(1), 6 * 7);
    EXPECT_EQ(t.doc.Grid.cell(1, 1), " value");
    EXPECT_EQ(t.doc.Grid.cell(1, 2), " 7");
    t.doc.Grid.setCell(3, 3, "x y ");
    t.view.cellEdited(3, 3, "x y ");
    EXPECT_EQ(t.doc.Grid.cell(1, 3), " x y");
    EXPECT_EQ(t.view.keyColumnItems(),
              (std::vector<std::string>{sj(" 無し"), " 1. name", " 2. value"}));

    t.switches.key = 0; // switched off: the copies go, column 1 is a letter wide
    t.view.showKeyColumn(false);
    EXPECT_EQ(t.doc.Grid.cell(1, 2), "");
    EXPECT_EQ(t.doc.Grid.colWidth(1), 7);
}

TEST(TableViewWidths, FitToTheLongestShownTextWithinTheLimit) {
    Shown t(2);
    t.doc.Grid.setCell(2, 2, std::string(40, 'a'));
    t.view.autoFitColumns();
    EXPECT_EQ(t.doc.Grid.colWidth(2), 26 * 7); // the limit
    EXPECT_EQ(t.doc.Grid.colWidth(3), 45);     // "value": 6.5 letters, cut to a pixel
    EXPECT_EQ(t.doc.ColInfo[2].Width, 26 * 7);
    EXPECT_EQ(t.view.columnWidthFor(26 * 7, 10), -1); // already wide enough
    t.switches.sep = kNoSeparator;
    EXPECT_EQ(t.view.columnWidthFor(0, 3), 80 * 7); // one field per line: always 80 letters
}

} // namespace
} // namespace kol
