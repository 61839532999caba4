#include "app/kolumbra01.h"

#include "app/csv_etc.h"
#include "app/settings_file.h"
#include "platform/placement.h"
#include "table/row_label.h"
#include "table/separators.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "view/view_combos.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace kol {

TFm_Kolumbra01::TFm_Kolumbra01(Prompts& prompts, Clipboard& clipboard, MainHost& host, Clock& clock,
                               std::string programDir)
    : prompts_(prompts), clipboard_(clipboard), host_(host), clock_(clock),
      programDir_(std::move(programDir)) {
    SetupControls();
    Record = std::make_unique<RecordEditor>(Doc, Shown, View, static_cast<RecordMainLink&>(*this),
                                            prompts_);
    RecordListening = std::make_unique<TableSubscription>(Shown.listeners(), *Record);
}

TFm_Kolumbra01::~TFm_Kolumbra01() = default;

void TFm_Kolumbra01::SetupControls() {
    caption(Btn_OpenCsv, "Csv");
    caption(Btn_Excel, "Excel");
    caption(Btn_OpenBoard, "Clipboard");
    caption(Btn_Save, "保存");
    Btn_Save.Enabled = false;
    caption(Btn_VertGrid, "編集");
    caption(Btn_Select, "検索");
    caption(Btn_Sort, "並び替え");
    caption(Btn_ViewCol, "抑制");
    caption(Btn_ReFold, "⇔");
    Chk_MoveRow.Caption = sj("行移動");
    Chk_MoveCol.Caption = sj("列移動");
    Chk_RowSize.Caption = sj("行高");

    caption(Mn_FileOpen, "1. Csv ファイルを開く (&O)");
    caption(Mn_BardOpen, "2. クリップボードを開く (&C)");
    caption(Mn_FileSave, "3. Csv ファイルとして保存する (&S)");
    caption(Mn_InitClear, "5. 内容を初期化する (&I)");
    caption(Mn_Exit, "6. 終了 (&X)");
    caption(Mn_Undo, "元に戻す");
    caption(Mn_GridPrint, "1. 全データを印刷する");
    caption(Mn_MarkPrint, "2. マーキングデータを印刷する");
    caption(Mn_MarkSave, "3. マーキングデータをＣＳＶで保存する");
    caption(Mn_FixedCenter, "1. 固定欄のセンタリング表示");
    caption(Mn_DataCenter, "2. 通常欄のセンタリング表示");
    caption(Mn_TrimSpace, "3. 前後の空白を除いて表示");
    caption(Mn_DateEdit, "4. 日付編集表示 - 6, 8 桁の数字");
    caption(Mn_BreakColor, "5. 前行と変化したらセルの色を変える");
    caption(Mn_KaraGyoColor, "6. 空行は色を変える (Light)");
    caption(Mn_KaraGyoBlack, "7. 空行は色を変える (Dark)");
    caption(Mn_FixedRowSEQ, "8. 固定行から付番する");
    caption(Mn_ConfPaste, "1. 【 貼り付け     】 時に確認を行う");
    caption(Mn_ConfClear, "2. 【 範囲クリアー 】 時に確認を行う");
    caption(Mn_ConfInsert, "3. 複数行，列の 【 挿入 】 時に確認を行う");
    caption(Mn_ConfCopy, "4. 複数行，列の 【 複写 】 時に確認を行う");
    caption(Mn_ConfMove, "5. 複数行，列の 【 移動 】 時に確認を行う");
    caption(Mn_ConfDelete, "6. 行，列の 【 削除 】 時に確認を行う");
    caption(Mn_Help_Kolumbra, "1. Kolumbra について");
    caption(Mn_Help_Begin, "2. はじめに");
    caption(Mn_Help_Guide1, "3. 操作説明 (1)");
    caption(Mn_Help_Guide2, "4. 操作説明 (2)");
    caption(Mn_Help_Guide3, "5. 操作説明 (3)");
    caption(Mn_Help_ColName, "6. 列名(固定行)の入力方法");
    caption(Mn_Help_History, "7. 更新履歴");
    caption(Mn_ExcelOpen, "4. Excel ファイルを開く (&E)");
    caption(Mn_OutputCsv, "範囲を指定してＣＳＶ出力");
    caption(Mn_RecEtc, "環境定義");
    caption(Mn2_Undo, "元に戻す(&U)");
    Mn_ExcelOpen.Visible = Mn_OutputCsv.Visible = Mn_RecEtc.Visible = false;

    Mn_Undo.Enabled = false; // nothing to undo yet
}

