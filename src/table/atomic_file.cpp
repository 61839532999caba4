#include "table/atomic_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kol {

namespace {
WriteCall writeCall = nullptr;

constexpr std::string_view kTempTag = ".kolumbra-";

std::string resolveLink(const std::string& path) {
    char buffer[PATH_MAX];
    std::string current = path;
    for (int depth = 0; depth < 16; ++depth) {
        ssize_t n = readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (n < 0) break;
        std::string link(buffer, static_cast<std::size_t>(n));
        if (!link.empty() && link[0] == '/') {
            current = link;
        } else {
            std::size_t slash = current.rfind('/');
            current =
                (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + link;
        }
    }
    return current;
}

// Temporary files are named "." + name + ".kolumbra-" + pid + "-XXXXXX". One whose process is
// gone was left by a save that was killed midway; it is removed at the next save of the file.
void removeStaleTemps(const std::string& folder, const std::string& name) {
    const std::string prefix = "." + name + std::string(kTempTag);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view entryName(entry->d_name);
        if (entryName.substr(0, prefix.size()) != prefix) continue;
        std::string_view rest = entryName.substr(prefix.size());
        std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos || dash == 0 || dash > 9) continue;
        pid_t pid = 0;
        bool digits = true;
        for (char c : rest.substr(0, dash)) {
            digits = digits && c >= '0' && c <= '9';
            pid = pid * 10 + (c - '0');
        }
        if (!digits || pid == ::getpid() || pid <= 0) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlink((folder + std::string(entryName)).c_str());
    }
    ::closedir(dir);
}

void splitTarget(const std::string& target, std::string& folder, std::string& name) {
    std::size_t slash = target.rfind('/');
    folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    name = slash == std::string::npos ? target : target.substr(slash + 1);
}
} // namespace

void setWriteCallForTesting(WriteCall call) {
    writeCall = call;
}

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(resolveLink(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

IoStatus AtomicFileWriter::fail(int error) {
    status_ = IoStatus::failure(error);
    return status_;
}

IoStatus AtomicFileWriter::open() {
    std::string folder, name;
    splitTarget(target_, folder, name);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0666;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        if ((st.st_mode & 0222) == 0) return fail(EACCES); // marked read-only, also for root
        if (::access(target_.c_str(), W_OK) != 0) return fail(errno); // EACCES, EROFS
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    removeStaleTemps(folder, name);
    std::string pattern =
        folder + "." + name + std::string(kTempTag) + std::to_string(::getpid()) + "-XXXXXX";
    fd_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return fail(errno);
    temp_ = pattern;
    fchmod(fd_, mode);
    return status_;
}

IoStatus AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0 || !status_.ok()) return status_.ok() ? fail(EBADF) : status_;
    while (!bytes.empty()) {
        ssize_t n = writeCall ? writeCall(fd_, bytes.data(), bytes.size())
                              : ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(n < 0 ? errno : ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return status_;
}

IoStatus AtomicFileWriter::commit() {
    if (fd_ < 0 || !status_.ok()) return status_.ok() ? fail(EBADF) : status_;
    int error = ::fsync(fd_) == 0 ? 0 : errno;
    if (::close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    if (error != 0) return fail(error);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail(errno);
    temp_.clear();
    // The rename itself reaches the disk only with the folder.
    std::string folder, name;
    splitTarget(target_, folder, name);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return status_;
}

IoStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    if (IoStatus s = writer.open(); !s) return s;
    if (IoStatus s = writer.write(bytes); !s) return s;
    return writer.commit();
}

} // namespace kol
