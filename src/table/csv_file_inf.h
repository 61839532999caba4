// The load descriptor: one for the whole run, reused by every load.
#pragma once

#include "table/source_text.h"

#include <string>
#include <vector>

namespace kol {

struct TCsvFileInf {
    bool Loaded = false;             // Lines holds a source ready to be placed in the grid
    std::string FileName;            // the source's path (native bytes), or the clipboard caption
    SourceText Lines;                // the raw source; released once the grid has been filled
    std::vector<std::string> Fields; // fields of the line split last
    std::size_t LineCount = 0;
    std::size_t DroppedFromNul = 0; // bytes of the last file from its first NUL on, not loaded
    int ReadError = 0;              // errno of the last file that could not be read
};

} // namespace kol