void TFm_Kolumbra01::FormCreate(const ScreenInfo& screen) {
    screen_ = screen;
    dclick_ = std::make_unique<TIsDClick>(500, clock_);
    ClearHistory();
    MyTimerEnabled = SaveTimerEnabled = false;
    Caption = "Kolumbra Ver 4.00";
    FirstShow = 1;

    WindowRect r = SizeToScreen(WindowRect{0, 0, 0, 0}, 2.0 / 3.0, screen.width, screen.height);
    Left = r.left;
    Top = r.top;
    Width = r.width;
    Height = r.height;
    DropAccepted = true;

    BreakColourAsked = 0;
    CaptionOverride.clear();
    Modified = 0;
    PopupKind = Popup::Cell;
    Record->forgetContentWidth();

    Settings.SetDefaults();
    otherSettingLines_.clear();
    // Without a readable file every setting keeps its default.
    if (!SettingsPath.empty()) (void)ReadSettings(SettingsPath, Settings, &otherSettingLines_);
    CsvFileInf = TCsvFileInf();
    pnlBase.Caption.clear();
    pnlMsg.Caption.clear();
    Lab_Records.Caption.clear();
    Lab_Fields.Caption.clear();
    EnableControls(true);

    // Stored bounds are taken only when they put the window on the screen, and then fitted
    // wholly onto it: they may come from a larger screen.
    WindowMaximized = false;
    const WindowBoundsRec& b = Settings.Vex_Kolumbra;
    BoundsRestored = b.Top > 0 && b.Left > 0 && b.Top < screen.height && b.Left < screen.width;
    if (BoundsRestored) {
        const WindowRect fitted =
            FitOnScreen(WindowRect{b.Left, b.Top, b.Width, b.Height}, screen.width, screen.height);
        Top = fitted.top;
        Left = fitted.left;
        Width = fitted.width;
        Height = fitted.height;
    } else {
        WindowRect c =
            CentreOnScreen(WindowRect{Left, Top, Width, Height}, screen.width, screen.height);
        Left = c.left;
        Top = c.top;
    }
    WindowMaximized = Settings.WinSta == 1;
}

void TFm_Kolumbra01::ApplySettings() {
    Cmb_FixedRows.Items = fixedRowsItems();
    Cmb_KomRow.Items = komRowItems();
    Cmb_LimColLen.Items = limColLenItems();
    Cmb_Fold.Items = foldItems();
    Cmb_CrNext.Items = crNextItems();
    Cmb_FixedKeta.Items = fixedKetaItems();
    Cmb_Bunri.Items = separatorItems();
    auto select = [](Combo& combo, int index) {
        combo.ItemIndex = index >= 0 && index < static_cast<int>(combo.Items.size()) ? index : 0;
    };
    select(Cmb_FixedRows, Settings.Cmb_FixedRows);
    select(Cmb_KomRow, Settings.Cmb_KomRow);
    select(Cmb_LimColLen, Settings.Cmb_LimColLen);
    select(Cmb_Fold, Settings.Cmb_Fold);
    select(Cmb_CrNext, Settings.Cmb_CrNext);
    select(Cmb_FixedKeta, Settings.Cmb_FixedKeta);
    select(Cmb_Bunri, Settings.Cmb_Bunri);
    CurrentSeparator = SeparatorTable()[Cmb_Bunri.ItemIndex].code;
    readColumnLimit();

    const std::pair<MenuItem*, int> checks[] = {
        {&Mn_FixedCenter, Settings.FixedCenter},   {&Mn_DataCenter, Settings.DataCenter},
        {&Mn_TrimSpace, Settings.TrimSpace},       {&Mn_DateEdit, Settings.DateEdit},
        {&Mn_BreakColor, Settings.BreakColor},     {&Mn_KaraGyoColor, Settings.KaraGyoColor},
        {&Mn_KaraGyoBlack, Settings.KaraGyoBlack}, {&Mn_ConfPaste, Settings.ConfPaste},
        {&Mn_ConfClear, Settings.ConfClear},       {&Mn_ConfInsert, Settings.ConfInsert},
        {&Mn_ConfCopy, Settings.ConfCopy},         {&Mn_ConfMove, Settings.ConfMove},
        {&Mn_ConfDelete, Settings.ConfDelete},     {&Mn_FixedRowSEQ, Settings.FixedRowSEQ}};
    for (const auto& [item, value] : checks) item->Checked = value != 0;
    Record->setNameColumnLetters(Settings.Cmb_VertKomKeta);
    if (Search) Search->LoadHistory(Settings.FindWord);
}

