// Path pieces on native byte strings. The platform's separator is used and no path ever
// changes case (file names are case-sensitive here).
#pragma once

#include <string>

namespace kol {

constexpr char kPathSeparator = '/';

std::string directoryOf(const std::string& path); // with its trailing separator, or empty
std::string fileNameOf(const std::string& path);
std::string extensionOf(const std::string& path); // ".csv", or empty; only the file name part
std::string changeExtension(const std::string& path, const std::string& extension);
std::string joinPath(const std::string& directory, const std::string& name);
bool isDirectory(const std::string& path);
// CP932 text of a path for captions and messages (paths themselves stay native bytes).
std::string displayPath(const std::string& path);

} // namespace kol
