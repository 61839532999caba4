#include "app/start_load.h"

#include "table/table_load.h"
#include "view/break_colours.h"

#include <chrono>
#include <sys/stat.h>

namespace kol {

namespace {
struct Stopped {}; // thrown through the split when the table is no longer wanted
} // namespace

StartLoad::StartLoad(std::string path, const Options& options)
    : path_(std::move(path)), options_(options), thread_([this] { run(); }) {}

StartLoad::~StartLoad() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool StartLoad::stampOf(const std::string& path, FileStamp& stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    auto nanoseconds = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    stamp = FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                      static_cast<std::uint64_t>(st.st_size), nanoseconds(st.st_mtim),
                      nanoseconds(st.st_ctim)};
    return true;
}

void StartLoad::run() {
    std::unique_ptr<Table> table;
    // Any failure (unreadable, too large, out of memory, no longer wanted) leaves no table:
    // the window then reads the file itself and reports what it finds.
    try {
        FileStamp before, after;
        if (stampOf(path_, before)) {
            TableLoadOptions load;
            load.separator = options_.separator;
            load.maxLines = options_.maxLines;
            load.labels = options_.labels;
            load.progress = [this](std::size_t line, std::size_t lines) {
                if (stop_) throw Stopped{};
                lineCount_ = lines;
                linesDone_ = line;
            };
            table = std::make_unique<Table>();
            table->Loaded = loadTableFile(path_, table->Doc, load);
            // The table is the file's only if the file stayed the same all through the load.
            if (table->Loaded.ok() && stampOf(path_, after) && before == after) {
                if (options_.breakColours)
                    RecomputeBreakColours(table->Doc.Grid, table->Doc.RowFlags, -1, 0);
                stamp_ = before;
            } else {
                table.reset();
            }
        }
    } catch (...) {
        table.reset();
    }
    std::lock_guard lock(mutex_);
    table_ = std::move(table);
    done_ = true;
    finished_.notify_all();
}

std::unique_ptr<StartLoad::Table> StartLoad::take(const std::string& path, const Options& options,
                                                  const Waiting& waiting) {
    if (path != path_ || options != options_) {
        stop_ = true; // another file or other settings: this table is of no use
        return nullptr;
    }
    std::unique_lock lock(mutex_);
    while (!finished_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; })) {
        lock.unlock();
        if (waiting) waiting(linesDone_, lineCount_);
        lock.lock();
    }
    FileStamp now;
    if (!table_ || !stampOf(path_, now) || now != stamp_) {
        table_.reset();
        return nullptr;
    }
    return std::move(table_);
}

} // namespace kol