void TFm_Kolumbra01::FormShow() {
    BusyCursor busy(host_);
    if (FirstShow == 1) {
        DocumentViewer* viewer = host_.documentViewer();
        if (viewer) registerHelpDocuments(*viewer);
        ApplySettings();
        if (viewer) {
            viewer->SetPrintSettings(Settings.BrowsePrint);
            viewer->SetDataFolder(dataFolder());
        }
        ResetTable(0, 0);
        UpdateCaptions();
        FirstShow = 0;
        MyTimerEnabled = SaveTimerEnabled = true;
        Shown.announceReshaped(Reshape::Replaced);
    }
}

void TFm_Kolumbra01::FormResize(int clientWidth, int clientHeight) {
    int m = KijyunHeight * 2 / 5;
    WindowRect r = InsetPanel(clientWidth, clientHeight, m);
    pnlBaseLeft = r.left;
    pnlBaseTop = r.top;
    pnlBaseWidth = r.width;
    pnlBaseHeight = r.height;
}

void TFm_Kolumbra01::MyTimerTimer(const std::vector<std::string>& arguments) {
    MyTimerEnabled = false;
    if (arguments.empty()) return;
    // A file manager starts the program with a plain path: when the whole argument names a
    // file, its commas belong to the name, so it opens as a dropped file does.
    std::error_code ec;
    if (std::filesystem::is_regular_file(arguments.front(), ec))
        FilesDropped({arguments.front()});
    else
        OpenArgument(arguments.front());
    startLoad_.reset(); // a table read ahead and not taken is not kept
}

void TFm_Kolumbra01::SaveTimerTimer() {
    bool wanted = Modified == 1;
    if (Btn_Save.Enabled != wanted) {
        Btn_Save.Enabled = wanted;
        Btn_Save.Bold = wanted;
    }
}

void TFm_Kolumbra01::FilesDropped(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    BusyCursor busy(host_);
    // A dropped name is a path, not a list of start keys: quoted, its commas stay in it.
    const std::string& path = paths.front();
    OpenArgument(path.find(',') != std::string::npos && path.find('"') == std::string::npos
                     ? "\"" + path + "\""
                     : path);
}

void TFm_Kolumbra01::UpdateCaptions() {
    if (!CaptionOverride.empty())
        Caption = CaptionOverride;
    else if (Record->shown())
        Caption = sj("Kolumbra 単行編集   [ ") + cp932::fromUtf8(CsvFileInf.FileName) + " ]";
    else
        Caption = "Kolumbra Ver 4.00  [ " + cp932::fromUtf8(CsvFileInf.FileName) + " ]";
    Lab_Records.Caption =
        GroupThousands(std::string(Trim(Shown.rowLabel(Grid.rowCount() - 1, false))));
    Lab_Fields.Caption = std::to_string(Grid.colCount() - Grid.fixedCols()) + " ";
    MarkedColumnCount = static_cast<int>(std::count_if(
        ColInfo.begin(), ColInfo.end(), [](const ColInfoRec& c) { return c.Marked; }));
}

void TFm_Kolumbra01::EnableControls(bool on) {
    Control* controls[] = {
        &Btn_OpenCsv,   &Btn_OpenBoard, &Mn_OutputCsv,    &Cmb_FixedRows,   &Cmb_KomRow,
        &Cmb_LimColLen, &Cmb_Fold,      &Cmb_CrNext,      &Cmb_Bunri,       &Cmb_FixedCol,
        &Cmb_FixedKeta, &GridControl,   &Mn_FixedCenter,  &Mn_DataCenter,   &Mn_TrimSpace,
        &Mn_DateEdit,   &Mn_BreakColor, &Mn_KaraGyoColor, &Mn_KaraGyoBlack, &Mn_ConfPaste,
        &Mn_ConfClear,  &Mn_ConfInsert, &Mn_ConfCopy,     &Mn_ConfMove,     &Mn_ConfDelete};
    for (Control* c : controls) c->Enabled = on;
}

void TFm_Kolumbra01::Mn_InitClearClick() {
    if (prompts_.ask(
            sj("内容をクリアーして初期化します。\r\n\r\n (１行１列になる)\r\n\r\nよろしいですか？"),
            Buttons::YesNo) != Answer::Yes)
        return;
    Record->Btn_VertGridEndClick();
    ResetTable(0, 0);
    UpdateCaptions();
    Modified = 1;
    Shown.announceReshaped(Reshape::Replaced);
}

