// Writes grid rows as lines of the CSV text form, each followed by CR LF.
#pragma once

#include "table/io_status.h"
#include "table/string_grid.h"

#include <string>

namespace kol {

// Appends the line of row r: the cells after the fixed columns joined with the separator.
void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator);

// Writes rows first .. last (clamped to the grid) to `path`, replacing it safely.
// On failure the previous file is untouched.
IoStatus writeRowsToFile(const StringGrid& grid, int first, int last, unsigned char separator,
                         const std::string& path);

} // namespace kol
