#include "app/settings_location.h"

#include "text/paths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kol {

namespace {

constexpr const char* kSettingsName = "KolumbraOpt2.Dat";

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) : std::string();
}

// A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules ask.
std::string configFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    std::string home = homeFolder();
    return home.empty() ? std::string() : joinPath(home, ".config");
}

} // namespace

std::string HelpFolder(const std::string& programDir) {
    if (isRegularFile(joinPath(programDir, "Doc_Kolumbra_Begin.Txt"))) return programDir;
    std::filesystem::path installed =
        (std::filesystem::path(programDir) / ".." / "share" / "kolumbra").lexically_normal();
    return isDirectory(installed.string()) ? installed.string() : programDir;
}

std::string SettingsFilePath(const std::string& programDir) {
    std::string beside = joinPath(programDir, kSettingsName);
    // The file is replaced through a temporary file beside it, so its folder must be writable.
    if (!programDir.empty() && isRegularFile(beside) && ::access(programDir.c_str(), W_OK) == 0)
        return beside;
    std::string config = configFolder();
    if (config.empty()) return beside; // no home at all: the program folder is all there is
    std::string folder = joinPath(config, "kolumbra");
    // A folder that cannot be made leaves a path that reads as missing and fails to write,
    // which the caller reports.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return joinPath(folder, kSettingsName);
}

} // namespace kol
