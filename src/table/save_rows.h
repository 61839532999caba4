// Saving a grid's rows from a window: the busy cursor while they are written, and a failure
// told in an error box with its reason. Every window that saves rows goes through here, so
// they all say the same.
#pragma once

#include "platform/busy_cursor.h"
#include "platform/platform.h"
#include "table/io_status.h"
#include "table/string_grid.h"

#include <string>

namespace kol {

// Writes rows 1 … last of `grid` to `fileName`, replacing it safely. False when it failed,
// after the error box.
[[nodiscard]] bool writeRowsOrReport(Prompts& prompts, BusyIndicator& busy, const StringGrid& grid,
                                     unsigned char separator, const std::string& fileName);

// The error box of a failed output file: what failed, the path and the reason.
void reportWriteFailure(Prompts& prompts, const std::string& fileName, IoStatus status);

} // namespace kol
