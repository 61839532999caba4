// The Save menu of the print preview: the print copy as a CSV file, and as an HTML document
// saved or opened in the browser.
#include "print/cell_scale.h"
#include "print/grid_print_01.h"
#include "print/print_export.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>

namespace kol::print {

namespace {

const char* const kCsvFilter = "(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*";
const char* const kHtmlFilter = "(*.htm; *.html)|*.htm; *.html|(*.*)|*.*";
// The browser's copy, overwritten each time.
const char* const kTempHtmlName = "kolumbra_Temp.Html";

} // namespace

std::string TfrmGridPrint_01::printDataCsv() const {
    return printCsv(*copy_);
}

std::string TfrmGridPrint_01::printDataHtml() const {
    HtmlOptions o;
    o.mode = request_.mode;
    const HeadingChoice choice = Mn_PrintFileName.Checked   ? HeadingChoice::FileName
                                 : Mn_PrintPathName.Checked ? HeadingChoice::FullPath
                                                            : HeadingChoice::None;
    o.headings = headingLines(request_.mode, choice, request_.headings);
    const PageOptions page = pageOptions();
    o.text = page.text;
    o.fixedCentre = page.fixedCentre;
    o.dataCentre = page.dataCentre;
    o.breakColour = page.breakColour;
    o.emptyRows = page.emptyRows;
    o.maxLines = page.maxLines;
    o.lastLaidOutRow = std::max(layout_.rowsCreated(), 0);
    if (o.breakColour) copy_->breakBitsThrough(copy_->rowCount() - 1);
    // Lines as long as the preview draws them: the column and the letter at the display scale
    // and the one-page factor.
    const long double shown = static_cast<long double>(displayScale_) * geometry_.onePageFactor;
    const CanvasFont font{std::string(kPrintFace),
                          static_cast<int>(static_cast<long double>(charHeight_) * shown)};
    const int letter = host_.metrics().charWidth(font);
    const std::vector<std::int32_t>& laidOut = layout_.columnWidths();
    const long double f = scaleFactor();
    o.wrapBytes.resize(static_cast<std::size_t>(copy_->colCount()), 1);
    for (int c = 0; c < copy_->colCount(); ++c) {
        const auto i = static_cast<std::size_t>(c);
        const int width = i < laidOut.size() ? laidOut[i] : scaledSize(copy_->colWidth(c), f);
        const int drawn = static_cast<int>(static_cast<long double>(width) * shown);
        o.wrapBytes[i] = letter > 0 ? std::max(1, drawn / letter) : 1;
    }
    return printHtml(*copy_, o);
}

std::string TfrmGridPrint_01::chooseExportFile(std::string& lastPath, const std::string& title,
                                               bool csv) {
    std::string start = Trim(lastPath);
    if (start.empty()) {
        // No HTML saved yet: beside the last CSV when there is one.
        const std::string folder = !csv && !Trim(settings_.SavePath).empty()
                                       ? directoryOf(Trim(settings_.SavePath))
                                       : directoryOf(joinPath(request_.dataFolder, "x"));
        start = folder + (csv ? "*.csv" : "*.html");
    }
    FileDialogRequest dialog;
    dialog.title = title;
    dialog.filter = csv ? kCsvFilter : kHtmlFilter;
    const std::string ext = extensionOf(start);
    if (!ext.empty() && ext != ".") dialog.filter = "(*" + ext + ")|*" + ext + "|" + dialog.filter;
    dialog.directory = directoryOf(start);
    dialog.fileName = start;
    dialog.askOverwrite = true;
    std::string chosen = prompts_.saveFileName(dialog);
    if (!chosen.empty()) lastPath = chosen;
    return chosen;
}

bool TfrmGridPrint_01::writeOrTell(const std::string& path, const std::string& bytes) {
    if (writeExport(path, bytes)) return true;
    prompts_.inform(sj("出力ファイルの作成に失敗しました。"));
    return false;
}

void TfrmGridPrint_01::Mn_SaveCsvClick() {
    if (!Mn_SaveCsv.Enabled) return;
    const std::string path = chooseExportFile(settings_.SavePath,
                                              table() ? sj("印刷データをＣＳＶ形式で保存します。")
                                                      : sj("表示内容をを Text File で保存します。"),
                                              true);
    if (path.empty()) return;
    (void)writeOrTell(path, printDataCsv());
}

void TfrmGridPrint_01::Mn_SaveHtmlClick() {
    if (!Mn_SaveHtmlMain.Enabled) return;
    const std::string path =
        chooseExportFile(settings_.HtmlPath, sj("印刷データをＨＴＭＬ形式で保存します。"), false);
    if (path.empty()) return;
    (void)writeOrTell(path, printDataHtml());
}

void TfrmGridPrint_01::Mn_ExecHtmlClick() {
    if (!Mn_SaveHtmlMain.Enabled) return;
    const std::string path = joinPath(request_.dataFolder, kTempHtmlName);
    if (writeOrTell(path, printDataHtml()) && !host_.openInBrowser(path))
        prompts_.inform(sj("ブラウザの起動を失敗しました。"));
}

} // namespace kol::print
