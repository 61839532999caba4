// The sort page: the two column lists, their drag and drop, and the sort itself.
#include "sort/csv_func.h"

#include "sort/table_sort.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace kol {

namespace {
constexpr std::uint32_t kSilver = 0xC0C0C0, kYellow = 0x00FFFF;
}

TFm_CsvFunc::TFm_CsvFunc(Prompts& prompts, CsvFuncHost& host, TableDocument& document,
                         CsvFuncMain& main)
    : prompts_(prompts), host_(host), doc_(document), main_(main) {
    Caption = "Kolumbra";
    pnlSortKey = sj("並び替えキー項目");
    Label1 = sj("並び替えキー項目を選択して下さい。(Drag＆Drop 削除は逆操作)");
    Label2 = sj("ダブルクリックで列の表示を抑制できます。 [○：表示　×：非表示]");
    GroupCaption = "Option ";
    Btn_Sort.Caption = sj("実行");
    Btn_SortEnd.Caption = sj("終了");
    Btn_Stop.Caption = sj("中断");
    Btn_Stop.Visible = false;
    Btn_PrintAll.Caption = sj("全列を表示");
    Btn_PrintOff.Caption = sj("全列を非表示");
    Btn_PrintEnd.Caption = sj("終了");
    Chk_RowSort.Caption = sj("行の並び替えを行う");
    Chk_RowSort.Checked = true;
    Chk_ColSort.Caption = sj("キー項目を列先頭へ移動");
    Chk_ColSort.Checked = false;
    Mn_Exit.Caption = sj("終了(&X)");
    Lab_MsgColour = kSilver;
    PrintGrid.setColCount(2);
    PrintGrid.setRowCount(2);
    PrintGrid.setFixedCols(1);
    PrintGrid.setFixedRows(1);
}

void TFm_CsvFunc::OpenSortPage() {
    Caption = "Kolumbra " + sj("列と行の並び替え");
    ActivePage = CsvFuncPage::Sort;
}

void TFm_CsvFunc::OpenVisibilityPage() {
    FillVisibilityGrid();
    Caption = "Kolumbra " + sj("列の表示抑制");
    ActivePage = CsvFuncPage::Visibility;
}

void TFm_CsvFunc::Close() {
    SortRunning = false;
    host_.hideWindow();
    main_.activate();
}

void TFm_CsvFunc::tableReshaped(Reshape how) {
    if (how == Reshape::Rows) return; // the lists show columns only
    FillColumnLists();
    FillVisibilityGrid();
}

void TFm_CsvFunc::FillColumnLists() {
    const StringGrid& g = doc_.Grid;
    const int nameRow = main_.columnNameRow();
    pnlSelection = sj("列名 [") + Trim(main_.columnNameChoice()) + "]";
    LbxSelection.Items.clear();
    for (int c = g.fixedCols(); c < g.colCount(); ++c) {
        std::string number = std::to_string(c - g.fixedCols() + 1);
        if (number.size() < 4) number.insert(0, 4 - number.size(), ' ');
        std::string name =
            nameRow > 0 && nameRow < g.rowCount() ? std::string(g.cell(c, nameRow)) : "";
        LbxSelection.Items.push_back(number + ". " + name);
    }
    LbxSelection.ItemIndex = LbxSelection.Items.empty() ? -1 : 0;
    LbxSortKey.Items.clear();
    LbxSortKey.ItemIndex = -1;
    DragSource = -1;
}

int TFm_CsvFunc::keyColumn(const std::string& item) const {
    const std::string number = Trim(item.substr(0, item.find('.')));
    return std::atoi(number.c_str()) + doc_.Grid.fixedCols() - 1;
}

std::vector<int> TFm_CsvFunc::keyColumns() const {
    std::vector<int> keys;
    for (const std::string& item : LbxSortKey.Items) keys.push_back(keyColumn(item));
    return keys;
}

void TFm_CsvFunc::LbxSortKeyMouseDown(int index) {
    DragSource = index;
}

