// A table file read into a document, with no window: the checks every read of a table file
// makes, the shape every load gives the grid, and the fill from source lines. Every load goes
// through here: the main window (which adds its view steps on top), the file read ahead at
// start, the row import's read, kolumbra-cli and the benchmarks.
#pragma once

#include "table/source_text.h"
#include "table/table_document.h"
#include "table/table_fill.h"

#include <functional>
#include <string>
#include <string_view>

namespace kol {

// The fresh shape of a table of `columns` data columns and `rows` data lines (at least one of
// each): "No." in the corner, the column numbers in row 0, two fixed columns, one fixed row.
void resetTableShape(StringGrid& grid, int columns, int rows, const RowLabelRule& labels);

// Numbers the scrolling columns in row 0 ("1", "2", ...), rebuilding the row once at most.
void numberColumns(StringGrid& grid);

// Places `lineCount` lines of `source` from row 1, widens the grid to the longest line, numbers
// the new columns and gives every row and column fresh attributes. The grid must have the shape
// resetTableShape gave it for `lineCount` lines.
FillResult fillTable(TableDocument& document, const SourceText& source, std::size_t lineCount,
                     unsigned char separator, const RowLabelRule& labels,
                     const FillProgress& progress = {});

// The most lines a table may have: the grid counts rows in an int, and rows are added later.
constexpr std::size_t kMaxTableLines = 2'000'000'000;
// The longest line: a row's offsets are 32-bit and its cells are counted in an int.
constexpr std::size_t kMaxLineBytes = 2'000'000'000;

// Whether a text of `lines` lines fits a table: no more than maxLines lines, none longer than
// kMaxLineBytes.
bool tableFits(std::string_view text, std::size_t lines, std::size_t maxLines = kMaxTableLines);

// Called on the loading thread with the index of every thousandth line placed (0, 1000, ...)
// and the number of lines. It may throw to stop the load.
using LoadProgress = std::function<void(std::size_t line, std::size_t lineCount)>;

struct TableLoadOptions {
    unsigned char separator = ',';
    std::size_t maxLines = kMaxTableLines;
    RowLabelRule labels; // how rows are labelled (from the first row, or after the title rows)
    int titleRows = 1;   // fixed rows below the column numbers, as far as the table has rows
    LoadProgress progress;
};

struct TableLoadResult {
    SourceText::ReadStatus status = SourceText::ReadStatus::Ok;
    int error = 0;                  // errno of a read that failed
    std::size_t droppedFromNul = 0; // bytes from the first NUL on, which the table leaves out
    std::size_t lines = 0;          // lines of the source: the table's rows below row 0
    FillResult filled;              // the fill's measurements (widest line, longest fields)
    bool ok() const { return status == SourceText::ReadStatus::Ok; }
};

// Reads `path` and counts its lines, with the checks of loadTableFile but no table: a file
// that cannot be read (NotFound, NotAFile, ..., or TooLarge, ENOMEM for more than memory can
// hold), or has more than maxLines lines or too long a line (TooLarge, EOVERFLOW), fails with
// its reason; so does a file another program shortens meanwhile (Changed). The text ends at the
// first NUL byte; droppedFromNul says what that left out.
[[nodiscard]] TableLoadResult readTableSource(const std::string& path, SourceText& source,
                                              std::size_t maxLines = kMaxTableLines);

// Places `lines` lines of `source` (read by readTableSource, or a text and its countLines) in
// `document` as a fresh table: the shape resetTableShape gives, the fill, fresh attributes,
// options.titleRows, the history cleared; Modified is the caller's. The source is released
// once the rows are in, so a large file is never held twice. When memory runs out (TooLarge,
// ENOMEM), or the file is found shortened by another program (Changed), the document is left
// an empty table, never part of the source; an exception thrown
// by options.progress passes through and also leaves an empty table.
[[nodiscard]] TableLoadResult loadTableSource(SourceText& source, std::size_t lines,
                                              TableDocument& document,
                                              const TableLoadOptions& options);

// readTableSource, then loadTableSource (history cleared, unchanged). A file that cannot be
// read, or has more than maxLines lines (TooLarge, EOVERFLOW), leaves the document as it was;
// one for which memory runs out (TooLarge, ENOMEM) leaves it an empty table.
[[nodiscard]] TableLoadResult loadTableFile(const std::string& path, TableDocument& document,
                                            const TableLoadOptions& options);

// An empty table in place of whatever the document held (after a load that ran out of memory).
void resetEmptyTable(TableDocument& document, const RowLabelRule& labels);

// The message for a file that could not be read or loaded, with the reason for `error` (CP932):
// "ファイルを読み込めませんでした。" and the readFailureDetail lines.
std::string loadFailureMessage(const std::string& path, int error);

// The warning for a file whose text ends at a NUL byte (CP932): a save over it would lose the
// rest, and the user has to know before editing.
std::string nulCutMessage(const std::string& path, std::size_t droppedBytes);

} // namespace kol
