// The Help menu: the about text, the help documents and the column-name help.
#include "app/kolumbra01.h"
#include "app/settings_location.h"
#include "table/atomic_file.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <filesystem>

namespace kol {

namespace {
std::string aboutText() {
    const std::string frame = sj("□□□□□□□□□□□□□□□□□□□□□□□□□□□□");
    const std::string side = sj("□");
    auto line = [&](const std::string& text) {
        // Full-width frame: 28 squares = 56 bytes, so the inner text is padded to 50 bytes.
        std::string padded = text;
        if (padded.size() < 50) padded.append(50 - padded.size(), ' ');
        return side + " " + padded + " " + side + "\r\n";
    };
    return "\r\n" + frame + "\r\n" + line("") + line("   Kolumbra    Ver 4.00") + line("") +
           line(sj("  (ＣＳＶファイル閲覧＆編集ソフト)")) + line("") + frame + "\r\n\r\n" +
           sj("  Shift-JIS の CSV / TSV ファイルを表示し、編集します。\r\n");
}

const char* kColNameHelp =
    "列名(固定行)の入力方法\r\n\r\n  列名(固定行)を入力するには下記の２通りの方法があります。\r\n  "
    "列名の行位置を１行目と仮定して説明します。\r\n\r\n  1. 方法１\r\n    1) "
    "固定行数を一時的に「無し」にする。([並び替え]ボタンの右隣り)\r\n    2) "
    "列名を１行目に入力する。\r\n    3) 固定行数を元に戻す。\r\n\r\n  2. 方法２\r\n    1) "
    "[単行編集]ボタンをクリックし単行編集ウィンドウに切り替える。\r\n    2) "
    "行Noの[前]ボタンで編集行を１行目にする。(これが列名行です)\r\n    3) "
    "[内容]欄に列名を入力する。\r\n    4) [終了]ボタンで単行編集を終了する。\r\n";
} // namespace

std::string TFm_Kolumbra01::helpPath(const std::string& fileName) const {
    return joinPath(HelpFolder(programDir_), fileName);
}

std::string TFm_Kolumbra01::dataFolder() const {
    return SettingsPath.empty() ? DataDir : directoryOf(SettingsPath);
}

void TFm_Kolumbra01::registerHelpDocuments(DocumentViewer& viewer) {
    viewer.SetTitleBase("Kolumbra Browse");
    const std::pair<const char*, std::pair<const MenuItem*, void (TFm_Kolumbra01::*)()>> items[] = {
        {"Mn_Help_Kolumbra", {&Mn_Help_Kolumbra, &TFm_Kolumbra01::Mn_Help_KolumbraClick}},
        {"Mn_Help_Begin", {&Mn_Help_Begin, &TFm_Kolumbra01::Mn_Help_BeginClick}},
        {"Mn_Help_Guide1", {&Mn_Help_Guide1, &TFm_Kolumbra01::Mn_Help_Guide1Click}},
        {"Mn_Help_Guide2", {&Mn_Help_Guide2, &TFm_Kolumbra01::Mn_Help_Guide2Click}},
        {"Mn_Help_Guide3", {&Mn_Help_Guide3, &TFm_Kolumbra01::Mn_Help_Guide3Click}},
        {"Mn_Help_ColName", {&Mn_Help_ColName, &TFm_Kolumbra01::Mn_Help_ColNameClick}},
        {"Mn_Help_History", {&Mn_Help_History, &TFm_Kolumbra01::Mn_Help_HistoryClick}}};
    for (const auto& [sender, item] : items) {
        const auto handler = item.second;
        viewer.RegisterDocument(sender, item.first->Caption,
                                [this, handler] { (this->*handler)(); });
    }
}

void TFm_Kolumbra01::showHelpFile(const std::string& sender, const std::string& fileName) {
    if (DocumentViewer* viewer = host_.documentViewer())
        viewer->ShowDocumentFile(sender, std::string(), true, helpPath(fileName));
}

void TFm_Kolumbra01::Mn_Help_KolumbraClick() {
    DocumentViewer* viewer = host_.documentViewer();
    if (!viewer) return;
    std::string text = aboutText();
    std::string path = joinPath(DataDir, "Doc_Kolumbra_About.txt");
    std::error_code ec; // a fresh home has no ~/.local/share yet
    std::filesystem::create_directories(DataDir, ec);
    if (!DataDir.empty() && writeFileAtomically(path, text))
        viewer->ShowDocumentFile("Mn_Help_Kolumbra", std::string(), true, path);
    else
        viewer->ShowDocumentText("Mn_Help_Kolumbra", std::string(), text);
}

void TFm_Kolumbra01::Mn_Help_BeginClick() {
    showHelpFile("Mn_Help_Begin", "Doc_Kolumbra_Begin.Txt");
}
void TFm_Kolumbra01::Mn_Help_Guide1Click() {
    showHelpFile("Mn_Help_Guide1", "Doc_Kolumbra_Guide1.Txt");
}
void TFm_Kolumbra01::Mn_Help_Guide2Click() {
    showHelpFile("Mn_Help_Guide2", "Doc_Kolumbra_Guide2.Txt");
}
void TFm_Kolumbra01::Mn_Help_Guide3Click() {
    showHelpFile("Mn_Help_Guide3", "Doc_Kolumbra_Guide3.Txt");
}
void TFm_Kolumbra01::Mn_Help_HistoryClick() {
    showHelpFile("Mn_Help_History", "Doc_Kolumbra_History.Txt");
}
void TFm_Kolumbra01::Mn_Help_ColNameClick() {
    if (DocumentViewer* viewer = host_.documentViewer())
        viewer->ShowDocumentText("Mn_Help_ColName", std::string(), sj(kColNameHelp));
}

} // namespace kol
