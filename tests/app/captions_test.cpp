// Every caption of the main window's menus, popups and panels, held against the program's own
// texts, so that none can drift.
#include "support/fakes.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kol {
namespace {

using Expected = std::vector<std::pair<const std::string*, const char*>>;

void expectCaptions(const Expected& expected) {
    for (const auto& [caption, utf8] : expected)
        EXPECT_EQ(cp932::toUtf8(*caption), utf8) << "expected " << utf8;
}

TEST(Captions, MainMenusAndPanels) {
    test::MainFixture f;
    TFm_Kolumbra01& m = f.model;
    expectCaptions({
        {&m.Mn_FileOpen.Caption, "1. Csv ファイルを開く (&O)"},
        {&m.Mn_BardOpen.Caption, "2. クリップボードを開く (&C)"},
        {&m.Mn_FileSave.Caption, "3. Csv ファイルとして保存する (&S)"},
        {&m.Mn_InitClear.Caption, "5. 内容を初期化する (&I)"},
        {&m.Mn_Exit.Caption, "6. 終了 (&X)"},
        {&m.Mn_Undo.Caption, "元に戻す"},
        {&m.Mn_GridPrint.Caption, "1. 全データを印刷する"},
        {&m.Mn_MarkPrint.Caption, "2. マーキングデータを印刷する"},
        {&m.Mn_MarkSave.Caption, "3. マーキングデータをＣＳＶで保存する"},
        {&m.Mn_FixedCenter.Caption, "1. 固定欄のセンタリング表示"},
        {&m.Mn_DataCenter.Caption, "2. 通常欄のセンタリング表示"},
        {&m.Mn_TrimSpace.Caption, "3. 前後の空白を除いて表示"},
        {&m.Mn_DateEdit.Caption, "4. 日付編集表示 - 6, 8 桁の数字"},
        {&m.Mn_BreakColor.Caption, "5. 前行と変化したらセルの色を変える"},
        {&m.Mn_KaraGyoColor.Caption, "6. 空行は色を変える (Light)"},
        {&m.Mn_KaraGyoBlack.Caption, "7. 空行は色を変える (Dark)"},
        {&m.Mn_FixedRowSEQ.Caption, "8. 固定行から付番する"},
        {&m.Mn_ConfPaste.Caption, "1. 【 貼り付け     】 時に確認を行う"},
        {&m.Mn_ConfClear.Caption, "2. 【 範囲クリアー 】 時に確認を行う"},
        {&m.Mn_ConfInsert.Caption, "3. 複数行，列の 【 挿入 】 時に確認を行う"},
        {&m.Mn_ConfCopy.Caption, "4. 複数行，列の 【 複写 】 時に確認を行う"},
        {&m.Mn_ConfMove.Caption, "5. 複数行，列の 【 移動 】 時に確認を行う"},
        {&m.Mn_ConfDelete.Caption, "6. 行，列の 【 削除 】 時に確認を行う"},
        {&m.Btn_OpenCsv.Caption, "Csv"},
        {&m.Btn_Excel.Caption, "Excel"},
        {&m.Btn_OpenBoard.Caption, "Clipboard"},
        {&m.Btn_Save.Caption, "保存"},
        {&m.Btn_VertGrid.Caption, "編集"},
        {&m.Btn_Select.Caption, "検索"},
        {&m.Btn_Sort.Caption, "並び替え"},
        {&m.Btn_ViewCol.Caption, "抑制"},
        {&m.Btn_ReFold.Caption, "⇔"},
        {&m.Chk_MoveRow.Caption, "行移動"},
        {&m.Chk_MoveCol.Caption, "列移動"},
        {&m.Chk_RowSize.Caption, "行高"},
        {&m.Caption, "Kolumbra Ver 4.00  [  ]"},
    });
}

TEST(Captions, ThePopups) {
    test::MainFixture f;
    test::FakeGridView view{f.model.Grid, f.model.View};
    GridInput in{f.model, view};
    expectCaptions({
        {&in.Pm_RangeClip.Caption, "1. クリップ"},
        {&in.Pm_RangeClipPaste.Caption, "2. 貼り付け"},
        {&in.Pm_RangeClipClr.Caption, "3. クリップ 解除"},
        {&in.Pm_RangeClear.Caption, "4. クリアー"},
        {&in.Pm_StrConvert.Caption, "5. 文字変換"},
        {&in.Pm_StrCvtHanToZen.Caption, "1. 半角 → 全角"},
        {&in.Pm_StrCvtZenToHan.Caption, "2. 全角 → 半角  "},
        {&in.Pm_StrCvtHiraToKata.Caption, "3. 全角ひらがな → 全角カタカナ"},
        {&in.Pm_StrCvtKataToHira.Caption, "4. 全角カタカナ → 全角ひらがな"},
        {&in.Pm_RangeRowInsert2.Caption, "6. 行 挿入"},
        {&in.Pm_RangeRowCopy2.Caption, "7. 行 複写"},
        {&in.Pm_RangeRowDelete2.Caption, "8. 行 削除"},
        {&in.Pm_RangePrint.Caption, "9. 印刷"},
        {&in.Pm_RangePrintCell.Caption, "1. セル"},
        {&in.Pm_RangePrintRow.Caption, "2. 行"},
        {&in.Pm_RangePrintCol.Caption, "3. 列"},
        {&in.Pm_DispVertGrid.Caption, "10. 単行編集"},
        {&in.Pm_RowImport.Caption, "5. インポート"},
        {&in.Pm_RowInsertFile.Caption, "1. File"},
        {&in.Pm_RowInsertBoard.Caption, "2. Clip.Board"},
        {&in.Pm_ColView.Caption, "5. 列表示"},
        {&in.Pm_ColViewON.Caption, "1. 抑制する"},
        {&in.Pm_ColViewOFF.Caption, "2. 表示する"},
    });
    // The row and column popups share their other captions.
    for (auto* p : {&in.Pm_RowClipGroup, &in.Pm_ColClipGroup, &in.Pm_RowClip, &in.Pm_ColClip})
        EXPECT_EQ(cp932::toUtf8(p->Caption), "1. ｸﾘｯﾌﾟ");
    const std::vector<std::pair<std::vector<MenuItem*>, const char*>> shared = {
        {{&in.Pm_RowClipPaste, &in.Pm_ColClipPaste}, "2. 貼り付け"},
        {{&in.Pm_RowClipMove, &in.Pm_ColClipMove}, "3. 移動"},
        {{&in.Pm_RowClipCopy, &in.Pm_ColClipCopy}, "4. 複写"},
        {{&in.Pm_RowClipClr, &in.Pm_ColClipClr}, "5. 解除"},
        {{&in.Pm_RowInsert, &in.Pm_ColInsert}, "2. 挿入"},
        {{&in.Pm_RowCopy, &in.Pm_ColCopy}, "3. 複写"},
        {{&in.Pm_RowDelete, &in.Pm_ColDelete}, "4. 削除"},
        {{&in.Pm_RowPrint, &in.Pm_ColPrint}, "6. 印刷"},
        {{&in.Pm_RowMark, &in.Pm_ColMark}, "7. マーキング"},
        {{&in.Pm_RowMarkSet, &in.Pm_ColMarkSet}, "1. 設定"},
        {{&in.Pm_RowMarkClear, &in.Pm_ColMarkClear}, "2. 解除"},
        {{&in.Pm_RowMarkClearAll, &in.Pm_ColMarkClearAll}, "3. 全て解除"},
        {{&in.Pm_RowMarkPrint, &in.Pm_ColMarkPrint}, "4. 印刷"},
        {{&in.Pm_RowMarkSave, &in.Pm_ColMarkSave}, "5. 保存"},
        {{&in.Pm_RowMin, &in.Pm_ColMin}, "8. 範囲開始"},
    };
    for (const auto& [items, utf8] : shared)
        for (MenuItem* item : items) EXPECT_EQ(cp932::toUtf8(item->Caption), utf8);
}

} // namespace
} // namespace kol
