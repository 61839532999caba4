#include "viewer/browse.h"

#include "table/atomic_file.h"
#include "table/io_status.h"
#include "table/save_rows.h"
#include "table/source_text.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "viewer/help_html.h"

#include <filesystem>

namespace kol {

namespace {
constexpr int kPrintLinesPerCell = 20;
constexpr int kPrintFontPixels = 13;
} // namespace

TFm_Browse::TFm_Browse(Prompts& prompts, BrowseHost& host, std::string programName)
    : prompts_(prompts), host_(host), programName_(std::move(programName)) {
    Caption = titleBase_;
    caption(Btn_Wide, "⇔");
    caption(Btn_Html, "HTML");
    caption(Btn_Editor, "Editor");
    caption(Mn_Exit, "終了(&X)");
    caption(Mn_Print, "印刷する(&P)");
    pnlHed.Visible = false;
    cmbBrowseList.Visible = false;
}

void TFm_Browse::RegisterDocument(const std::string& sender, const std::string& caption,
                                  std::function<void()> command) {
    // A sender registered again (a new main window) takes its entry over.
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].sender == sender) {
            entries_[i] = {sender, browseListText(caption), std::move(command)};
            cmbBrowseList.Items[i] = entries_[i].listText;
            return;
        }
    if (static_cast<int>(entries_.size()) >= kMaxEntries) return;
    entries_.push_back({sender, browseListText(caption), std::move(command)});
    cmbBrowseList.Items.push_back(entries_.back().listText);
}

void TFm_Browse::SelectEntryFor(const std::string& sender) {
    auto hideHeader = [this] {
        pnlHed.Visible = false;
        cmbBrowseList.Visible = false;
    };
    if (sender.empty()) {
        hideHeader();
        return;
    }
    cmbBrowseList.ItemIndex = -1;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].sender == sender) {
            cmbBrowseList.ItemIndex = static_cast<int>(i);
            pnlHed.Visible = true;
            cmbBrowseList.Visible = true;
            return;
        }
    prompts_.inform(sj("Browse サブメニューが登録されていません。\r\n\r\n  → ") + sender);
    hideHeader();
}

void TFm_Browse::putText(std::string text) {
    paneText_ = std::move(text);
    host_.setPaneText(paneText_);
}

void TFm_Browse::ShowDocumentFile(const std::string& sender, const std::string& extraTitle,
                                  bool numberLines, const std::string& path) {
    SelectEntryFor(sender);
    Caption = titleBase_ + " " + extraTitle + " [ " + displayPath(path) + " ]";
    host_.mirror();
    if (Trim(path).empty()) return;
    SourceText source;
    int error = 0;
    const SourceText::ReadStatus status = SourceText::readFile(path, source, &error);
    if (status == SourceText::ReadStatus::NotFound) {
        putText(std::string());
        prompts_.inform(sj("ファイルがありません。") + "\r\n\r\n     File = " + displayPath(path));
        return;
    }
    if (status != SourceText::ReadStatus::Ok) {
        putText(std::string());
        prompts_.fail(sj("ファイルを読めません。") + "\r\n\r\n" + readFailureDetail(path, error));
        return;
    }
    BusyCursor busy(host_);
    host_.setPaneVisible(false);
    documentSource_ = path;
    sourceIsText_ = false;
    putText(documentPaneText(source.bytes(), numberLines));
    source.release();
    host_.setPaneVisible(!buildingHtml_);
    host_.showWindow();
}

void TFm_Browse::ShowDocumentText(const std::string& sender, const std::string& extraTitle,
                                  const std::string& text) {
    SelectEntryFor(sender);
    Caption = titleBase_ + " " + extraTitle;
    host_.mirror();
    host_.setPaneVisible(false);
    documentSource_ = text;
    sourceIsText_ = true;
    putText(text);
    host_.setPaneVisible(!buildingHtml_);
    host_.showWindow();
}

void TFm_Browse::SetPrivate(std::string text, std::string file) {
    private_ = true;
    privateText_ = std::move(text);
    privateFile_ = std::move(file);
}

void TFm_Browse::FormShow() {
    if (!private_) return;
    if (!privateFile_.empty())
        ShowDocumentFile(std::string(), std::string(), false, privateFile_);
    else
        ShowDocumentText(std::string(), std::string(), privateText_);
}

void TFm_Browse::cmbBrowseListClick() {
    const int i = cmbBrowseList.ItemIndex;
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    host_.focusPane();
    if (entries_[i].command) entries_[i].command();
}

