// The key=value line format of the settings file, shared with the start keys.
#pragma once

#include <string>
#include <string_view>

namespace kol {

// Upper-cases the ASCII letters only, so no byte of a double-byte character changes.
std::string upperAscii(std::string_view text);

// True when the text before the line's first "=" is `key` (ignoring case, no blanks allowed);
// `value` is then the trimmed rest of the line.
bool MatchKeyLine(std::string_view line, std::string_view key, std::string& value);

} // namespace kol