void TFm_CsvFunc::LbxSortKeyDragDrop(ListSource from, int target) {
    std::vector<std::string>& keys = LbxSortKey.Items;
    if (from == ListSource::Selection) {
        if (static_cast<int>(keys.size()) >= kMaxSortKeys) {
            prompts_.inform(sj("選択可能な列数は最大で ") + std::to_string(kMaxSortKeys) +
                            sj(" 列です。"));
            return;
        }
        const int s = LbxSelection.ItemIndex;
        if (s < 0 || s >= static_cast<int>(LbxSelection.Items.size())) return;
        const std::string& item = LbxSelection.Items[s];
        if (std::find(keys.begin(), keys.end(), item) != keys.end()) {
            prompts_.inform(sj("既に同じ列が選択されています。\r\n\r\n    ＞") + item);
            return;
        }
        keys.push_back(item);
        return;
    }
    const int s = DragSource, n = static_cast<int>(keys.size());
    if (s < 0 || s >= n || target < 0 || target >= n || target == s) return;
    // Moving up lands before the target, moving down after it: either way at index t.
    std::string moved = keys[s];
    keys.erase(keys.begin() + s);
    keys.insert(keys.begin() + target, moved);
    LbxSortKey.ItemIndex = target;
}

void TFm_CsvFunc::LbxSelectionDragDrop(ListSource from) {
    if (from != ListSource::SortKey) return;
    const int i = LbxSortKey.ItemIndex;
    if (i < 0 || i >= static_cast<int>(LbxSortKey.Items.size())) return;
    LbxSortKey.Items.erase(LbxSortKey.Items.begin() + i);
    LbxSortKey.ItemIndex = std::min(i, static_cast<int>(LbxSortKey.Items.size()) - 1);
    DragSource = -1;
}

void TFm_CsvFunc::showMessage(const std::string& text) {
    Lab_Msg.Caption = text;
}

bool TFm_CsvFunc::ReportProgress(std::string_view step, long long i, long long every,
                                 long long total) {
    if (every > 0 && i % every == 0) {
        showMessage("  " + std::string(step) + "  " + std::to_string(i) + " / " +
                    std::to_string(total));
        host_.processPending();
    }
    return SortRunning;
}

void TFm_CsvFunc::Btn_StopClick() {
    SortRunning = false;
}

void TFm_CsvFunc::Btn_SortClick() {
    if (LbxSortKey.Items.empty()) {
        prompts_.inform(sj("【 並び替えキー項目 】 を選択して下さい。"));
        return;
    }
    const bool rows = Chk_RowSort.Checked, columns = Chk_ColSort.Checked;
    if (!rows && !columns) {
        prompts_.inform(sj("【 Option 】 をチェックして下さい。"));
        return;
    }
    const char* what = rows && columns
                           ? "選択されたキー項目により 【 列と行の並び替え 】 を行います。"
                       : rows ? "選択されたキー項目により 【 行の並び替え 】を行います。"
                              : "選択されたキー項目により 【 列の並び替え 】 を行います。";
    if (prompts_.ask(sj(what) + "\r\n\r\n" + sj("よろしいですか？"), Buttons::YesNo) != Answer::Yes)
        return;
    runSort(rows, columns);
}

void TFm_CsvFunc::runSort(bool rows, bool columns) {
    main_.sortStarting();
    const std::vector<int> keys = keyColumns();
    bool changed = false;
    {
        BusyCursor busy(host_);
        showMessage(sj("  行の並び替え中です。"));
        Lab_MsgColour = kYellow;
        SortRunning = true;
        Btn_Sort.Enabled = Btn_SortEnd.Enabled = false;
        Btn_Stop.Visible = true;
        main_.setTableVisible(false);
        host_.processPending();
        SortProgress progress = [this](std::string_view step, long long i, long long every,
                                       long long total) {
            return ReportProgress(step, i, every, total);
        };
        if (rows && SortRunning)
            changed = sortRowsByKeys(doc_, keys, main_.rowLabels(), progress).changed;
        showMessage(sj("  列の並び替え中です。"));
        if (columns && SortRunning)
            changed = moveKeyColumnsToFront(doc_, keys, progress) || changed;
        // A sorted table differs from its file even though the sort cannot be undone.
        if (changed) doc_.Modified = 1;
        main_.sortFinished(rows);
        FillColumnLists();
    }
    const bool finished = SortRunning;
    main_.setTableVisible(true);
    showMessage("");
    Lab_MsgColour = kSilver;
    SortRunning = false;
    Btn_Stop.Visible = false;
    Btn_Sort.Enabled = Btn_SortEnd.Enabled = true;
    host_.processPending(); // the window shows it is idle again before the closing message
    prompts_.inform(sj(finished ? "並び替えを終了しました。" : "並び替えを中断しました。"));
}

} // namespace kol