bool TFm_Kolumbra01::FormClose() {
    // The first request only closes the record editor, writing its record back.
    if (Record->shown()) {
        Record->Btn_VertGridEndClick();
        return false;
    }
    if (Modified == 1) {
        if (AskSaveChanges(Buttons::YesNoCancel) == Answer::Cancel) return false;
    }
    DropAccepted = false;
    WindowMaximized = host_.isMaximized();
    if (!WindowMaximized) Settings.Vex_Kolumbra = {Top, Left, Width, Height};
    GatherSettings();
    if (!SettingsPath.empty() && !WriteSettings(SettingsPath, Settings, otherSettingLines_))
        prompts_.fail(sj("設定ファイルを保存できませんでした。前回の設定はそのまま残っています。\r"
                         "\n\r\n   PATH = ") +
                      displayPath(SettingsPath));
    MyTimerEnabled = SaveTimerEnabled = false;
    return true;
}

void TFm_Kolumbra01::GatherSettings() {
    Settings.WinSta = WindowMaximized ? 1 : 0;
    const std::pair<int*, const Combo*> combos[] = {
        {&Settings.Cmb_FixedKeta, &Cmb_FixedKeta}, {&Settings.Cmb_FixedCol, &Cmb_FixedCol},
        {&Settings.Cmb_FixedRows, &Cmb_FixedRows}, {&Settings.Cmb_KomRow, &Cmb_KomRow},
        {&Settings.Cmb_LimColLen, &Cmb_LimColLen}, {&Settings.Cmb_Fold, &Cmb_Fold},
        {&Settings.Cmb_CrNext, &Cmb_CrNext},       {&Settings.Cmb_Bunri, &Cmb_Bunri}};
    for (const auto& [stored, combo] : combos)
        if (combo->ItemIndex >= 0) *stored = combo->ItemIndex;
    const std::pair<int*, const MenuItem*> checks[] = {
        {&Settings.FixedCenter, &Mn_FixedCenter},   {&Settings.DataCenter, &Mn_DataCenter},
        {&Settings.TrimSpace, &Mn_TrimSpace},       {&Settings.DateEdit, &Mn_DateEdit},
        {&Settings.BreakColor, &Mn_BreakColor},     {&Settings.KaraGyoColor, &Mn_KaraGyoColor},
        {&Settings.KaraGyoBlack, &Mn_KaraGyoBlack}, {&Settings.ConfPaste, &Mn_ConfPaste},
        {&Settings.ConfClear, &Mn_ConfClear},       {&Settings.ConfInsert, &Mn_ConfInsert},
        {&Settings.ConfCopy, &Mn_ConfCopy},         {&Settings.ConfMove, &Mn_ConfMove},
        {&Settings.ConfDelete, &Mn_ConfDelete},     {&Settings.FixedRowSEQ, &Mn_FixedRowSEQ}};
    for (const auto& [stored, item] : checks) *stored = item->Checked ? 1 : 0;
    Settings.Cmb_VertKomKeta = Record->nameColumnLetters();
    if (DocumentViewer* viewer = host_.documentViewer(); viewer && FirstShow == 0)
        Settings.BrowsePrint = viewer->GetPrintSettings();
    if (Search) Search->GatherHistory(Settings.FindWord);
}

void TFm_Kolumbra01::Btn_SelectClick() {
    if (Search) Search->showWindow();
}

void TFm_Kolumbra01::Btn_VertGridClick() {
    Record->Btn_VertGridClick();
}

std::string TFm_Kolumbra01::nameRowCaption() const {
    return Trim(Cmb_KomRow.text());
}

std::string TFm_Kolumbra01::tableFileName() const {
    return cp932::fromUtf8(CsvFileInf.FileName);
}

void TFm_Kolumbra01::recordEditorShown(bool shown) {
    host_.recordEditorShown(shown);
    UpdateCaptions();
}

// The print window takes the record once the main window's print hand-off is connected.
void TFm_Kolumbra01::printRecord(const StringGrid& grid, const print::HeadingLines& headings,
                                 int rowLimit) {
    PrintGrid(grid, headings, rowLimit);
}

void TFm_Kolumbra01::Mn_ExitClick() {
    host_.closeWindow();
}

// The choice is written with the other settings when the main window closes.
void TFm_Kolumbra01::Mn_RecEtcClick() {
    TFm_CsvEtc window(prompts_, Settings.Cmb_ZoneSign);
    host_.runCsvEtc(window);
}

void TFm_Kolumbra01::Cmb_BunriClick() {
    const auto& table = SeparatorTable();
    if (Cmb_Bunri.ItemIndex >= 0 && Cmb_Bunri.ItemIndex < static_cast<int>(table.size()))
        CurrentSeparator = table[Cmb_Bunri.ItemIndex].code;
    host_.focusGrid();
}

int TFm_Kolumbra01::fixedRowsIndex() const {
    return Cmb_FixedRows.ItemIndex < 0 ? 0 : Cmb_FixedRows.ItemIndex;
}

} // namespace kol
