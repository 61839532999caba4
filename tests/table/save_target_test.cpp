// Saving over what is not a plain writable file: a FIFO, a device, a link loop, a folder, a
// folder the user may not write; and keeping the owner of a file saved over.
#include "support/test_support.h"
#include "table/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kol {
namespace {

namespace fs = std::filesystem;

TEST(SaveTargets, FifosDevicesAndLinkLoopsAreRefusedAndStay) {
    // A FIFO or a device was replaced by a plain file and the save reported success (as root,
    // a save to /dev/null would replace it); a link loop was replaced by a file.
    test::TempDir dir;
    const std::string fifo = (dir / "pipe.csv").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(writeFileAtomically(fifo, "new\r\n").error, ENODEV);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A device node of the test's own (a null device, where the test may make one), reached
    // through a link: never /dev/null itself, which a faulty save would replace.
    const fs::path device = dir / "null-device";
    const fs::path toDevice = dir / "device.csv";
    fs::create_symlink(device, toDevice);
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(writeFileAtomically(toDevice.string(), "new\r\n").error, ENODEV);
        EXPECT_TRUE(fs::is_character_file(device));
        EXPECT_TRUE(fs::is_symlink(toDevice));
        fs::remove(device);
    }
    fs::remove(toDevice);

    fs::create_symlink("b.csv", dir / "a.csv");
    fs::create_symlink("a.csv", dir / "b.csv");
    EXPECT_EQ(writeFileAtomically((dir / "a.csv").string(), "new\r\n").error, ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir / "a.csv"));
    EXPECT_TRUE(fs::is_symlink(dir / "b.csv"));

    fs::create_directory(dir / "folder.csv");
    EXPECT_EQ(writeFileAtomically((dir / "folder.csv").string(), "new\r\n").error, EISDIR);
    EXPECT_TRUE(fs::is_directory(dir / "folder.csv"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4);
}

// Runs `body` as an unprivileged user in a child process (the tests may run as root, whom
// permissions do not stop); its exit status is what it returns.
template <typename F> int asOtherUser(F body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SaveTargets, AReadOnlyFolderRefusesTheSaveAndKeepsTheFile) {
    test::TempDir dir;
    const std::string path = (dir / "t.csv").string();
    test::writeBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);
    int error = 0;
    if (::geteuid() == 0)
        error = asOtherUser([&] { return writeFileAtomically(path, "new\r\n").error; });
    else
        error = writeFileAtomically(path, "new\r\n").error;
    ::chmod(dir.path().c_str(), 0755);
    if (error == 99) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(test::readBytes(path), "old\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(SaveTargets, TheOwnerGroupAndModeOfTheOldFileStay) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    test::TempDir dir;
    const std::string path = (dir / "owned.csv").string();
    test::writeBytes(path, "old\r\n");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new\r\n").ok());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::readBytes(path), "new\r\n");
}

} // namespace
} // namespace kol
