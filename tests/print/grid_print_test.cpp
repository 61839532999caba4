// The print preview's model over a scripted window: creation and its stop, the cell scale,
// the display scale, paging and the settings it gives back.
#include "print/grid_print_01.h"
#include "print/pdf_print_job.h"
#include "support/fakes.h"
#include "support/fault_injection.h"
#include "support/recording_canvas.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace kol::print {
namespace {

using test::RecordingCanvas;
using test::ScriptedPrompts;

class FakePrintHost : public GridPrintHost {
public:
    test::FixedPitchMetrics fixedPitch;
    int boxWidth = 800, boxHeight = 600;
    long long largestImage = 1LL << 40; // pixels; a larger image cannot be made
    int images = 0, paints = 0;
    int panelWidth = 0, panelHeight = 0;
    int x = 0, y = 0, rangeX = 1000, rangeY = 1000;
    bool closed = false;
    std::function<void()> pending;
    RecordingCanvas lastPage;

    const FontMetrics& metrics() const override { return fixedPitch; }
    int scrollBoxWidth() const override { return boxWidth; }
    int scrollBoxHeight() const override { return boxHeight; }
    bool makeImage(int width, int height) override {
        if (static_cast<long long>(width) * height > largestImage) return false;
        ++images;
        return true;
    }
    void paintImage(const std::function<void(Canvas&)>& draw) override {
        ++paints;
        lastPage.calls.clear();
        draw(lastPage);
    }
    void setPanelSize(int w, int h) override { panelWidth = w, panelHeight = h; }
    int scrollX() const override { return x; }
    int scrollY() const override { return y; }
    int scrollRangeX() const override { return rangeX; }
    int scrollRangeY() const override { return rangeY; }
    void setScroll(int sx, int sy) override { x = sx, y = sy; }
    void processPending() override {
        if (pending) pending();
    }
    PrintClockReading now() const override { return {"2026/12/09", "10:11:12"}; }
    void closeWindow() override { closed = true; }
    std::string opened;
    bool browserStarts = true;
    bool openInBrowser(const std::string& path) override {
        opened = path;
        return browserStarts;
    }
};

// A table with the column-number row, `dataRows` rows and `dataCols` data columns after the
// row-number column and the key column, as the main window hands it over.
void fillTable(StringGrid& g, int dataRows, int dataCols) {
    g.setColCount(dataCols + 2);
    g.setRowCount(dataRows + 1);
    g.setFixedRows(1);
    g.setFixedCols(2);
    g.setDefaultRowHeight(18);
    for (int c = 0; c < g.colCount(); ++c) g.setColWidth(c, c == 1 ? 0 : 60);
    std::vector<std::string> texts(static_cast<std::size_t>(g.colCount()));
    std::vector<std::string_view> cells(texts.size());
    for (int r = 0; r < g.rowCount(); ++r) {
        for (int c = 0; c < g.colCount(); ++c) {
            std::string& t = texts[static_cast<std::size_t>(c)];
            t = r == 0   ? (c >= 2 ? std::to_string(c - 1) : "")
                : c == 0 ? std::to_string(r)
                : c == 1 ? ""
                         : "v" + std::to_string(r % 7);
            cells[static_cast<std::size_t>(c)] = t;
        }
        g.setRowCells(r, cells);
    }
}

using GridBuilder = std::function<void(StringGrid&)>;
GridBuilder table(int dataRows, int dataCols, const GridBuilder& then = {}) {
    return [=](StringGrid& g) {
        fillTable(g, dataRows, dataCols);
        if (then) then(g);
    };
}

struct Preview {
    StringGrid grid;
    PrintRequest request;
    ScriptedPrompts prompts;
    FakePrintHost host;
    BuiltInPrinter printer;
    std::unique_ptr<TfrmGridPrint_01> model;

