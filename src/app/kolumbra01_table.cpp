// Loading: the table's shape, reading files and the clipboard, placing lines in the grid.
#include "app/kolumbra01.h"
#include "table/separators.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <new>

namespace kol {

namespace {
constexpr std::int64_t kProgressRepaintMs = 200;
const char* kStandardFilter = "(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*";
} // namespace

void TFm_Kolumbra01::ResetTable(int columns, int rows) {
    PopupKind = Popup::Cell;
    PopupCol = PopupRow = -1;
    OperationRange = CellRange();
    ClipRange = GridRect();
    resetTableShape(Grid, columns, rows, ViewSwitches.rowLabelRule());
    Shown.resetWidths(columns == 0 && rows == 0);

    View.options = GridOptions{Chk_MoveRow.Checked, Chk_MoveCol.Checked, Chk_RowSize.Checked};
    Cmb_FixedCol.Items = {sj(" 無し")};
    Cmb_FixedCol.ItemIndex = 0;

    View.topRow = Grid.fixedRows();
    View.leftCol = Grid.fixedCols();
    View.setCurrent(Grid.fixedCols(), Grid.fixedRows());
    if (rows > 0) {
        // A load fills the rows next and sets up their records once they are in: held through
        // the fill, they would add their size to the load's peak memory.
        std::vector<RowFlag>().swap(RowFlags);
        MarkedColumnCount = 0;
    } else {
        rebuildAttributes();
        Shown.recomputeBreakColours(-1, 0);
    }
}

void TFm_Kolumbra01::rebuildAttributes() {
    Doc.resetAttributes();
    MarkedColumnCount = 0;
}

void TFm_Kolumbra01::readColumnLimit() {
    if (Cmb_LimColLen.ItemIndex < 0) Cmb_LimColLen.ItemIndex = 6;
    ColumnLimit = std::atof(DigitsOnly(Cmb_LimColLen.text()).c_str()) + 1;
}

void TFm_Kolumbra01::showProgress(const std::string& text) {
    pnlBase.Caption = text;
    host_.repaintStatus();
}

bool TFm_Kolumbra01::readFile(const std::string& name) {
    SourceText source;
    // Too many rows or too long a row for the grid fails as EOVERFLOW.
    const TableLoadResult read = readTableSource(name, source, MaxTableLines);
    CsvFileInf.ReadError = read.error;
    if (!read.ok()) return false;
    showProgress(sj(" ＣＳＶファイルの読み込み中です。"));
    CsvFileInf.DroppedFromNul = read.droppedFromNul;
    CsvFileInf.FileName = name;
    CsvFileInf.LineCount = read.lines;
    CsvFileInf.Lines = std::move(source);
    CsvFileInf.Loaded = true;
    return true;
}

void TFm_Kolumbra01::showLoadProgress(std::size_t line, std::size_t total, std::int64_t& shownAt) {
    // A repaint costs more than splitting a thousand lines: the caption moves a few times a
    // second on a long load instead of at every thousandth line.
    const std::int64_t now = clock_.nowMs();
    if (shownAt >= 0 && now - shownAt < kProgressRepaintMs) return;
    shownAt = now;
    showProgress(sj(" 読み込み中 ... ") + std::to_string(line + 1) + " / " + std::to_string(total));
}

int TFm_Kolumbra01::FillGrid(StartLoad::Table* prepared) {
    FillResult filled;
    if (prepared) {
        Doc.adoptTable(prepared->Doc);
        filled = std::move(prepared->Loaded.filled);
    } else {
        // The lines read (a file, the clipboard, a sheet) go in as every load places them; the
        // source is released once the grid holds the rows, so a large file is not kept twice.
        std::int64_t shownAt = -1;
        TableLoadOptions options;
        options.separator = CurrentSeparator;
        options.labels = ViewSwitches.rowLabelRule();
        options.progress = [&](std::size_t line, std::size_t total) {
            showLoadProgress(line, total, shownAt);
        };
        TableLoadResult loaded =
            loadTableSource(CsvFileInf.Lines, CsvFileInf.LineCount, Doc, options);
        if (!loaded.ok()) return loaded.error; // an empty table
        filled = std::move(loaded.filled);
    }
    MarkedColumnCount = 0; // column 1 is empty in a filled table: the key column comes later
    readColumnLimit();
    Shown.fitFilledTable(filled.longestField);
    if (!prepared) Shown.recomputeBreakColours(-1, 0); // a table read ahead has them already
    Lab_Fields.Caption = std::to_string(Grid.colCount() - Grid.fixedCols()) + " ";
    pnlMsg.Caption.clear();
    pnlBase.Caption.clear();
    return 0;
}

bool TFm_Kolumbra01::LoadTable(const std::string& name, int changedValue) {
    Record->Btn_VertGridEndClick();
    const bool fromFile = !Trim(name).empty();
    std::unique_ptr<StartLoad::Table> prepared;
    if (startLoad_) {
        if (fromFile) prepared = takeStartLoad(name);
        startLoad_.reset();
    }
    if (fromFile) Settings.Path_EditFile = name;
    if (prepared) {
        CsvFileInf.FileName = name;
        CsvFileInf.DroppedFromNul = prepared->Loaded.droppedFromNul;
        CsvFileInf.LineCount = prepared->Loaded.lines;
        CsvFileInf.Lines.release();
        CsvFileInf.Loaded = true;
    } else if (fromFile) {
        // A file that cannot be read leaves the table and its name as they are.
        if (!readFile(name)) {
            prompts_.fail(loadFailureMessage(name, CsvFileInf.ReadError));
            return false;
        }
    }
    EnableControls(false);
    int failure = 0; // why the table was left empty
    std::string loadedName;
    {
        BusyCursor busy(host_);
        GridVisible = false;
        PopupKind = Popup::Cell;
        Lab_Records.Caption.clear();
        Lab_Fields.Caption.clear();
        ClearHistory();
        Modified = fromFile ? 0 : static_cast<std::uint8_t>(changedValue);

        try {
            // The load brings its rows (read ahead, or placed now by loadTableSource) and gives
            // the grid their shape: the view is reset on an empty table first, so the grid is
            // never sized for them twice and the old rows are gone before the new ones come.
            ResetTable(0, 0);
            failure = FillGrid(prepared.get());
        } catch (const std::bad_alloc&) {
            failure = ENOMEM;
        }
        const bool filled = failure == 0;
        if (!filled) {
            // Never part of the file shown as if it were all of it, nor saved over it: an empty
            // table without a name, and the reason.
            CsvFileInf.Lines.release();
            ResetTable(0, 0);
            Modified = 0;
        }
        CsvFileInf.Loaded = false;
        loadedName = CsvFileInf.FileName;
        if (!filled) CsvFileInf.FileName.clear();

        auto viewSteps = [&] {
            Shown.applyTitleRows();
            UpdateCaptions();
            fillKeyColumnChoice();
            showKeyColumn(true); // a fresh table has nothing in column 1 to clear
        };
        try {
            viewSteps(); // the key column rebuilds every row: as much memory again
        } catch (const std::bad_alloc&) {
            failure = ENOMEM;
            CsvFileInf.FileName.clear();
            ResetTable(0, 0);
            Modified = 0;
            try {
                viewSteps(); // on the empty table, which needs little
            } catch (const std::bad_alloc&) {
                // Not even that: the empty table goes without its key column.
            }
        }
        View.topRow = Grid.fixedRows();
        View.leftCol = Grid.fixedCols();
        View.setCurrent(Grid.fixedCols(), Grid.fixedRows());
        pnlMsg.Color = 0;
        pnlMsg.FontColor = 0xFF0000;

        pnlBase.Caption.clear();
        EnableControls(true);
    }
    GridVisible = true;
    Shown.announceReshaped(Reshape::Replaced);
    host_.focusGrid();
    if (failure != 0) {
        prompts_.fail(loadFailureMessage(fromFile ? name : loadedName, failure));
        return false;
    }
    if (fromFile && CsvFileInf.DroppedFromNul > 0) reportNulCut(name);
    return true;
}

// The text ends at a NUL byte, so whatever follows it is not in the table; a save over the
// file would lose it, and the user has to know before editing.
void TFm_Kolumbra01::reportNulCut(const std::string& name) {
    prompts_.fail(nulCutMessage(name, CsvFileInf.DroppedFromNul));
}

std::string TFm_Kolumbra01::openDialogStart(const std::string& startName, std::string& directory,
                                            std::string& filter) const {
    std::string start(Trim(startName));
    if (start.empty()) {
        std::string dir = directoryOf(Settings.Path_EditFile);
        std::string ext = extensionOf(Settings.Path_EditFile);
        if (dir.empty()) {
            dir = directoryOf(joinPath(programDir_, "x"));
            ext = ".csv";
        }
        start = dir + "*" + ext;
    }
    std::string ext = extensionOf(start);
    filter = kStandardFilter;
    if (!ext.empty() && ext != ".") filter = "(*" + ext + ")|*" + ext + "|" + filter;
    directory = directoryOf(start);
    return start;
}

void TFm_Kolumbra01::Btn_OpenCsvClick() {
    if (Modified == 1 && AskSaveChanges(Buttons::YesNo) == Answer::Cancel) return;
    FileDialogRequest request;
    request.fileName = openDialogStart(CsvFileInf.FileName, request.directory, request.filter);
    request.title = sj("読み込む Csv ファイルを選択して下さい。");
    request.mustExist = true;
    std::string chosen = prompts_.openFileName(request);
    if (!chosen.empty()) LoadTable(chosen, 1);
}

void TFm_Kolumbra01::Btn_OpenBoardClick() {
    ReadClipboardTable(false, std::string());
}

void TFm_Kolumbra01::ReadClipboardTable(bool silent, const std::string& caption) {
    BusyCursor busy(host_);
    GridVisible = false;
    showProgress(sj(" クリップボードの読み込み中です。"));
    const unsigned char kept = CurrentSeparator;

    std::string text = clipboard_.hasText() ? clipboard_.text() : std::string();
    SourceText source(std::move(text));
    std::size_t lines = countLines(source.text());
    if (source.text().find('\t') != std::string_view::npos) CurrentSeparator = '\t';

    bool go = true;
    if (!silent) {
        if (lines == 0) {
            prompts_.inform(sj("現在、クリップボードにデータはありません。"));
            go = false;
        } else {
            std::string head(source.text().substr(0, 20));
            go =
                prompts_.ask(
                    sj("現在のクリップボードの内容を 【 読み込み 】 ます。\r\n\r\n   先頭内容 → ") +
                        head + "\r\n\r\n" + sj("          行数 ： ") + std::to_string(lines) +
                        sj(" 行"),
                    Buttons::YesNo) == Answer::Yes;
        }
    }
    if (go) {
        CsvFileInf.Lines = std::move(source);
        CsvFileInf.LineCount = lines;
        CsvFileInf.Loaded = true;
        CsvFileInf.FileName = caption;
        LoadTable(std::string(), silent ? 0 : 1);
    }
    CurrentSeparator = kept;
    pnlBase.Caption.clear();
    GridVisible = true;
}

} // namespace kol
