// Saving under failure: a disk that fills up part-way, a read-only file, a save killed midway.
// The previous file must always survive intact and nothing may be left behind.
#include "support/fault_injection.h"
#include "support/test_support.h"
#include "table/atomic_file.h"
#include "table/row_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kol {
namespace {

constexpr const char* kOld = "old,content\r\n";

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A grid of `rows` data rows of one long cell each.
void fill(StringGrid& grid, int rows) {
    grid.setRowCount(rows + 1);
    grid.setColCount(3);
    grid.setFixedCols(2);
    for (int r = 1; r <= rows; ++r) grid.setCell(2, r, std::string(100, 'a' + r % 26));
}

TEST(SaveFaults, AFullDiskKeepsThePreviousFileAndLeavesNothingBehind) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, kOld);
    StringGrid grid;
    fill(grid, 100000); // several blocks, so the disk fills in the middle of the file
    for (std::size_t limit :
         {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{5000000}}) {
        test::FullDisk disk(limit);
        IoStatus status = writeRowsToFile(grid, 1, grid.rowCount() - 1, ',', path);
        EXPECT_EQ(status.error, ENOSPC) << limit;
        EXPECT_EQ(test::readBytes(path), kOld) << limit;
        EXPECT_EQ(entriesIn(dir.path()), 1u) << limit; // the temporary file is gone
    }
    EXPECT_TRUE(writeRowsToFile(grid, 1, grid.rowCount() - 1, ',', path).ok());
    EXPECT_EQ(std::filesystem::file_size(path), 100000u * 102);
}

TEST(SaveFaults, AReadOnlyFileIsNotReplaced) {
    // The rename of a temporary file would replace it, even though the file itself refuses
    // writes (and the mode bits hold also for root, whom access() lets through).
    test::TempDir dir;
    const std::string path = (dir / "ro.csv").string();
    test::writeBytes(path, kOld);
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(writeFileAtomically(path, "new\r\n").error, EACCES);
    EXPECT_EQ(test::readBytes(path), kOld);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(writeFileAtomically(path, "new\r\n").ok());
}

// Whether the folder's file system gives unnamed temporary files.
bool unnamedFilesIn(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

// Runs a save of `grid` to `path` in a child process that is killed after `budget` bytes.
void killedSave(const StringGrid& grid, const std::string& path, std::size_t budget) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        test::FullDisk disk(budget, true);
        (void)writeRowsToFile(grid, 1, grid.rowCount() - 1, ',', path);
        ::_exit(0); // not reached: the write kills the process
    }
    int wstatus = 0;
    ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFSIGNALED(wstatus));
    EXPECT_EQ(WTERMSIG(wstatus), SIGKILL);
}

TEST(SaveFaults, ASaveKilledMidwayLeavesTheOldFileAndNothingElse) {
    test::TempDir dir;
    const std::string path = (dir / "k.csv").string();
    test::writeBytes(path, kOld);
    StringGrid grid;
    fill(grid, 50000);
    killedSave(grid, path, 1 << 20);
    EXPECT_EQ(test::readBytes(path), kOld);
    // An unnamed temporary file goes with the process; a named one with the next save.
    EXPECT_EQ(entriesIn(dir.path()), unnamedFilesIn(dir.path()) ? 1u : 2u);
    EXPECT_TRUE(writeRowsToFile(grid, 1, 2, ',', path).ok());
    EXPECT_EQ(test::readBytes(path).size(), 2u * 102);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(SaveFaults, LeftoversOfDeadSavesAndDayOldOnesGo) {
    test::TempDir dir;
    const std::string path = (dir / "k.csv").string();
    // This file's leftover of a process that is gone; another file's leftover from two days
    // ago; a file of a similar name that is not ours.
    const std::string dead = (dir / ".k.csv.kolumbra-999999999-abcdef").string();
    const std::string old = (dir / ".other.csv.kolumbra-1-abcdef").string();
    const std::string notOurs = (dir / ".notes.kolumbra-1-abc").string();
    for (const std::string& f : {dead, old, notOurs}) test::writeBytes(f, "x");
    const struct timeval twoDaysAgo[2] = {{::time(nullptr) - 2 * 86400, 0},
                                          {::time(nullptr) - 2 * 86400, 0}};
    ::utimes(old.c_str(), twoDaysAgo);
    ::utimes(notOurs.c_str(), twoDaysAgo);
    EXPECT_TRUE(writeFileAtomically(path, "new\r\n").ok());
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_FALSE(std::filesystem::exists(old));
    EXPECT_TRUE(std::filesystem::exists(notOurs));
}

TEST(SaveFaults, LeftoversOfOtherFilesAndLiveSavesStay) {
    test::TempDir dir;
    const std::string path = (dir / "k.csv").string();
    // Another file's leftover, and one of a process that is still running (this one's parent).
    const std::string other = (dir / ".other.csv.kolumbra-999999999-abcdef").string();
    const std::string live =
        (dir / (".k.csv.kolumbra-" + std::to_string(::getppid()) + "-abcdef")).string();
    test::writeBytes(other, "x");
    test::writeBytes(live, "x");
    EXPECT_TRUE(writeFileAtomically(path, "new\r\n").ok());
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_TRUE(std::filesystem::exists(live));
}

} // namespace
} // namespace kol
