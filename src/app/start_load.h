// The file named at start, read and split on a thread while the window shows itself and waits
// for its start timer. When the timer opens that file, the table is taken over if nothing it
// was built from has changed: the file, the separator, the row labels, the break colours.
#pragma once

#include "table/row_label.h"
#include "table/table_document.h"
#include "table/table_load.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace kol {

class StartLoad {
public:
    struct Options {
        unsigned char separator = ',';
        RowLabelRule labels;
        bool breakColours = false;
        std::size_t maxLines = kMaxTableLines;
        bool operator==(const Options&) const = default;
    };

    // A table as loadTableFile leaves it (one fixed row, two fixed columns, fresh attributes)
    // with what the load reported, and the break colours when they were asked for.
    struct Table {
        TableDocument Doc;
        TableLoadResult Loaded;
    };

    // Called while take() waits: lines split so far of lineCount, which is 0 while the file
    // is still being read and counted.
    using Waiting = std::function<void(std::size_t linesDone, std::size_t lineCount)>;

    StartLoad(std::string path, const Options& options);
    ~StartLoad(); // stops the read and waits for its thread
    StartLoad(const StartLoad&) = delete;
    StartLoad& operator=(const StartLoad&) = delete;

    // Waits for the read, then hands over the table when it was read from `path` with
    // `options` and the file is still the one read; otherwise (or when the read failed)
    // nullptr, and the caller reads the file itself. Once only.
    std::unique_ptr<Table> take(const std::string& path, const Options& options,
                                const Waiting& waiting);

    // What identifies the file's present content: a change or a replacement alters it.
    struct FileStamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modified = 0, changed = 0; // nanoseconds
        bool operator==(const FileStamp&) const = default;
    };
    [[nodiscard]] static bool stampOf(const std::string& path, FileStamp& stamp);

private:
    void run();

    const std::string path_;
    const Options options_;
    FileStamp stamp_;
    std::unique_ptr<Table> table_;

    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> linesDone_{0}, lineCount_{0};
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;
};

} // namespace kol
