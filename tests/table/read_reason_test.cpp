// Why a read failed, as the load's message says it: open() gives one errno for a missing file
// and a missing folder, and a refused read is no read-only file.
#include "support/test_support.h"
#include "table/io_status.h"
#include "table/table_load.h"
#include "text/cp932.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kol {
namespace {

TEST(ReadReason, AMissingFileIsNotAMissingFolder) {
    test::TempDir dir;
    EXPECT_EQ(readReason((dir / "none.csv").string(), ENOENT), sj("ファイルがありません。"));
    EXPECT_EQ(readReason((dir / "no/none.csv").string(), ENOENT),
              sj("フォルダーが見つかりません。"));
    // A file in the working folder, and a "folder" that is a file.
    EXPECT_EQ(readReason("surely-not-here-4711.csv", ENOENT), sj("ファイルがありません。"));
    test::writeBytes(dir / "plain", "x");
    EXPECT_EQ(readReason((dir / "plain/none.csv").string(), ENOENT),
              sj("フォルダーが見つかりません。"));
    // Writes keep the folder's reason: a file to be written need not exist.
    EXPECT_EQ(ioReason(ENOENT), sj("フォルダーが見つかりません。"));
}

TEST(ReadReason, ARefusedReadSaysThePermissionIsMissing) {
    EXPECT_EQ(readReason("/x.csv", EACCES), sj("ファイルを読み取る権限がありません。"));
    EXPECT_EQ(readReason("/x.csv", EPERM), sj("ファイルを読み取る権限がありません。"));
    EXPECT_EQ(readReason("/x.csv", ENOSPC), ioReason(ENOSPC));
    EXPECT_EQ(ioReason(EPIPE), sj("書き込み先のパイプが閉じられています。"));
}

TEST(ReadReason, TheLoadMessageCarriesIt) {
    test::TempDir dir;
    const std::string missing = (dir / "none.csv").string();
    TableDocument doc;
    const TableLoadResult read = loadTableFile(missing, doc, TableLoadOptions{});
    ASSERT_EQ(read.status, SourceText::ReadStatus::NotFound);
    EXPECT_EQ(loadFailureMessage(missing, read.error),
              sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + missing +
                  sj("\r\n   理由 : ファイルがありません。"));

    const std::string locked = (dir / "locked.csv").string();
    test::writeBytes(locked, "a,b\r\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    if (::access(locked.c_str(), R_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
    const TableLoadResult refused = loadTableFile(locked, doc, TableLoadOptions{});
    EXPECT_EQ(refused.error, EACCES);
    EXPECT_EQ(loadFailureMessage(locked, refused.error),
              sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") + locked +
                  sj("\r\n   理由 : ファイルを読み取る権限がありません。"));
}

} // namespace
} // namespace kol
