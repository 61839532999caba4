// A named pipe that never ends: held open for writing by the test itself and fed by a thread
// until the object goes (`first` once, then `then` again and again), so only a NUL or a memory
// limit can stop a reader.
#pragma once

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kol::test {

class EndlessPipe {
public:
    explicit EndlessPipe(std::string path, std::string first = {},
                         std::string then = std::string(4096, 'y'))
        : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0600) != 0) return;
        held_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
        if (held_ < 0) return;
        ::fcntl(held_, F_SETFL, O_NONBLOCK);
        writer_ = std::thread([this, first = std::move(first), then = std::move(then)] {
            std::size_t at = 0;
            while (!stop_) {
                const std::string_view rest =
                    at < first.size() ? std::string_view(first).substr(at) : std::string_view(then);
                const ssize_t n = ::write(held_, rest.data(), rest.size());
                if (n > 0 && at < first.size())
                    at += static_cast<std::size_t>(n);
                else if (n <= 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~EndlessPipe() {
        stop_ = true;
        if (writer_.joinable()) writer_.join();
        if (held_ >= 0) ::close(held_);
    }
    EndlessPipe(const EndlessPipe&) = delete;
    EndlessPipe& operator=(const EndlessPipe&) = delete;

    bool ready() const { return held_ >= 0; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int held_ = -1;
    std::atomic<bool> stop_{false};
    std::thread writer_;
};

} // namespace kol::test
