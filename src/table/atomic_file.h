// Replacing a file without ever destroying the previous one: the new content goes to a
// temporary file in the same folder, is flushed to disk and then renamed over the target,
// keeping the target's owner, group and permissions where the user may.
#pragma once

#include "table/io_status.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace kol {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter(); // removes the temporary file unless commit() succeeded
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Refuses a target that is a folder (EISDIR), not a regular file (ENODEV: a FIFO or a
    // device would be replaced by a plain file), a link loop (ELOOP) or a file no one may write
    // (EACCES): the rename would replace even a read-only file. The new file is unnamed where
    // the file system allows (O_TMPFILE), so a killed save leaves nothing behind.
    IoStatus open();
    IoStatus write(std::string_view bytes);
    IoStatus commit(); // flush, sync, rename over the target, sync the folder

private:
    IoStatus fail(int error);

    std::string target_; // a symbolic link is followed, so the link itself stays
    std::string temp_;
    int fd_ = -1;
    std::size_t written_ = 0;
    std::size_t startedWriteback_ = 0; // bytes already handed to the disk's writeback
    IoStatus status_;
};

// Writes the whole content in one go.
IoStatus writeFileAtomically(const std::string& path, std::string_view bytes);

// The system call the writer writes with; tests put one in its place that fails part-way, as a
// full disk does (nullptr restores ::write).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void setWriteCallForTesting(WriteCall call);

} // namespace kol