    explicit Preview(const GridBuilder& build, PrintMode mode = PrintMode::Table) {
        build(grid);
        request.source = &grid;
        request.mode = mode;
        request.headings[0] = "File.Name:  /tmp/t.csv";
        request.initialRowLimit = mode == PrintMode::Table ? 100 : 0;
        request.sourceFont = {std::string(kPrintFace), 16};
    }
    TfrmGridPrint_01& open() {
        model = std::make_unique<TfrmGridPrint_01>(prompts, host, printer, request);
        model->FormShow();
        return *model;
    }
};

TEST(GridPrint, OpensOnTheFirstRowsThenCreatesAll) {
    Preview p(table(250, 3));
    TfrmGridPrint_01& m = p.open();
    EXPECT_EQ(m.layout().rowsCreated(), 100);
    EXPECT_EQ(m.Lbl_CreateSts.Caption, sj("作成要→"));
    EXPECT_EQ(m.Mn_RecCount.Caption, "[ Lines  100 / 250 ]");
    EXPECT_TRUE(m.Btn_DataCreate.Enabled);
    EXPECT_EQ(m.edtPageMin, " 1");
    EXPECT_EQ(m.edtPageMax, " " + std::to_string(m.layout().pageCount()));
    EXPECT_GT(p.host.paints, 0);
    EXPECT_TRUE(p.prompts.messages.empty()) << p.prompts.last();

    p.prompts.answers = {Answer::Yes};
    m.Btn_DataCreateClick();
    ASSERT_EQ(p.prompts.messages.size(), 1u);
    EXPECT_NE(p.prompts.messages[0].text.find(sj("    行数: 250    列数: 3")), std::string::npos);
    EXPECT_EQ(m.layout().rowsCreated(), 250);
    EXPECT_EQ(m.Lbl_CreateSts.Caption, sj("作成済"));
    EXPECT_EQ(m.Mn_RecCount.Caption, "[ Lines  250 / 250 ]");
    EXPECT_FALSE(m.Btn_DataCreate.Enabled);
    EXPECT_FALSE(m.Btn_CreateStop.Visible);
    EXPECT_TRUE(m.grpPage.Enabled);

    // A cell-size change now asks first, and No changes nothing.
    const int scale = m.cellScale();
    m.btnFontDwClick();
    EXPECT_NE(p.prompts.last().find(sj("セルサイズ変更確認")), std::string::npos);
    EXPECT_EQ(m.cellScale(), scale);
    EXPECT_EQ(m.layout().rowsCreated(), 250);
}

TEST(GridPrint, StoppingACreationReturnsToTheRowsCreatedBefore) {
    Preview p(table(12000, 2));
    TfrmGridPrint_01& m = p.open();
    ASSERT_EQ(m.layout().rowsCreated(), 100);
    const int pages = m.layout().pageCount();
    int calls = 0;
    p.host.pending = [&] {
        ++calls;
        if (calls == 1) {
            EXPECT_TRUE(m.Btn_CreateStop.Visible);
            EXPECT_FALSE(m.grpPage.Enabled);
            m.Btn_CreateStopClick();
        }
    };
    // Create: Yes. Stop: No the first time (creation goes on), then the second stop: Yes.
    p.prompts.answers = {Answer::Yes, Answer::No};
    m.Btn_DataCreateClick();
    EXPECT_EQ(m.layout().rowsCreated(), 12000) << "a declined stop goes on to the end";

    Preview q(table(12000, 2));
    TfrmGridPrint_01& n = q.open();
    q.host.pending = [&] { n.Btn_CreateStopClick(); };
    q.prompts.answers = {Answer::Yes, Answer::Yes};
    n.Btn_DataCreateClick();
    EXPECT_EQ(q.prompts.last(), sj("処理を中断しますか？"));
    EXPECT_EQ(n.layout().rowsCreated(), 100);
    EXPECT_EQ(n.layout().pageCount(), pages);
    EXPECT_EQ(n.Lbl_CreateSts.Caption, sj("作成要→"));
    EXPECT_FALSE(n.Btn_CreateStop.Visible);
    EXPECT_TRUE(n.Btn_DataCreate.Visible);
}

TEST(GridPrint, ClosingDuringACreationStopsWithoutAskingAndGivesTheSettingsBack) {
    Preview p(table(12000, 2));
    TfrmGridPrint_01& m = p.open();
    m.btnGrayDwClick();
    p.host.pending = [&] { m.FormClose(); };
    p.prompts.answers = {Answer::Yes};
    m.Btn_DataCreateClick();
    EXPECT_EQ(p.prompts.messages.size(), 1u) << "only the creation question";
    EXPECT_TRUE(m.Closed);
    EXPECT_EQ(p.request.settings.Cmb_Gray, 191);
}

TEST(GridPrint, SettingsComeInClampedAndGoBackChanged) {
    Preview p(table(5, 2));
    PrintSettings& s = p.request.settings;
    s.Cmb_Gray = 999;
    s.Cmb_Scale = -5;
    s.Cmb_MgnUp = 77;
    s.CellScale = -3;
    s.Cmb_Color = 4;
    s.Cmb_Gray3 = 17;
    s.KaraGyoColor = s.KaraGyoBlack = true;
    TfrmGridPrint_01& m = p.open();
    EXPECT_EQ(m.Cmb_Gray.ItemIndex, 255);
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 0);
    EXPECT_EQ(m.Cmb_MgnUp.ItemIndex, 20);
    EXPECT_EQ(m.cellScale(), 100);
    EXPECT_FALSE(m.Mn_KaraGyoBlack.Checked) << "one of the two empty-row fills";

