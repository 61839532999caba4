// The help documents against the program: every caption they quote in 「」 is one the windows
// really show, every command a user can reach is quoted somewhere, and the files are Shift-JIS
// with CR LF line ends, as the viewer reads them, copied beside the program in the build tree.
#include "app/csv_excel.h"
#include "app/sort_link.h"
#include "print/grid_print_01.h"
#include "print/headless_print_host.h"
#include "print/printer.h"
#include "record/record_editor.h"
#include "search/search_fixture.h"
#include "sort/csv_func.h"
#include "support/fakes.h"
#include "support/recording_canvas.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "viewer/browse.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace kol {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDocuments = {
    "Doc_Kolumbra_Begin.Txt",  "Doc_Kolumbra_Guide1.Txt",  "Doc_Kolumbra_Guide2.Txt",
    "Doc_Kolumbra_Guide3.Txt", "Doc_Kolumbra_History.Txt",
};

fs::path sourceFolder() {
    return fs::path(KOLUMBRA_TESTDATA).parent_path().parent_path() / "data" / "help";
}

// A caption as the user reads it: UTF-8, without the accelerator marker " (&X)", trimmed.
std::string shown(const std::string& cp932Caption) {
    static const std::regex accelerator(R"( *\(&[A-Za-z]\))");
    std::string text = std::regex_replace(cp932::toUtf8(cp932Caption), accelerator, "");
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Every caption of a menu item, button, check box or radio button a user can reach, with the
// window it belongs to. Left out: items that stay hidden (the workbook item of File, the range
// output, the environment menu, the search window's row buttons and the record editor's
// previous/next buttons, whose scroll bar is what the user sees) and captions that only show
// a state (the undo item's count, the preview's line counter).
class ProgramCaptions {
public:
    ProgramCaptions() {
        mainWindow();
        popups();
        searchWindow();
        sortWindow();
        printPreview();
        sheetChooser();
        viewer();
    }
    const std::map<std::string, std::string>& all() const { return windowOf_; }

private:
    template <typename... Controls> void add(const char* window, const Controls&... controls) {
        (windowOf_.emplace(shown(controls.Caption), window), ...);
    }

    void mainWindow() {
        TFm_Kolumbra01& m = main_.model;
        add("main", m.Btn_OpenCsv, m.Btn_Excel, m.Btn_OpenBoard, m.Btn_Save, m.Btn_VertGrid,
            m.Btn_Select, m.Btn_Sort, m.Btn_ViewCol, m.Btn_ReFold, m.Chk_MoveRow, m.Chk_MoveCol,
            m.Chk_RowSize);
        add("main menu", m.Mn_FileOpen, m.Mn_BardOpen, m.Mn_FileSave, m.Mn_InitClear, m.Mn_Exit,
            m.Mn_Undo, m.Mn_GridPrint, m.Mn_MarkPrint, m.Mn_MarkSave);
        add("View", m.Mn_FixedCenter, m.Mn_DataCenter, m.Mn_TrimSpace, m.Mn_DateEdit,
            m.Mn_BreakColor, m.Mn_KaraGyoColor, m.Mn_KaraGyoBlack, m.Mn_FixedRowSEQ);
        add("Confirm", m.Mn_ConfPaste, m.Mn_ConfClear, m.Mn_ConfInsert, m.Mn_ConfCopy,
            m.Mn_ConfMove, m.Mn_ConfDelete);
        add("Help", m.Mn_Help_Kolumbra, m.Mn_Help_Begin, m.Mn_Help_Guide1, m.Mn_Help_Guide2,
            m.Mn_Help_Guide3, m.Mn_Help_ColName, m.Mn_Help_History);
        const RecordEditor& r = *m.Record;
        add("record editor", r.Btn_VertGridEnd, r.Btn_VertSelect, r.Mn2_Exit, r.Mn2_Printx,
            m.Mn2_Undo, r.Pm2_Exit, r.pm2_StrConvert, r.pm2_StrCvtHanToZen, r.pm2_StrCvtZenToHan,
            r.pm2_StrCvtHiraToKata, r.pm2_StrCvtKataToHira);
    }

    void popups() {
        test::FakeGridView view{main_.model.Grid, main_.model.View};
        GridInput in{main_.model, view};
        add("cell popup", in.Pm_RangeClip, in.Pm_RangeClipPaste, in.Pm_RangeClipClr,
            in.Pm_RangeClear, in.Pm_StrConvert, in.Pm_StrCvtHanToZen, in.Pm_StrCvtZenToHan,
            in.Pm_StrCvtHiraToKata, in.Pm_StrCvtKataToHira, in.Pm_RangeRowInsert2,
            in.Pm_RangeRowCopy2, in.Pm_RangeRowDelete2, in.Pm_RangePrint, in.Pm_RangePrintCell,
            in.Pm_RangePrintRow, in.Pm_RangePrintCol, in.Pm_DispVertGrid);
        add("row popup", in.Pm_RowClipGroup, in.Pm_RowClip, in.Pm_RowClipPaste, in.Pm_RowClipMove,
            in.Pm_RowClipCopy, in.Pm_RowClipClr, in.Pm_RowInsert, in.Pm_RowCopy, in.Pm_RowDelete,
            in.Pm_RowImport, in.Pm_RowInsertFile, in.Pm_RowInsertBoard, in.Pm_RowPrint,
            in.Pm_RowMark, in.Pm_RowMarkSet, in.Pm_RowMarkClear, in.Pm_RowMarkClearAll,
            in.Pm_RowMarkPrint, in.Pm_RowMarkSave, in.Pm_RowMin);
        add("column popup", in.Pm_ColClipGroup, in.Pm_ColClip, in.Pm_ColClipPaste,
            in.Pm_ColClipMove, in.Pm_ColClipCopy, in.Pm_ColClipClr, in.Pm_ColInsert, in.Pm_ColCopy,
            in.Pm_ColDelete, in.Pm_ColView, in.Pm_ColViewON, in.Pm_ColViewOFF, in.Pm_ColPrint,
            in.Pm_ColMark, in.Pm_ColMarkSet, in.Pm_ColMarkClear, in.Pm_ColMarkClearAll,
            in.Pm_ColMarkPrint, in.Pm_ColMarkSave, in.Pm_ColMin);
    }

    void searchWindow() {
        test::SearchFixture s;
        TFm_Kolumbra02& w = s.w;
        add("search", w.Btn_Exit, w.Btn_Clear, w.btnGetClip, w.Btn_Exec, w.Btn_Stop, w.btnCopyExec,
            w.Btn_Prior, w.Btn_Next, w.Rdo_AND, w.Rdo_OR, w.Mn_FileSave, w.Mn_Exit, w.Mn_Print,
            w.Mn_FindHistoryClear);
    }

    void sortWindow() {
        struct NoHost : CsvFuncHost {
            void setBusy(bool) override {}
            void processPending() override {}
            void hideWindow() override {}
        } host;
        MainSortLink link{main_.model};
        TFm_CsvFunc f{main_.prompts, host, main_.model.Doc, link};
        add("sort", f.Btn_Sort, f.Btn_SortEnd, f.Btn_Stop, f.Btn_PrintAll, f.Btn_PrintOff,
            f.Btn_PrintEnd, f.Chk_RowSort, f.Chk_ColSort, f.Mn_Exit);
    }

    void printPreview() {
        test::FixedPitchMetrics metrics;
        print::HeadlessPrintHost host(metrics);
        print::BuiltInPrinter printer;
        StringGrid grid;
        print::PrintRequest request;
        request.source = &grid;
        print::TfrmGridPrint_01 p(main_.prompts, host, printer, request);
        add("print preview", p.Btn_DataCreate, p.Btn_CreateStop, p.btnFontDw, p.btnFontUp,
            p.btnGrayDw, p.btnGrayUp, p.btnPageDw, p.btnPageUp, p.Btn_DispMode, p.Btn_PrtSet,
            p.Btn_PrintExec, p.Btn_PrintStop, p.mnExit1, p.Mn_SaveCsv, p.Mn_SaveHtmlMain,
            p.Mn_ExecHtml, p.Mn_SaveHtml, p.Mn_FixedCenter, p.Mn_DataCenter, p.Mn_TrimSpace,
            p.Mn_DateEdit, p.Mn_BreakColor, p.Mn_KaraGyoColor, p.Mn_KaraGyoBlack, p.Mn_PrintRowNo,
            p.Mn_PrintColNo, p.Mn_PrintPathName, p.Mn_PrintFileName, p.Mn_PrintDate,
            p.Mn_PrintPage);
    }

    void viewer() {
        struct NoWindow : BrowseHost {
            void setBusy(bool) override {}
            void openPrintPreview(print::PrintRequest&) override {}
            void setPaneText(const std::string&) override {}
            void setPaneVisible(bool) override {}
            void focusPane() override {}
            void showWindow() override {}
            void hideWindow() override {}
            void closeWindow() override {}
            void mirror() override {}
            WideGeometry wideGeometry() override { return {}; }
            void setWindowWidth(int) override {}
            bool openWithDesktop(const std::string&) override { return false; }
            bool startProgram(const std::string&, const std::string&) override { return false; }
        } window;
        TFm_Browse b(main_.prompts, window, "kolumbra");
        add("viewer", b.Btn_Wide, b.Btn_Html, b.Btn_Editor, b.Mn_Exit, b.Mn_Print);
    }

    void sheetChooser() {
        struct NoBusy : BusyIndicator {
            void setBusy(bool) override {}
        } busy;
        const std::string path = std::string(KOLUMBRA_TESTDATA) + "/excel/date.xlsx";
        std::unique_ptr<workbook::Workbook> book;
        ASSERT_TRUE(workbook::openWorkbook(path, book).ok());
        TCsvFileInf target;
        TfrmCsvExcel c(busy, TfrmCsvExcel::Mode::Read, path, *book, target);
        add("sheet chooser", c.btnOK, c.btnClose, c.mnClose);
    }

    test::MainFixture main_;
    std::map<std::string, std::string> windowOf_; // caption → the window that shows it
};

// Every text in 「」, line by line (a quote never spans lines). The empty pair is the
// documents' own explanation of the convention.
std::vector<std::string> quotedCaptions(const std::string& utf8, std::vector<int>& lines) {
    static const std::string open = "「", close = "」";
    std::vector<std::string> quotes;
    int line = 1;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos) end = utf8.size();
        const std::string text = utf8.substr(start, end - start);
        for (std::size_t at = text.find(open); at != std::string::npos;) {
            const std::size_t from = at + open.size();
            const std::size_t to = text.find(close, from);
            if (to == std::string::npos) {
                quotes.push_back(text.substr(from)); // unclosed: reported as not a caption
                lines.push_back(line);
                break;
            }
            if (to > from) {
                quotes.push_back(text.substr(from, to - from));
                lines.push_back(line);
            }
            at = text.find(open, to + close.size());
        }
        start = end + 1;
        ++line;
    }
    return quotes;
}

