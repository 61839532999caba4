// Reads one stream of a compound document (the container of .xls files): the header, the
// sector allocation table, the directory and the short-stream table, every index checked.
#pragma once

#include <string>

namespace kol::workbook {

// The stream named `name` (ASCII, compared without case) of the compound document `file`;
// false when the file is no compound document or the stream is missing or damaged.
[[nodiscard]] bool readCompoundStream(const std::string& file, const std::string& name,
                                      std::string& out);

} // namespace kol::workbook