    m.Cmb_LineKind.ItemIndex = 2;
    m.Cmb_LineKindChange();
    m.Mn_KaraGyoBlackClick();
    EXPECT_FALSE(m.Mn_KaraGyoColor.Checked);
    m.Mn_PrintFileNameClick();
    EXPECT_FALSE(m.Mn_PrintPathName.Checked);
    m.FormClose();
    EXPECT_EQ(s.Cmb_LineKind, 2);
    EXPECT_TRUE(s.KaraGyoBlack);
    EXPECT_FALSE(s.KaraGyoColor);
    EXPECT_TRUE(s.PrintFileName);
    EXPECT_FALSE(s.PrintPathName);
    EXPECT_EQ(s.Cmb_Color, 4) << "carried through";
    EXPECT_EQ(s.Cmb_Gray3, 17);
}

TEST(GridPrint, TextListingKeepsItsCellScaleAndHidesTheTableControls) {
    Preview p(
        [](StringGrid& doc) {
            doc.setColCount(1);
            doc.setRowCount(300);
            for (int r = 0; r < 300; ++r) doc.setCell(0, r, " line " + std::to_string(r));
        },
        PrintMode::TextListing);
    p.request.settings.CellScale = 60;
    TfrmGridPrint_01& m = p.open();
    EXPECT_EQ(m.cellScale(), 100);
    EXPECT_EQ(m.layout().rowsCreated(), 299) << "a listing lays out every line";
    EXPECT_FALSE(m.grpCellRate.Visible);
    EXPECT_FALSE(m.Mn_View2.Visible);
    EXPECT_FALSE(m.Mn_TrimSpace.Enabled);
    EXPECT_EQ(m.Mn_RecCount.Caption, "[ Lines  299 ]");
    m.FormClose();
    EXPECT_EQ(p.request.settings.CellScale, 60);
}

