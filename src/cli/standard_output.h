// kolumbra-cli's standard output: every byte written or the reason it could not be. A closed
// pipe ends the program by SIGPIPE as it ends any command-line tool; where the caller ignores
// SIGPIPE, the write fails with EPIPE and is reported like any other failed write.
#pragma once

#include "table/io_status.h"

#include <string_view>

namespace kol {

// Writes all of `bytes` to standard output.
[[nodiscard]] IoStatus writeToStdout(std::string_view bytes);

// Lets a pipe on standard output take a block in a few writes instead of one per 64 KiB.
void widenStdoutPipe();

// Says on standard error why standard output could not be written; the exit status for it.
int reportStdoutFailure(IoStatus status);

} // namespace kol
