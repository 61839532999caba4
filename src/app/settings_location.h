// Where the settings file and the help documents live.
#pragma once

#include <string>

namespace kol {

// The file beside the program when it is there and its folder can be written (a portable
// installation); otherwise the user's configuration folder, created when missing.
std::string SettingsFilePath(const std::string& programDir);

// The help documents' folder: beside the program in a build tree, P/share/kolumbra when the
// program runs from P/bin of an installed tree.
std::string HelpFolder(const std::string& programDir);

} // namespace kol