void TFm_Browse::Btn_WideClick() {
    ++wideClicks_;
    host_.setWindowWidth(wideWidth(wideClicks_, host_.wideGeometry()));
}

void TFm_Browse::Mn_PrintClick() {
    {
        BusyCursor busy(host_);
        const std::vector<std::string_view> lines = documentLines(paneText_);
        WorkGrid.setFixedRows(0);
        WorkGrid.setFixedCols(0);
        WorkGrid.setColCount(1);
        WorkGrid.setRowCount(static_cast<int>(lines.size()));
        std::string cell;
        for (std::size_t r = 0; r < lines.size(); ++r) {
            cell.assign(1, ' ').append(lines[r]);
            WorkGrid.setCell(0, static_cast<int>(r), cell);
        }
    }
    print::PrintRequest request;
    request.source = &WorkGrid;
    request.mode = print::PrintMode::TextListing;
    request.headings = {cmbBrowseList.Visible ? cmbBrowseList.text() : Caption, "", "", ""};
    request.initialRowLimit = 0;
    request.maxLinesPerCell = kPrintLinesPerCell;
    request.settings = settings_;
    request.sourceFont = print::CanvasFont{std::string(print::kPrintFace), kPrintFontPixels};
    request.dataFolder = dataFolder_;
    host_.openPrintPreview(request);
    settings_ = request.settings;
    BusyCursor busy(host_);
    WorkGrid.setRowCount(1);
    WorkGrid.setColCount(1);
    WorkGrid.setCell(0, 0, "");
}

bool TFm_Browse::LaunchProgram(const std::string& program, const std::string& parameter,
                               bool reportFailures) {
    const bool ok =
        host_.startProgram(program, launchParameterGiven(parameter) ? parameter : std::string());
    if (!ok && reportFailures)
        prompts_.fail(sj("プログラムを起動できません。 \r\r Praogram = ") + program + "\r" +
                      " Param    = " + parameter);
    return ok;
}

std::string TFm_Browse::editorCopyPath() const {
    return joinPath(dataFolder_, programName_ + "_Browse.Txt");
}

void TFm_Browse::Btn_EditorClick() {
    std::string path = documentSource_;
    std::error_code ec;
    if (sourceIsText_ || path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        // A text has no file of its own: the editor gets a copy in the data folder.
        path = editorCopyPath();
        std::filesystem::create_directories(dataFolder_, ec);
        const std::string text = sourceIsText_ ? documentSource_ : paneText_;
        if (const IoStatus status = writeFileAtomically(path, text); !status) {
            reportWriteFailure(prompts_, path, status);
            return;
        }
    }
    if (!host_.openWithDesktop(path))
        prompts_.inform(sj("エディタを起動できません。\r\n\r\nテキストファイルを開くプログラムが"
                           "見つかりません。\r\n\r\n  ＞ ") +
                        displayPath(path));
}

std::string TFm_Browse::helpHtmlPath() const {
    return joinPath(dataFolder_, programName_ + "_Help.Html");
}

void TFm_Browse::Btn_HtmlClick() {
    host_.setPaneVisible(false);
    const int selected = cmbBrowseList.ItemIndex;
    const std::string caption = Caption;
    std::vector<HelpPage> pages;
    {
        BusyCursor busy(host_);
        buildingHtml_ = true;
        for (const Entry& entry : entries_) {
            paneText_.clear();
            if (entry.command) entry.command();
            pages.push_back({entry.listText, paneText_});
        }
        if (selected >= 0 && selected < static_cast<int>(entries_.size()) &&
            entries_[selected].command)
            entries_[selected].command();
        buildingHtml_ = false;
    }
    host_.setPaneVisible(true);
    const std::string path = helpHtmlPath();
    std::error_code ec;
    std::filesystem::create_directories(dataFolder_, ec);
    const std::string html = joinHtmlLines(helpHtmlLines(titleBase_, caption, selected + 1, pages));
    if (const IoStatus status = writeFileAtomically(path, html); !status) {
        reportWriteFailure(prompts_, path, status);
        return;
    }
    if (!host_.openWithDesktop(path)) prompts_.inform(sj("ブラウザの起動を失敗しました。"));
}

void TFm_Browse::Mn_ExitClick() {
    if (private_)
        host_.closeWindow();
    else
        host_.hideWindow();
}

} // namespace kol
