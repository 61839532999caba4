#include "search/kolumbra02.h"

#include "platform/placement.h"
#include "search/table_search.h"
#include "table/save_rows.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace kol {

namespace {
// A fast search repaints its progress no more often than this; a slow one every 500 rows.
constexpr std::int64_t kProgressMs = 40;
constexpr std::size_t kMaxEntries = 101;
const char* kGuide = "　検索結果はダブルクリックでベースウィンドウ側と連動します。";

std::string grouped(long long n) {
    return GroupThousands(std::to_string(n));
}

// A history entry and the settings line it becomes are one line: line breaks become blanks.
std::string oneLine(std::string text) {
    for (char& ch : text)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return text;
}
} // namespace

TFm_Kolumbra02::TFm_Kolumbra02(Prompts& prompts, Clipboard& clipboard, Clock& clock,
                               SearchHost& host, SearchMainLink& link, TableDocument& source,
                               GridViewState& mainView, std::string programDir)
    : prompts_(prompts), clipboard_(clipboard), clock_(clock), host_(host), link_(link),
      source_(source), mainView_(mainView), programDir_(std::move(programDir)) {
    Caption = sj("Kolumbra 検索");
    caption(Btn_Exit, "終了");
    caption(Btn_Clear, "Clr");
    caption(btnGetClip, "Copy");
    caption(Btn_Exec, "実行");
    caption(Btn_Stop, "中断");
    Btn_Stop.Bold = true;
    caption(btnCopyExec, "検索");
    caption(Btn_Prior, "前");
    caption(Btn_Next, "次");
    caption(Btn_RowPrior, "前行");
    caption(Btn_RowNext, "次行");
    Rdo_AND.Caption = "AND";
    Rdo_OR.Caption = "OR";
    Lab_Guide.Caption = sj(kGuide);
    caption(Mn_FileSave, "1. CSVファイルとして保存する (&S)");
    caption(Mn_Exit, "2. 終了(&X)");
    caption(Mn_Print, "1. 印刷する");
    caption(Mn_FindHistoryClear, "1. 検索履歴クリアー");
    Mn_Print.Enabled = false; // until a search has finished
    shrinkResults();
}

void TFm_Kolumbra02::FormCreate(int screenWidth, int screenHeight) {
    WindowRect r = SizeToScreen(WindowRect{}, 0.5, 2.0 / 3.0, screenWidth, screenHeight);
    Left = r.left;
    Top = r.top;
    Width = r.width;
    Height = r.height;
    Rdo_AND.Checked = true;
    Rdo_OR.Checked = false;
    Btn_Stop.Visible = false;
    Cmb_FindWord.Items.clear();
    Cmb_FindWord.ItemIndex = -1;
    Edt_Word.clear();
    Running = false;
}

void TFm_Kolumbra02::FormShow() {
    if (FirstShow) {
        ResetResults(true);
        FirstShow = false;
    }
    host_.focusWord();
}

void TFm_Kolumbra02::FormClose() {
    Running = false; // seen by a running search at its next check
    link_.focusMainGrid();
}

void TFm_Kolumbra02::Mn_ExitClick() {
    host_.hideWindow();
}

void TFm_Kolumbra02::shrinkResults() {
    for (StringGrid* g : {&Grid, &FlgGrid}) {
        g->clearCells();
        g->setFixedRows(0);
        g->setFixedCols(0);
        g->setColCount(1);
        g->setRowCount(1);
    }
    View.topRow = View.leftCol = 0;
    View.setCurrent(0, 0);
}

void TFm_Kolumbra02::ResetResults(bool clearWord) {
    // The table changed under a running search (nothing lets it, but then its rows are stale).
    if (Running) {
        resetWhileRunning_ = true;
        Running = false;
    }
    if (clearWord) Edt_Word.clear();
    Lab_Records.Caption.clear();
    SelCol = SelRow = -1;
    for (Control* c : {static_cast<Control*>(&Btn_Prior), static_cast<Control*>(&Btn_Next),
                       static_cast<Control*>(&Btn_RowPrior), static_cast<Control*>(&Btn_RowNext),
                       static_cast<Control*>(&Mn_Print)})
        c->Enabled = false;
    GridVisible = false;
    shrinkResults();
}

// ---- history ----------------------------------------------------------------------------------

std::string TFm_Kolumbra02::HistoryText(const std::string& entry) {
    const std::size_t dot = entry.find('.');
    return Trim(dot == std::string::npos ? std::string_view(entry)
                                         : std::string_view(entry).substr(dot + 1));
}

