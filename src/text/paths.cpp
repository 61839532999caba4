#include "text/paths.h"

#include "text/cp932.h"

#include <sys/stat.h>

namespace kol {

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    std::size_t slash = path.rfind(kPathSeparator);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string extensionOf(const std::string& path) {
    std::string name = fileNameOf(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string changeExtension(const std::string& path, const std::string& extension) {
    std::string ext = extensionOf(path);
    return path.substr(0, path.size() - ext.size()) + extension;
}

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == kPathSeparator) return directory + name;
    return directory + kPathSeparator + name;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string displayPath(const std::string& path) {
    return cp932::fromUtf8(path);
}

} // namespace kol
