// Opening a start argument or a dropped file, with its start keys.
#include "app/kolumbra01.h"
#include "app/settings_file.h"
#include "table/csv_form.h"
#include "table/separators.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <charconv>
#include <filesystem>
#include <new>
#include <system_error>

namespace kol {

namespace {
bool containsUpper(const std::string& text, const std::string& upperNeedle) {
    return upperAscii(text).find(upperNeedle) != std::string::npos;
}
} // namespace

void TFm_Kolumbra01::PrepareStartFile(const std::vector<std::string>& arguments) {
    // Only a plain file: the timer opens it as a dropped file, with no start keys.
    std::error_code ec;
    try {
        if (arguments.empty() || !std::filesystem::is_regular_file(arguments.front(), ec)) return;
        startLoad_ = std::make_unique<StartLoad>(arguments.front(), startLoadOptions());
    } catch (const std::bad_alloc&) {
        // No read-ahead: the timer's load reads the file itself and says so if memory is short.
        startLoad_.reset();
    } catch (const std::system_error&) { // no thread to read on: the same
        startLoad_.reset();
    }
}

StartLoad::Options TFm_Kolumbra01::startLoadOptions() const {
    return StartLoad::Options{CurrentSeparator, ViewSwitches.rowLabelRule(), Mn_BreakColor.Checked,
                              MaxTableLines};
}

std::unique_ptr<StartLoad::Table> TFm_Kolumbra01::takeStartLoad(const std::string& name) {
    // The captions show in place of the grid while the read goes on.
    const bool gridWasVisible = GridVisible;
    GridVisible = false;
    bool readingShown = false;
    std::int64_t shownAt = -1;
    std::unique_ptr<StartLoad::Table> table;
    try {
        table =
            startLoad_->take(name, startLoadOptions(), [&](std::size_t line, std::size_t total) {
                if (total > 0) {
                    showLoadProgress(line, total, shownAt);
                } else if (!readingShown) {
                    showProgress(sj(" ＣＳＶファイルの読み込み中です。"));
                    readingShown = true;
                }
            });
    } catch (const std::bad_alloc&) {
        table.reset(); // the load reads the file itself and says so if memory is short
    }
    GridVisible = gridWasVisible;
    return table;
}

void TFm_Kolumbra01::OpenArgument(const std::string& text) {
    host_.bringToFront();
    std::string clipCaption;
    CaptionOverride.clear();

    // Items are comma-separated and may be quoted, whatever separator is in force.
    std::vector<std::string> items;
    SplitLine(text, ',', items);
    if (items.empty()) return;

    for (const std::string& raw : items) {
        std::string item(Trim(raw));
        std::string value;
        if (MatchKeyLine(item, "Key:FixedRows", value)) {
            int n = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size()) {
                prompts_.fail("'" + value + sj("' は整数ではありません。"));
                continue;
            }
            if (n >= 0 && n < static_cast<int>(Cmb_FixedRows.Items.size()))
                Cmb_FixedRows.ItemIndex = n;
        } else if (MatchKeyLine(item, "Key:FixedRowSEQ", value)) {
            Mn_FixedRowSEQ.Checked = upperAscii(value) == "TRUE";
        } else if (MatchKeyLine(item, "Key:Caption", value)) {
            CaptionOverride = cp932::fromUtf8(value);
        } else if (MatchKeyLine(item, "Key:ClipCaption", value)) {
            clipCaption = value;
        } else if (MatchKeyLine(item, "Key:BNR", value)) {
            int index = findSeparator(cp932::fromUtf8(value));
            if (index >= 0 && index < static_cast<int>(Cmb_Bunri.Items.size())) {
                Cmb_Bunri.ItemIndex = index;
                Cmb_BunriClick();
            }
        }
    }
    std::string path(Trim(items.front()));
    if (containsUpper(path, "KEY:CLIPBOARD")) {
        ReadClipboardTable(true, clipCaption);
    } else {
        if (Modified == 1 && AskSaveChanges(Buttons::YesNo) == Answer::Cancel) return;
        while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
        if (isDirectory(path)) {
            Settings.Path_EditFile = joinPath(path, "*.*");
        } else {
            if (SourceText::checkFile(path) != SourceText::ReadStatus::Ok) {
                prompts_.inform(
                    sj("\r\n★\r\n★ これは現在編集中か又は他で使用中のファイルです。\r\n★"
                       "\r\n\r\n   PATH = ") +
                    displayPath(path));
            } else {
                LoadTable(path, 0);
            }
        }
    }
    if (!CaptionOverride.empty()) Caption = CaptionOverride;
}

} // namespace kol
