// The outcome of a file operation: success, or the errno that ended it, so the message the
// user sees can say why.
#pragma once

#include <cerrno>
#include <string>

namespace kol {

struct [[nodiscard]] IoStatus {
    int error = 0; // errno; 0 on success

    static IoStatus success() { return {}; }
    static IoStatus failure(int error) { return {error != 0 ? error : EIO}; }
    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
};

// Not an errno: the file was shortened by another program while it was being read, so what
// was read is not the file.
inline constexpr int kChangedWhileReading = -1;

// The reason of a failure for a message box, in Japanese (CP932).
std::string ioReason(int error);

// The reason a read of `path` failed: as ioReason, but a missing file whose folder exists is
// said to be missing itself, and a refused access is a file that may not be read.
std::string readReason(const std::string& path, int error);

// "   PATH = path\r\n   理由 : reason" lines for a failure message (CP932).
std::string ioFailureDetail(const std::string& path, IoStatus status);

// The same lines for a read that failed, with readReason.
std::string readFailureDetail(const std::string& path, int error);

} // namespace kol