TEST(GridPrint, DisplayScaleFitModeCycleAndImageFallback) {
    Preview p(table(5, 2));
    p.request.settings.Cmb_Scale = 9;
    p.host.boxWidth = 2000; // wide: the height decides
    TfrmGridPrint_01& m = p.open();
    EXPECT_DOUBLE_EQ(m.displayScale(), 0.99 * 600 / m.geometry().pageHeight);

    m.Btn_DispModeClick();
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 10);
    EXPECT_DOUBLE_EQ(m.displayScale(), 1.0);
    m.Btn_DispModeClick();
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 15);
    m.Btn_DispModeClick();
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 9);

    m.Cmb_ResetScl.ItemIndex = 10; // restore = 100 %: the second click skips to fit
    m.Cmb_ResetSclChange();
    m.Cmb_Scale.ItemIndex = 9;
    m.Cmb_ScaleChange();
    m.Btn_DispModeClick();
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 10);
    m.Btn_DispModeClick();
    EXPECT_EQ(m.Cmb_Scale.ItemIndex, 9);

    // 1000 % of an A4 page cannot be made here: a smaller scale is found and named.
    p.host.largestImage = 4000LL * 4000;
    m.Cmb_Scale.ItemIndex = 100;
    m.Cmb_ScaleChange();
    EXPECT_NE(p.prompts.last().find(sj("システム資源が足りない為")), std::string::npos);
    EXPECT_LT(m.Cmb_Scale.ItemIndex, 100);
    EXPECT_LE(static_cast<long long>(m.ImageWidth) * m.ImageHeight, p.host.largestImage);
}

TEST(GridPrint, CellScaleStepsAndTooLargeRecovery) {
    Preview p(table(30, 2));
    TfrmGridPrint_01& m = p.open();
    m.btnFontDwClick();
    EXPECT_EQ(m.cellFontHeight(), 15);
    EXPECT_EQ(m.Lbl_CellScale.Caption, std::to_string(m.cellScale()) + " %");
    m.btnFontUpClick();
    EXPECT_EQ(m.cellFontHeight(), 16);

    // One row taller than any page (200 lines of text): the layout cannot place it.
    Preview t(table(3, 1, [](StringGrid& g) { g.setCell(2, 2, std::string(1600, 'x')); }));
    EXPECT_TRUE(t.open().layout().tooLarge());
    EXPECT_NE(t.prompts.last().find(sj("用紙に描画できない大きなセル")), std::string::npos);
}

TEST(GridPrint, WideColumnTooLargeIsOfferedTheSmallestScale) {
    // The fixed columns alone nearly fill A4's width at 100 %.
    Preview p(table(3, 1, [](StringGrid& g) { g.setColWidth(0, 700); }));
    TfrmGridPrint_01& m = p.open();
    ASSERT_TRUE(p.prompts.messages.empty()) << p.prompts.last();
    const int scale = m.cellScale();
    p.prompts.answers = {Answer::Yes};
    for (int i = 0; i < 40 && m.cellScale() == scale; ++i) m.btnFontUpClick();
    // Growing the cells made the fixed columns wider than the page: back, then to 10 %.
    EXPECT_NE(p.prompts.last().find(sj("セルの拡大率を最小値に戻しますか？")), std::string::npos);
    EXPECT_EQ(m.cellScale(), 10);
    EXPECT_FALSE(m.layout().tooLarge());
}

TEST(GridPrint, PageFieldsPagingAndDragDirection) {
    Preview p(table(400, 2));
    p.request.initialRowLimit = 0;
    TfrmGridPrint_01& m = p.open();
    const int pages = m.layout().pageCount();
    ASSERT_GE(pages, 3);
    m.btnPageUpClick();
    EXPECT_EQ(m.CurrentPage, 2);
    EXPECT_EQ(m.edtPageMin, " 2");
    m.btnPageDwClick();
    m.btnPageDwClick();
    EXPECT_EQ(m.CurrentPage, 1) << "never below 1";

    m.edtPageMin = " 0";
    m.edtPageMinExit();
    EXPECT_EQ(m.edtPageMin, " 1");
    m.edtPageMax = "9999999";
    m.edtPageMaxExit();
    EXPECT_EQ(m.edtPageMax, " " + std::to_string(pages));
    m.edtPageMin = "3";
    m.edtPageMinExit();
    EXPECT_EQ(m.CurrentPage, 3);
    EXPECT_EQ(m.grpPage.Caption, " PAGE  3 / " + std::to_string(pages) + " ");
    EXPECT_FALSE(TfrmGridPrint_01::PageFieldAccepts('a'));
    EXPECT_TRUE(TfrmGridPrint_01::PageFieldAccepts('7'));

    // Dragging to the left pages backwards on a double-click; the scroll follows the drag.
    p.host.x = p.host.y = 500;
    m.imgPrnMouseDown(300, 300);
    m.imgPrnMouseMove(200, 250, true);
    EXPECT_EQ(p.host.x, 600);
    EXPECT_EQ(p.host.y, 550);
    m.imgPrnMouseUp();
    m.imgPrnDblClick();
    EXPECT_EQ(m.CurrentPage, 2);
    m.imgPrnMouseDown(100, 100);
    m.imgPrnMouseMove(200, 100, true);
    m.imgPrnMouseUp();
    m.imgPrnDblClick();
    EXPECT_EQ(m.CurrentPage, 3);
}

