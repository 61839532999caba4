// Where the settings file lives.
#pragma once

#include <string>

namespace kol {

// The file beside the program when it is there and its folder can be written (a portable
// installation); otherwise the user's configuration folder, created when missing.
std::string SettingsFilePath(const std::string& programDir);

} // namespace kol
