// The settings file: one key=value line per setting, CR LF line ends, keys in a fixed order.
// The key=value line test is shared with the start keys.
#pragma once

#include "app/settings_record.h"
#include "table/io_status.h"

#include <string>
#include <string_view>
#include <vector>

namespace kol {

// Upper-cases the ASCII letters only, so no byte of a double-byte character changes.
std::string upperAscii(std::string_view text);

// True when the text before the line's first "=" is `key` (ignoring case, no blanks allowed);
// `value` is then the trimmed rest of the line.
bool MatchKeyLine(std::string_view line, std::string_view key, std::string& value);

// Reads the file over `rec`: keys it does not hold, and values that cannot be read, keep what
// `rec` had. Lines that match no key (the keys of windows this program does not read yet) are
// appended to `unmatched` as they are. False when there is no readable file; `rec` is then
// unchanged.
[[nodiscard]] bool ReadSettings(const std::string& path, SettingsRecord& rec,
                                std::vector<std::string>* unmatched = nullptr);
// The same over the file's text.
void ReadSettingsText(std::string_view text, SettingsRecord& rec,
                      std::vector<std::string>* unmatched = nullptr);

// Replaces the file with every key of `rec` (the print settings last, GP_ before GPB_), then
// `extraLines`. The previous file stays as it was when this fails.
IoStatus WriteSettings(const std::string& path, const SettingsRecord& rec,
                       const std::vector<std::string>& extraLines = {});
// The text WriteSettings writes.
std::string SettingsText(const SettingsRecord& rec, const std::vector<std::string>& extraLines);

} // namespace kol