TEST(GridPrint, OnePageModeFitsTheWidthAndLocksTheCellScale) {
    Preview p(table(20, 30)); // 30 columns of 60: wider than A4
    TfrmGridPrint_01& m = p.open();
    m.Cmb_CellWay.ItemIndex = 1;
    m.Cmb_CellWayChange();
    EXPECT_LT(m.geometry().onePageFactor, 1.0L);
    EXPECT_EQ(m.Lbl_CellScale.Caption, "");
    EXPECT_FALSE(m.btnFontDw.Enabled);
    for (int c = 0; c < m.copy().colCount(); ++c)
        EXPECT_EQ(m.layout().placement(c, 5).page, m.layout().placement(0, 5).page) << c;
    m.Cmb_CellWay.ItemIndex = 0;
    m.Cmb_CellWayChange();
    EXPECT_TRUE(m.btnFontDw.Enabled);
}

TEST(GridPrint, NumberOptionsHideTheNumberRowAndColumn) {
    Preview p(table(10, 2));
    TfrmGridPrint_01& m = p.open();
    EXPECT_GT(m.copy().rowHeight(0), 0);
    EXPECT_GT(m.copy().colWidth(0), 0);
    m.Mn_PrintRowNoClick();
    EXPECT_EQ(m.copy().colWidth(0), 0);
    m.Mn_PrintColNoClick();
    EXPECT_EQ(m.copy().rowHeight(0), 0);
    m.Mn_PrintRowNoClick();
    EXPECT_EQ(m.copy().colWidth(0), 60 + 8) << "the source width and a letter";
}

TEST(GridPrint, BadTablesOpenWithoutHarm) {
    Preview a([](StringGrid&) {});
    EXPECT_GE(a.open().layout().pageCount(), 1);

    // 100,000 bytes: too tall for a page unless the lines per cell are limited.
    auto huge = table(2, 1, [](StringGrid& g) { g.setCell(2, 1, std::string(100000, 'x')); });
    Preview b(huge);
    b.open();
    EXPECT_NE(b.prompts.last().find(sj("用紙に描画できない")), std::string::npos);
    Preview b3(huge);
    b3.request.maxLinesPerCell = 3;
    EXPECT_FALSE(b3.open().layout().tooLarge()) << b3.prompts.last();

    Preview c(table(2, 10000));
    EXPECT_GE(c.open().layout().pageCount(), 1);

    Preview d(table(3, 3, [](StringGrid& g) {
        for (int col = 0; col < g.colCount(); ++col) g.setColWidth(col, 0);
    }));
    d.open();
    EXPECT_TRUE(d.prompts.messages.empty() ||
                d.prompts.last().find(sj("用紙に描画できない")) != std::string::npos);
}

