#include "table/atomic_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kol {

namespace {
WriteCall writeCall = nullptr;

constexpr std::string_view kTempTag = ".kolumbra-";
// Written bytes are sent on their way to the disk this often, so the closing sync has
// little left to wait for.
constexpr std::size_t kWritebackBytes = 8u << 20;

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

constexpr time_t kStaleSeconds = 24 * 60 * 60;

// The process id in a temporary name "." + name + ".kolumbra-" + pid + "-XXXXXX", or 0 when
// the entry is not one of ours.
pid_t tempOwner(std::string_view entry) {
    std::size_t tag = entry.rfind(kTempTag);
    if (entry.empty() || entry[0] != '.' || tag == std::string_view::npos) return 0;
    std::string_view rest = entry.substr(tag + kTempTag.size());
    std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 9 || rest.size() - dash != 7)
        return 0;
    pid_t pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Removes what killed saves left in the folder: this file's temporary files whose process is
// gone, and any of our temporary files older than a day (a save takes minutes at most).
void removeStaleTemps(const std::string& folder, const std::string& name) {
    const std::string prefix = "." + name + std::string(kTempTag);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view entryName(entry->d_name);
        const pid_t pid = tempOwner(entryName);
        if (pid <= 0 || pid == ::getpid()) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        const bool mine = entryName.substr(0, prefix.size()) == prefix &&
                          entryName.rfind(kTempTag) + kTempTag.size() == prefix.size();
        const bool dead = mine && ::kill(pid, 0) != 0 && errno == ESRCH;
        if (dead || now - st.st_mtime > kStaleSeconds) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// A name beside the target for a temporary file (the six X are for mkostemp to fill).
std::string tempPattern(const std::string& folder, const std::string& name) {
    return folder + "." + name + std::string(kTempTag) + std::to_string(::getpid()) + "-XXXXXX";
}

// Gives an unnamed file a temporary name from `pattern` (trying a few random endings); 0 or
// the errno.
int linkUnnamed(int fd, std::string pattern, std::string& named) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned seed = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(::time(nullptr)) ^
                    static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&pattern));
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            pattern[i] = letters[(seed >> 16) % (sizeof letters - 1)];
        }
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, pattern.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            named = pattern;
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
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
    // Keep the owner, group and permissions of the file being replaced; a new file gets the
    // usual ones.
    struct stat st {};
    mode_t mode = 0666;
    const bool replacing = ::stat(target_.c_str(), &st) == 0;
    if (replacing) {
        if (S_ISDIR(st.st_mode)) return fail(EISDIR);
        // A FIFO, a device or a socket would be replaced by a plain file.
        if (!S_ISREG(st.st_mode)) return fail(ENODEV);
        if ((st.st_mode & 0222) == 0) return fail(EACCES); // marked read-only, also for root
        if (::access(target_.c_str(), W_OK) != 0) return fail(errno); // EACCES, EROFS
        mode = st.st_mode & 07777;
    } else {
        // ELOOP (a link loop), EACCES, ENOTDIR: the rename would replace what is there.
        if (errno != ENOENT) return fail(errno);
        mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    removeStaleTemps(folder, name);
    // An unnamed file leaves nothing behind when the save is killed; it gets its name just
    // before the rename. File systems without O_TMPFILE get a named one.
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ < 0 || ::access("/proc/self/fd", X_OK) != 0) {
        if (fd_ >= 0) ::close(fd_);
        std::string pattern = tempPattern(folder, name);
        fd_ = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0) return fail(errno);
        temp_ = pattern;
    }
    // Only a privileged user may give a file away; a member of the group may keep the group.
    if (replacing && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
        ::fchown(fd_, st.st_uid, st.st_gid) != 0 &&
        ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither is allowed: the new file is this user's, as any file they create.
    }
    ::fchmod(fd_, mode); // after the owner, which clears the set-id bits
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
        written_ += static_cast<std::size_t>(n);
    }
    if (written_ - startedWriteback_ >= kWritebackBytes) {
        // Only a start: errors surface at the sync in commit().
        (void)::sync_file_range(fd_, static_cast<off_t>(startedWriteback_),
                                static_cast<off_t>(written_ - startedWriteback_),
                                SYNC_FILE_RANGE_WRITE);
        startedWriteback_ = written_;
    }
    return status_;
}

IoStatus AtomicFileWriter::commit() {
    if (fd_ < 0 || !status_.ok()) return status_.ok() ? fail(EBADF) : status_;
    int error = ::fsync(fd_) == 0 ? 0 : errno;
    if (error == 0 && temp_.empty()) {
        std::string folder, name;
        splitTarget(target_, folder, name);
        error = linkUnnamed(fd_, tempPattern(folder, name), temp_);
    }
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