void TFm_Kolumbra02::LoadHistory(std::span<const std::string> slots) {
    Cmb_FindWord.Items.clear();
    Cmb_FindWord.ItemIndex = -1;
    // An empty or damaged slot is passed over; the entries after it stay.
    for (const std::string& slot : slots) {
        std::string text = Trim(oneLine(slot));
        if (text.empty() || Cmb_FindWord.Items.size() >= kMaxEntries) continue;
        Cmb_FindWord.Items.push_back(" " + std::to_string(Cmb_FindWord.Items.size() + 1) + ". " +
                                     text);
    }
}

void TFm_Kolumbra02::GatherHistory(std::span<std::string> slots) const {
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] =
            i < Cmb_FindWord.Items.size() ? HistoryText(Cmb_FindWord.Items[i]) : std::string();
}

void TFm_Kolumbra02::AddToHistory(const std::string& text) {
    const std::string t = Trim(oneLine(text));
    if (t.empty()) return;
    std::vector<std::string>& items = Cmb_FindWord.Items;
    for (std::size_t i = items.size(); i-- > 0;)
        if (HistoryText(items[i]) == t) items.erase(items.begin() + static_cast<long>(i));
    if (items.size() > kMaxEntries - 1) items.pop_back();
    items.insert(items.begin(), "1." + t);
    for (std::size_t k = 0; k < items.size(); ++k)
        items[k] = " " + std::to_string(k + 1) + ". " + HistoryText(items[k]);
    Cmb_FindWord.ItemIndex = -1;
}

void TFm_Kolumbra02::Mn_FindHistoryClearClick() {
    if (prompts_.ask(sj(" 検索履歴をクリアーします。\r\n\r\nよろしいですか？"), Buttons::YesNo) !=
        Answer::Yes)
        return;
    Cmb_FindWord.Items.clear();
    Cmb_FindWord.ItemIndex = -1;
}

// ---- the words ---------------------------------------------------------------------------------

void TFm_Kolumbra02::Rdo_ANDClick() {
    host_.focusWord();
}

void TFm_Kolumbra02::Cmb_FindWordClick() {
    if (Cmb_FindWord.ItemIndex >= 0 &&
        Cmb_FindWord.ItemIndex < static_cast<int>(Cmb_FindWord.Items.size()))
        Edt_Word =
            HistoryText(Cmb_FindWord.Items[static_cast<std::size_t>(Cmb_FindWord.ItemIndex)]);
    host_.focusWord();
}

void TFm_Kolumbra02::Btn_ClearClick() {
    Edt_Word.clear();
    host_.focusWord();
}

void TFm_Kolumbra02::btnGetClipClick() {
    Edt_Word = oneLine(clipboard_.hasText() ? clipboard_.text() : std::string());
    host_.focusWord();
}

void TFm_Kolumbra02::btnCopyExecClick() {
    btnGetClipClick();
    Btn_ExecClick();
}

// ---- the search ---------------------------------------------------------------------------------

void TFm_Kolumbra02::setSearching(bool on) {
    Running = on;
    Btn_Stop.Visible = on;
    // While a search runs only the stop button and the window's close take effect.
    for (Control* c :
         {static_cast<Control*>(&Btn_Exec), static_cast<Control*>(&Btn_Exit),
          static_cast<Control*>(&Btn_Clear), static_cast<Control*>(&btnGetClip),
          static_cast<Control*>(&btnCopyExec), static_cast<Control*>(&Cmb_FindWord),
          static_cast<Control*>(&Mn_FileSave), static_cast<Control*>(&Mn_FindHistoryClear),
          static_cast<Control*>(&Mn_Print)})
        c->Enabled = !on;
    if (on)
        for (Control* c :
             {static_cast<Control*>(&Btn_Prior), static_cast<Control*>(&Btn_Next),
              static_cast<Control*>(&Btn_RowPrior), static_cast<Control*>(&Btn_RowNext)})
            c->Enabled = false;
}