TEST(GridPrint, SaveMenuWritesTheCsvAndHtmlWhereTheDialogsSay) {
    test::TempDir dir;
    Preview p(table(3, 2, [](StringGrid& g) { g.setCell(2, 1, "a,\"b\""); }));
    p.request.dataFolder = dir.path().string();
    TfrmGridPrint_01& m = p.open();
    EXPECT_TRUE(m.Mn_SaveCsv.Enabled);
    EXPECT_TRUE(m.Mn_SaveHtmlMain.Enabled);

    // Cancelled: nothing written, nothing remembered.
    m.Mn_SaveCsvClick();
    ASSERT_EQ(p.prompts.dialogs.size(), 1u);
    const FileDialogRequest& first = p.prompts.dialogs[0];
    EXPECT_EQ(first.title, sj("印刷データをＣＳＶ形式で保存します。"));
    EXPECT_EQ(first.fileName, (dir / "*.csv").string());
    EXPECT_EQ(first.filter.substr(0, 22), "(*.csv)|*.csv|(*.csv)|");
    EXPECT_TRUE(first.askOverwrite);
    EXPECT_TRUE(p.request.settings.SavePath.empty());

    const std::string csv = (dir / "t.csv").string();
    p.prompts.fileNames = {csv};
    m.Mn_SaveCsvClick();
    EXPECT_EQ(m.printDataCsv(), test::readBytes(csv));
    EXPECT_NE(test::readBytes(csv).find("\"a,\"\"b\"\"\""), std::string::npos);

    // The first HTML dialog starts beside the CSV.
    const std::string html = (dir / "t.html").string();
    p.prompts.fileNames = {html};
    m.Mn_SaveHtmlClick();
    EXPECT_EQ(p.prompts.dialogs.back().fileName, (dir / "*.html").string());
    EXPECT_EQ(test::readBytes(html), m.printDataHtml());
    EXPECT_TRUE(p.prompts.messages.empty()) << p.prompts.last();

    m.FormClose();
    EXPECT_EQ(p.request.settings.SavePath, csv);
    EXPECT_EQ(p.request.settings.HtmlPath, html);
}

TEST(GridPrint, BrowserHtmlGoesToTheDataFolderAndFailuresAreTold) {
    test::TempDir dir;
    Preview p(table(3, 2));
    p.request.dataFolder = dir.path().string();
    TfrmGridPrint_01& m = p.open();
    m.Mn_ExecHtmlClick();
    EXPECT_EQ(p.host.opened, (dir / "kolumbra_Temp.Html").string());
    EXPECT_EQ(test::readBytes(p.host.opened), m.printDataHtml());
    EXPECT_TRUE(p.prompts.messages.empty());

    p.host.browserStarts = false;
    m.Mn_ExecHtmlClick();
    EXPECT_EQ(p.prompts.last(), sj("ブラウザの起動を失敗しました。"));

    // A file that cannot be written is said so, and the old one stays.
    test::writeBytes(dir / "old.csv", "old");
    p.prompts.fileNames = {(dir / "old.csv").string()};
    {
        test::FullDisk disk(5);
        m.Mn_SaveCsvClick();
    }
    EXPECT_EQ(p.prompts.last(), sj("出力ファイルの作成に失敗しました。"));
    EXPECT_EQ(test::readBytes(dir / "old.csv"), "old");
}

} // namespace
} // namespace kol::print

