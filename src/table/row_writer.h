// Writes grid rows as lines of the CSV text form, each followed by CR LF.
#pragma once

#include "table/string_grid.h"

#include <string>

namespace kol {

// Appends the line of row r: the cells after the fixed columns joined with the separator.
void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator);

// Writes rows first .. last (clamped to the grid) to `path`, replacing it safely.
// Returns false when the file could not be written; the previous file is then untouched.
bool writeRowsToFile(const StringGrid& grid, int first, int last, unsigned char separator,
                     const std::string& path);

} // namespace kol