void TFm_Kolumbra02::Btn_ExecClick() {
    if (Running) return; // Enter in the word field while a search runs
    if (host_.isShowing()) {
        AddToHistory(Edt_Word);
        host_.focusWord();
    }
    setSearching(true);
    resetWhileRunning_ = false;
    SavedGuide = Lab_Guide.Caption;
    GuideColour = colour::Blue;
    Lab_Records.Caption.clear();
    GridVisible = false;

    const StringGrid& source = source_.Grid;
    RowMatcher matcher(SplitWords(Edt_Word), Rdo_OR.Checked ? SearchMode::Or : SearchMode::And);
    shapeResults(source, Grid, FlgGrid);
    std::int64_t shown = clock_.nowMs();
    const std::string total = grouped(source.rowCount());
    SearchHits hits = searchTable(source, matcher, [&](int row, long long found) {
        const std::int64_t now = clock_.nowMs();
        if (now - shown >= kProgressMs) {
            Lab_Guide.Caption = " [ " + grouped(row) + " / " + total + " ]";
            Lab_Records.Caption = grouped(found) + " ";
            host_.processPending();
            shown = clock_.nowMs();
        }
        return Running;
    });
    fillResults(source, hits, Grid, FlgGrid);

    View.topRow = Grid.fixedRows();
    View.leftCol = Grid.fixedCols();
    View.setCurrent(Grid.fixedCols(), Grid.fixedRows());
    SelCol = View.col;
    SelRow = View.row;
    ShowResultCell = true;
    Lab_Records.Caption = grouped(static_cast<long long>(hits.size())) + " ";
    GridVisible = true;
    host_.focusResults();
    setSearching(false);
    Lab_Guide.Caption = SavedGuide;
    GuideColour = colour::Black;
    if (resetWhileRunning_) {
        ResetResults(false);
        return;
    }
    if (hits.size() > 0) {
        for (Button* b : {&Btn_Prior, &Btn_Next, &Btn_RowPrior, &Btn_RowNext}) b->Enabled = true;
        firstStep_ = true;
        Btn_NextClick();
    }
    host_.focusWord();
}

void TFm_Kolumbra02::Btn_StopClick() {
    Running = false;
}

// ---- results and the main grid ------------------------------------------------------------------

void TFm_Kolumbra02::GridSelectCell(int c, int r) {
    SelCol = c;
    SelRow = r;
}

bool TFm_Kolumbra02::GridCanEdit(int c, int r) const {
    return !Running && GridVisible && c >= Grid.fixedCols() && c < Grid.colCount() &&
           r >= Grid.fixedRows() && r < Grid.rowCount();
}

// An edit changes what is saved from the results, never the main table.
void TFm_Kolumbra02::GridSetEditText(int c, int r, const std::string& text) {
    if (GridCanEdit(c, r)) Grid.setCell(c, r, text);
}

void TFm_Kolumbra02::GridDblClick() {
    const int c = SelCol, r = SelRow;
    if (c < Grid.fixedCols() || c >= Grid.colCount() || r < Grid.fixedRows() ||
        r >= Grid.rowCount())
        return;
    const std::string index(FlgGrid.cell(0, r));
    if (index.empty()) return;
    const long long b = std::atoll(index.c_str());
    const StringGrid& source = source_.Grid;
    // A result whose row the table no longer has is passed over.
    if (b < 0 || b > source.rowCount() - 1) return;
    const int row = static_cast<int>(b);
    // One row and one column of context stay in sight where they are not fixed.
    mainView_.topRow = row - 1 < source.fixedRows() ? row : row - 1;
    int col = mainView_.col;
    if (c - 1 < source.colCount()) {
        mainView_.leftCol = c - 2 < source.fixedCols() ? c - 1 : c - 2;
        col = c - 1;
    }
    mainView_.setCurrent(col, row);
    link_.showFoundCell();
}

void TFm_Kolumbra02::selectResult(int c, int r) {
    View.setCurrent(c, r);
    ShowResultCell = true;
    GridSelectCell(c, r);
    GridDblClick();
}

void TFm_Kolumbra02::Btn_NextClick() {
    const int fc = Grid.fixedCols(), lastCol = Grid.colCount() - 1;
    const bool fromRowStart = firstStep_;
    firstStep_ = false;
    for (int r = std::max(View.row, Grid.fixedRows()); r < Grid.rowCount(); ++r) {
        const int start = r == View.row && !fromRowStart ? View.col + 1 : fc;
        for (int c = std::max(start, fc); c <= lastCol; ++c)
            if (FlgGrid.cell(c, r) == "*") {
                selectResult(c, r);
                return;
            }
    }
    prompts_.inform(sj("後方に検索文字列はありません。"));
}