namespace kol::print {
namespace {

// A job that counts the pages sent to it.
struct CountingJob : PrintJob {
    RecordingCanvas drawn;
    test::FixedPitchMetrics fixedPitch;
    int* pages;
    bool* finished;
    CountingJob(int* p, bool* f) : pages(p), finished(f) { *pages = 1; }
    Canvas& canvas() override { return drawn; }
    const FontMetrics& metrics() const override { return fixedPitch; }
    bool newPage() override {
        ++*pages;
        return true;
    }
    bool finish(std::string&) override { return *finished = true; }
};

struct Printed : Preview {
    int pages = 0;
    bool finished = false;
    std::vector<std::string> texts; // of the last page's canvas
    explicit Printed(const GridBuilder& build) : Preview(build) {
        printer.setJobFactory([this](const std::string&, std::string&) {
            return std::make_unique<CountingJob>(&pages, &finished);
        });
    }
};

TEST(GridPrintPrinting, FieldsAreExchangedAndTheLastPageIsNamed) {
    Printed p(table(400, 2));
    p.request.initialRowLimit = 0;
    TfrmGridPrint_01& m = p.open();
    const int count = m.layout().pageCount();
    ASSERT_GE(count, 5);
    m.edtPageMin = " 5";
    m.edtPageMax = " 2";
    p.prompts.answers = {Answer::Ok};
    m.Btn_PrintExecClick();
    EXPECT_EQ(p.pages, 4) << "pages 2..5";
    EXPECT_TRUE(p.finished);
    EXPECT_EQ(p.prompts.messages[0].text.find(sj("印刷を行います。\r\r    Page  2 ～  5\r\r")), 0u);
    EXPECT_EQ(p.prompts.messages[0].text.find(sj("(最終)")), std::string::npos);
    EXPECT_EQ(m.edtPageMin, " 2") << "the fields as they were printed";
    EXPECT_EQ(m.CurrentPage, 2);
    EXPECT_FALSE(m.Printing);
    EXPECT_FALSE(m.Btn_PrintStop.Visible);

    m.edtPageMin = " 1";
    m.edtPageMax = " " + std::to_string(count);
    p.prompts.answers = {Answer::Cancel};
    p.pages = 0;
    m.Btn_PrintExecClick();
    EXPECT_NE(p.prompts.last().find(sj(" (最終)")), std::string::npos);
    EXPECT_EQ(p.pages, 0) << "cancelled";
}

TEST(GridPrintPrinting, PartialDataIsAskedAboutAndAStopEndsAfterThePagesSent) {
    Printed p(table(400, 2));
    TfrmGridPrint_01& m = p.open();
    ASSERT_LT(m.layout().rowsCreated(), 400);
    m.Btn_PrintExecClick(); // No to the question about the rows not created
    EXPECT_NE(p.prompts.last().find(sj("【 印刷データ未作成 】")), std::string::npos);
    EXPECT_EQ(p.pages, 0);

    m.edtPageMax = " " + std::to_string(m.layout().pageCount());
    int step = 0;
    p.host.pending = [&] {
        if (++step == 2) m.Btn_PrintStopClick();
    };
    p.prompts.answers = {Answer::Yes, Answer::Ok, Answer::Yes};
    m.Btn_PrintExecClick();
    EXPECT_EQ(p.prompts.last(), sj("処理を中断しますか？"));
    EXPECT_EQ(p.pages, 1) << "page 1 went out; no blank sheet follows the stop";
    EXPECT_TRUE(p.finished);
}

TEST(GridPrintPrinting, TooLargePrintsNothing) {
    Printed p(table(3, 1, [](StringGrid& g) { g.setCell(2, 2, std::string(1600, 'x')); }));
    TfrmGridPrint_01& m = p.open();
    ASSERT_TRUE(m.layout().tooLarge());
    p.prompts.answers = {Answer::Yes, Answer::Ok};
    m.Btn_PrintExecClick();
    EXPECT_EQ(p.pages, 0);
    EXPECT_NE(p.prompts.last().find(sj("用紙に描画できない大きなセル")), std::string::npos);
}

} // namespace
} // namespace kol::print

namespace kol::print {
namespace {

TEST(PdfPrintJob, WritesTheNamedFileAndACancelWritesNothing) {
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    BuiltInPrinter printer;
    std::string error;
    EXPECT_EQ(startPdfJob(prompts, printer, error), nullptr);
    EXPECT_TRUE(error.empty()) << "a cancel is no failure";

    prompts.fileNames = {(dir / "out").string()};
    std::unique_ptr<PrintJob> job = startPdfJob(prompts, printer, error);
    ASSERT_NE(job, nullptr) << error;
    TextBox t;
    t.box = {100, 100, 2000, 200};
    t.text = sj("印刷");
    t.font.height = 100;
    job->canvas().text(t);
    ASSERT_TRUE(job->newPage());
    job->canvas().text(t);
    ASSERT_TRUE(job->finish(error)) << error;
    std::ifstream in(dir / "out.pdf", std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

} // namespace
} // namespace kol::print
