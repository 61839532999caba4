// Writes grid rows as lines of the CSV text form, each followed by CR LF.
#pragma once

#include "table/io_status.h"
#include "table/string_grid.h"

#include <functional>
#include <string>
#include <string_view>

namespace kol {

// Appends the line of row r: the cells after the fixed columns joined with the separator.
void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator);

// Takes the written text block after block, in order; a failure stops the writing.
using RowSink = std::function<IoStatus(std::string_view)>;

// Formats `blocks` blocks on two threads (format(b, out) appends block b to an empty `out`)
// and hands them to `sink` in order, each as soon as the one before it has gone; a failing
// sink, or memory running out, stops the rest.
using BlockFormat = std::function<void(int block, std::string& out)>;
[[nodiscard]] IoStatus writeBlocksInOrder(int blocks, const BlockFormat& format,
                                          const RowSink& sink);

// The lines of rows first .. last (clamped to the grid), formatted in blocks on two threads
// while earlier blocks go to `sink`.
[[nodiscard]] IoStatus writeRows(const StringGrid& grid, int first, int last,
                                 unsigned char separator, const RowSink& sink);

// Writes rows first .. last (clamped to the grid) to `path`, replacing it safely.
// On failure the previous file is untouched.
[[nodiscard]] IoStatus writeRowsToFile(const StringGrid& grid, int first, int last,
                                       unsigned char separator, const std::string& path);

} // namespace kol