TEST(HelpDocuments, AreShiftJisWithCrLfLineEnds) {
    for (const std::string& name : kDocuments) {
        SCOPED_TRACE(name);
        const std::string bytes = test::readBytes(sourceFolder() / name);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        int line = 1;
        for (std::size_t i = 0; i < bytes.size();) {
            const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + i;
            std::size_t length = 0;
            const char32_t ch = cp932::decodeChar(p, bytes.size() - i, length);
            if (ch == U'\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "line " << line;
            } else if (ch == U'\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line " << line;
                ++line;
            } else {
                EXPECT_NE(ch, cp932::kReplacement) << "not Shift-JIS at line " << line;
                EXPECT_GE(ch, U' ') << "control character at line " << line;
            }
            i += length;
        }
    }
}

TEST(HelpDocuments, QuoteOnlyCaptionsTheProgramShows) {
    const ProgramCaptions program;
    ASSERT_GT(program.all().size(), 100u);
    for (const std::string& name : kDocuments) {
        std::vector<int> lines;
        const std::string text = cp932::toUtf8(test::readBytes(sourceFolder() / name));
        const std::vector<std::string> quotes = quotedCaptions(text, lines);
        for (std::size_t i = 0; i < quotes.size(); ++i)
            EXPECT_TRUE(program.all().count(quotes[i]))
                << name << " line " << lines[i] << " quotes 「" << quotes[i]
                << "」, which no window shows";
    }
}

TEST(HelpDocuments, NameEveryCommandAUserCanReach) {
    const ProgramCaptions program;
    std::set<std::string> quoted;
    for (const std::string& name : kDocuments) {
        std::vector<int> lines;
        for (const std::string& q :
             quotedCaptions(cp932::toUtf8(test::readBytes(sourceFolder() / name)), lines))
            quoted.insert(q);
    }
    for (const auto& [caption, window] : program.all())
        EXPECT_TRUE(quoted.count(caption))
            << "「" << caption << "」 (" << window << ") is in no help document";
}

TEST(HelpDocuments, AreCopiedBesideTheProgramInTheBuildTree) {
    const fs::path buildTree = fs::path(KOLUMBRA_CLI).parent_path();
    for (const std::string& name : kDocuments) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(buildTree / name));
        EXPECT_EQ(test::readBytes(buildTree / name), test::readBytes(sourceFolder() / name));
    }
}

} // namespace
} // namespace kol
