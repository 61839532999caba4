// Replacing a file without ever destroying the previous one: the new content goes to a
// temporary file in the same folder, is flushed to disk and then renamed over the target.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kol {

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter(); // removes the temporary file unless commit() succeeded
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool open();
    bool write(std::string_view bytes);
    bool commit(); // flush, sync, rename over the target

private:
    std::string target_; // a symbolic link is followed, so the link itself stays
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes the whole content in one go.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kol