void TFm_Kolumbra02::Btn_PriorClick() {
    const int fc = Grid.fixedCols(), lastCol = Grid.colCount() - 1;
    for (int r = std::min(View.row, Grid.rowCount() - 1); r >= Grid.fixedRows(); --r) {
        const int start = r == View.row ? View.col - 1 : lastCol;
        for (int c = std::min(start, lastCol); c >= fc; --c)
            if (FlgGrid.cell(c, r) == "*") {
                selectResult(c, r);
                return;
            }
    }
    prompts_.inform(sj("前方に検索文字列はありません。"));
}

void TFm_Kolumbra02::Btn_RowNextClick() {
    if (View.row + 1 < Grid.rowCount() && View.row + 1 >= Grid.fixedRows())
        selectResult(View.col, View.row + 1);
}

void TFm_Kolumbra02::Btn_RowPriorClick() {
    if (View.row - 1 >= Grid.fixedRows()) selectResult(View.col, View.row - 1);
}

// ---- saving
// --------------------------------------------------------------------------------------

std::string TFm_Kolumbra02::AskSaveFileName(const std::string& start, const std::string& title) {
    std::string from = Trim(start);
    if (from.empty()) from = joinPath(programDir_, "*.csv");
    FileDialogRequest request;
    request.title = title;
    request.directory = directoryOf(from);
    request.fileName = from;
    const std::string ext = extensionOf(from);
    request.filter = "(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*";
    if (!ext.empty() && ext != ".")
        request.filter = "(*" + ext + ")|*" + ext + "|" + request.filter;
    request.askOverwrite = true;
    std::string chosen = prompts_.saveFileName(request);
    if (!chosen.empty() && extensionOf(chosen).empty()) chosen += ".csv";
    return chosen;
}

void TFm_Kolumbra02::Mn_FileSaveClick() {
    if (Running) return;
    const std::string name =
        AskSaveFileName(link_.selectFilePath(), sj("検索結果を指定のファイル名で保存します。"));
    if (name.empty()) return;
    link_.selectFilePath() = name;
    // A failure has been told with its reason; the results stay for another try.
    (void)writeRowsOrReport(prompts_, host_, Grid, link_.separator(), name);
    host_.bringToFront();
}

// ---- printing
// ------------------------------------------------------------------------------------

void TFm_Kolumbra02::Mn_PrintClick() {
    if (Running) return;
    GridVisible = false;
    std::vector<int> widths(static_cast<std::size_t>(Grid.colCount()));
    for (int c = 0; c < Grid.colCount(); ++c) {
        widths[static_cast<std::size_t>(c)] = Grid.colWidth(c);
        // Result column c shows source column c - 1.
        const int source = c - 1;
        if (c >= 1 && source < static_cast<int>(source_.ColInfo.size()) &&
            source_.ColInfo[source].Shown == 0)
            Grid.setColWidth(c, 0);
    }
    const int last = Grid.rowCount() - 1;
    auto fitted = [&](int c) {
        return LetterWidth * (static_cast<int>(Trim(Grid.cell(c, last)).size()) + 2);
    };
    Grid.setColWidth(0, fitted(0));
    if (Grid.colCount() > 1) Grid.setColWidth(1, fitted(1));
    if (Grid.colCount() > 2) Grid.setColWidth(2, 0); // the main grid's key column, copied
    const print::HeadingLines headings{
        "File.Name  : " + Trim(link_.tableFileName()),
        sj("検索条件   : ") + (Rdo_OR.Checked ? "OR" : "AND"),
        sj("検索文字列 : ") + Edt_Word,
        "",
    };
    link_.printGrid(Grid, headings, 100);
    for (int c = 0; c < Grid.colCount(); ++c)
        Grid.setColWidth(c, widths[static_cast<std::size_t>(c)]);
    GridVisible = true;
}

// ---- drawing
// ---------------------------------------------------------------------------------------

CellLook TFm_Kolumbra02::GridDrawCell(int c, int r, bool selected) const {
    CellLook look;
    look.ownerDrawn = true;
    look.text = std::string(Grid.cell(c, r));
    if (c < Grid.fixedCols() || r < Grid.fixedRows()) {
        look.fixed = true;
        look.background = colour::Grey;
        look.textColour = colour::White;
        look.centred = true;
        if (c == 2 && r >= Grid.fixedRows()) {
            look.centred = false;
            look.text = " " + Trim(look.text);
        }
        return look;
    }
    look.background = selected ? 0xFFE6CC : colour::White;
    look.textColour = FlgGrid.cell(c, r) == "*" ? colour::Blue : colour::Black;
    return look;
}

} // namespace kol
