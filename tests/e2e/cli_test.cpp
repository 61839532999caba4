// kolumbra-cli as a script would use it.
#include "support/test_support.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace kol {
namespace {

struct CliRun {
    int status;
    std::string out;
};

// A shell command line's status and what it wrote to standard output.
CliRun shell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{-1, {}};
    if (!pipe) return run;
    std::array<char, 65536> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

CliRun cli(const std::string& args) {
    return shell(std::string(KOLUMBRA_CLI) + " " + args + " 2>&1");
}

std::string q(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

TEST(Cli, InfoCountsRecordsAfterTheTitleRows) {
    EXPECT_EQ(cli("info " + q(test::dataFile("titled.csv"))).out, "rows: 5\ncolumns: 7\n");
    EXPECT_EQ(cli("info --fixed-rows 0 " + q(test::dataFile("titled.csv"))).out,
              "rows: 6\ncolumns: 7\n");
    EXPECT_EQ(cli("info --separator TAB " + q(test::dataFile("tabs.tsv"))).out.substr(0, 9),
              "rows: 2\nc");
}

TEST(Cli, CatWritesWhatSavingWrites) {
    // A file already in the written form comes back byte for byte.
    std::string titled = test::readBytes(test::dataFile("titled.csv"));
    EXPECT_EQ(cli("cat " + q(test::dataFile("titled.csv"))).out, titled);
    CliRun cr = cli("cat " + q(test::dataFile("cr-only.csv")));
    EXPECT_EQ(cr.status, 0);
    EXPECT_EQ(cr.out.find('\r' + std::string("x")), std::string::npos);
    EXPECT_NE(cr.out.find("\r\n"), std::string::npos);
    // Separator names are given in UTF-8.
    CliRun blank =
        cli("cat --separator 空白 --out-separator '|' " + q(test::dataFile("blank-separated.txt")));
    EXPECT_EQ(blank.status, 0);
    EXPECT_EQ(blank.out.find("  "), std::string::npos);
}

TEST(Cli, ConvertRoundTripsThroughTabs) {
    test::TempDir dir;
    std::string original = test::readBytes(test::dataFile("titled.csv"));
    ASSERT_EQ(cli("convert --out-separator TAB " + q(test::dataFile("titled.csv")) + " " +
                  q(dir / "t.tsv"))
                  .status,
              0);
    std::string tsv = test::readBytes(dir / "t.tsv");
    EXPECT_NE(tsv.find('\t'), std::string::npos);
    ASSERT_EQ(cli("convert --separator TAB --out-separator Comma " + q(dir / "t.tsv") + " " +
                  q(dir / "back.csv"))
                  .status,
              0);
    EXPECT_EQ(test::readBytes(dir / "back.csv"), original);
}

TEST(Cli, ConvertsWidthsAndKanaOfTheWholeTable) {
    test::TempDir dir;
    test::writeBytes(dir / "in.csv",
                     "\xB6\xDE\xB1,abc 1\r\n\x82\xA9\x82\xC8\r\n"); // ｶﾞｱ,abc 1 / かな
    ASSERT_EQ(cli("convert --convert full " + q(dir / "in.csv") + " " + q(dir / "full.csv")).status,
              0);
    // ガア,ａｂｃ　１ / かな (hiragana stays)
    EXPECT_EQ(test::readBytes(dir / "full.csv"),
              "\x83\x4B\x83\x41,\x82\x81\x82\x82\x82\x83\x81\x40\x82\x50\r\n\x82\xA9\x82\xC8,\r\n");
    ASSERT_EQ(
        cli("convert --convert half " + q(dir / "full.csv") + " " + q(dir / "half.csv")).status, 0);
    EXPECT_EQ(test::readBytes(dir / "half.csv"), "\xB6\xDE\xB1,abc 1\r\n\x82\xA9\x82\xC8,\r\n");
    ASSERT_EQ(
        cli("convert --convert katakana " + q(dir / "in.csv") + " " + q(dir / "kata.csv")).status,
        0);
    EXPECT_NE(test::readBytes(dir / "kata.csv").find("\x83\x4A\x83\x69"),
              std::string::npos); // カナ
    EXPECT_EQ(
        cli("convert --convert sideways " + q(dir / "in.csv") + " " + q(dir / "x.csv")).status, 2);
}

TEST(Cli, BadInputFailsCleanly) {
    test::TempDir dir;
    CliRun missing = cli("info " + q(dir / "none.csv"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("none.csv"), std::string::npos);
    EXPECT_EQ(cli("info " + q(dir.path())).status, 1);
    CliRun catMissing = cli("cat " + q(dir / "none.csv"));
    EXPECT_EQ(catMissing.status, 1);
    EXPECT_NE(catMissing.out.find("none.csv"), std::string::npos);
    EXPECT_EQ(cli("info --separator nope " + q(test::dataFile("titled.csv"))).status, 2);
    EXPECT_EQ(cli("frobnicate x").status, 2);
    EXPECT_EQ(
        cli("convert " + q(test::dataFile("titled.csv")) + " " + q(dir / "no/dir/out.csv")).status,
        1);
    EXPECT_EQ(cli("info " + q(test::dataFile("empty.csv"))).out, "rows: 0\ncolumns: 1\n");
}

TEST(Cli, FailuresSayTheSystemsReasonAndExitNonZero) {
    test::TempDir dir;
    const std::string in = q(test::dataFile("titled.csv"));
    CliRun noFolder = cli("convert " + in + " " + q(dir / "no/dir/out.csv"));
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_NE(noFolder.out.find("出力ファイルの作成に失敗しました。フォルダーが見つかりません。"),
              std::string::npos)
        << noFolder.out;
    ASSERT_EQ(::mkfifo((dir / "pipe.csv").c_str(), 0600), 0);
    CliRun toFifo = cli("convert " + in + " " + q(dir / "pipe.csv"));
    EXPECT_EQ(toFifo.status, 1);
    EXPECT_NE(toFifo.out.find("通常のファイルではありません"), std::string::npos) << toFifo.out;
    CliRun zero = cli("info /dev/zero");
    EXPECT_EQ(zero.status, 1);
    EXPECT_NE(zero.out.find("/dev/zero"), std::string::npos);
}

// The read failures and the NUL warning word for word: the window's messages on standard
// error, for cat (no table) and for the commands that load one.
TEST(Cli, ReadFailuresAndTheNulWarningAreTheWindowsWords) {
    test::TempDir dir;
    const std::string missing = (dir / "none.csv").string();
    const std::string noFile =
        "kolumbra-cli: ファイルを読み込めませんでした。\n\n   PATH = " + missing +
        "\n   理由 : ファイルがありません。\n";
    for (const std::string command : {"info ", "cat ", "search x ", "sort --keys 1 "}) {
        const bool writes = command.starts_with("sort");
        CliRun run = cli(command + q(missing) + (writes ? " " + q(dir / "out.csv") : ""));
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, noFile) << command;
    }
    CliRun folder = cli("info " + q(dir.path()));
    EXPECT_EQ(folder.out,
              "kolumbra-cli: ファイルを読み込めませんでした。\n\n   PATH = " + dir.path().string() +
                  "\n   理由 : 同じ名前のフォルダーがあります。\n");
    CliRun zero = cli("cat /dev/zero");
    EXPECT_EQ(zero.out, "kolumbra-cli: ファイルを読み込めませんでした。\n\n   PATH = /dev/zero\n"
                        "   理由 : 通常のファイルではありません（装置やソケットなど）。\n");

    const std::string bin = (dir / "bin.csv").string();
    test::writeBytes(bin, std::string("a,b\r\n\x01,c\0tail", 13));
    const std::string warning = "kolumbra-cli: ファイルの途中に NUL 文字（バイナリーデータ）があ"
                                "ります。\n\nNUL 文字から後の 5 バイトは読み込まれていません。\n"
                                "このファイルに上書き保存すると、その部分は失われます。\n\n"
                                "   PATH = " +
                                bin + "\n";
    CliRun info = cli("info " + q(bin));
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, warning + "rows: 1\ncolumns: 2\n");
    CliRun cat = cli("cat " + q(bin));
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.out, warning + "a,b\r\n\x01,c\r\n");
}

TEST(Cli, HugeLinesManyFieldsAndBinaryBytes) {
    test::TempDir dir;
    std::string many;
    for (int i = 0; i < 10000; ++i) many += (i ? "," : "") + std::to_string(i);
    std::string text = std::string(10u << 20, 'x') + "\r\n" + many + "\r\n";
    test::writeBytes(dir / "big.csv", text);
    EXPECT_EQ(cli("info " + q(dir / "big.csv")).out, "rows: 1\ncolumns: 10000\n");
    ASSERT_EQ(cli("convert " + q(dir / "big.csv") + " " + q(dir / "out.csv")).status, 0);
    std::string out = test::readBytes(dir / "out.csv");
    EXPECT_EQ(out.size(), text.size() + 9999); // the short first line gains its empty fields
    EXPECT_TRUE(cli("cat " + q(dir / "big.csv")).out == out); // streamed, as saved
    test::writeBytes(dir / "bin.csv", std::string("a,b\r\n\x01\x02\xFF,c\0tail", 14));
    // The text ends at the NUL, and the message on standard error says how much was left out.
    const std::string out2 = cli("cat " + q(dir / "bin.csv")).out;
    const std::string table = "a,b\r\n\x01\x02\xFF,c\r\n";
    ASSERT_GE(out2.size(), table.size());
    EXPECT_EQ(out2.substr(out2.size() - table.size()), table);
    EXPECT_NE(out2.find("NUL 文字から後の 4 バイトは読み込まれていません。"), std::string::npos);
}

TEST(Cli, SearchWritesTheTitlesAndTheFoundRowsAsSavingDoes) {
    const std::string titled = test::readBytes(test::dataFile("titled.csv"));
    const std::string title = titled.substr(0, titled.find("\r\n") + 2);
    auto line = [&](const char* start) {
        const std::size_t at = titled.find(start);
        return titled.substr(at, titled.find("\r\n", at) + 2 - at);
    };
    // Words in UTF-8, split at half-width and full-width spaces; letter case is ignored.
    EXPECT_EQ(cli("search 'ﾀﾅｶ　2024' " + q(test::dataFile("titled.csv"))).out,
              title + line("1005,"));
    EXPECT_EQ(cli("search --or 'ﾀﾅｶ 山田' " + q(test::dataFile("titled.csv"))).out,
              title + line("1001,") + line("1005,"));
    // No word, or nothing found: the titles and the one empty result row.
    EXPECT_EQ(cli("search '  ' " + q(test::dataFile("titled.csv"))).out, title + ",,,,,,\r\n");
    EXPECT_EQ(cli("search --fixed-rows 0 zzz " + q(test::dataFile("titled.csv"))).out,
              ",,,,,,\r\n");
    EXPECT_EQ(cli("search " + q(test::dataFile("titled.csv"))).status, 2);
    EXPECT_EQ(cli("search --or x " + q(test::dataFile("nonexistent.csv"))).status, 1);
}

TEST(Cli, SortByKeysAsTheWindowDoes) {
    test::TempDir dir;
    test::writeBytes(dir / "t.csv", "id,name,n\r\n1,c,9\r\n2,B,10\r\n3,a,100\r\n4,B,9\r\n");
    ASSERT_EQ(cli("sort --keys 2,3 " + q(dir / "t.csv") + " " + q(dir / "o.csv")).status, 0);
    EXPECT_EQ(test::readBytes(dir / "o.csv"),
              "id,name,n\r\n3,a,100\r\n2,B,10\r\n4,B,9\r\n1,c,9\r\n");
    ASSERT_EQ(cli("sort --keys 3,1 --columns-to-front --no-rows --fixed-rows 0 " +
                  q(dir / "t.csv") + " " + q(dir / "o.csv"))
                  .status,
              0);
    EXPECT_EQ(test::readBytes(dir / "o.csv"),
              "n,id,name\r\n9,1,c\r\n10,2,B\r\n100,3,a\r\n9,4,B\r\n");

    const std::string out = " " + q(dir / "x.csv");
    CliRun beyond = cli("sort --keys 2,4 " + q(dir / "t.csv") + out);
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.out.find("4"), std::string::npos);
    EXPECT_EQ(cli("sort --keys 2,2 " + q(dir / "t.csv") + out).status, 2);
    EXPECT_EQ(cli("sort --keys x " + q(dir / "t.csv") + out).status, 2);
    EXPECT_EQ(cli("sort --no-rows --keys 1 " + q(dir / "t.csv") + out).status, 2);
    EXPECT_EQ(cli("sort " + q(dir / "t.csv") + out).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
}

TEST(Cli, DoubleDashEndsTheOptions) {
    test::TempDir dir;
    test::writeBytes(dir / "-t.csv", "id,word\r\n1,-x\r\n2,y\r\n");
    const std::string table = "-t.csv";
    // Run in the file's folder, so that its name really begins with "-".
    auto run = [&](const std::string& args) {
        return shell("cd " + q(dir.path()) + " && " + KOLUMBRA_CLI + " " + args + " 2>&1");
    };
    EXPECT_EQ(run("info " + table).status, 2); // taken for an option
    EXPECT_EQ(run("info -- " + table).out, "rows: 2\ncolumns: 2\n");
    EXPECT_EQ(run("info --fixed-rows 0 -- " + table).out, "rows: 3\ncolumns: 2\n");
    EXPECT_EQ(run("search -- -x " + table).out, "id,word\r\n1,-x\r\n");
    EXPECT_EQ(run("search --or -- -x --or " + table).status, 2); // three words and files
    EXPECT_EQ(run("cat -- " + table).out, "id,word\r\n1,-x\r\n2,y\r\n");
    ASSERT_EQ(run("convert -- " + table + " -out.csv").status, 0);
    EXPECT_EQ(test::readBytes(dir / "-out.csv"), "id,word\r\n1,-x\r\n2,y\r\n");
    ASSERT_EQ(run("sort --keys 2 -- " + table + " -sorted.csv").status, 0);
    EXPECT_EQ(test::readBytes(dir / "-sorted.csv"), "id,word\r\n1,-x\r\n2,y\r\n");
    // After "--" an option is a name like any other.
    EXPECT_EQ(run("info -- --fixed-rows").status, 1);
    std::filesystem::copy_file(test::dataFile("excel/issues.xlsx"), dir / "-book.xlsx");
    EXPECT_EQ(run("excel --list -- -book.xlsx").out.substr(0, 15), "  1. datatypes\n");
    EXPECT_EQ(run("excel --sheet 3 -- -book.xlsx -sheet.csv").status, 0);
    EXPECT_EQ(test::readBytes(dir / "-sheet.csv"), "1,a,\r\n2,b,\r\n3,c,\r\n");
}

// Standard output that cannot be written is a failure with its reason, never a quiet one.
TEST(Cli, AFailedWriteToStandardOutputSaysWhy) {
    const std::string titled = q(test::dataFile("titled.csv"));
    const std::string full = "kolumbra-cli: 標準出力に書き込めませんでした。ディスクの空き容量が"
                             "足りません。\n";
    for (const std::string command : {"info ", "cat ", "search 山田 "}) {
        CliRun run = shell(std::string(KOLUMBRA_CLI) + " " + command + titled + " 2>&1 >/dev/full");
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, full) << command;
    }
    CliRun list = shell(std::string(KOLUMBRA_CLI) + " excel --list " +
                        q(test::dataFile("excel/issues.xlsx")) + " 2>&1 >/dev/full");
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, full);

    // A reader that stops early: SIGPIPE ends the program quietly, as it ends any tool; where
    // the caller ignores SIGPIPE, the closed pipe is reported and the status is 1.
    test::TempDir dir;
    test::writeBytes(dir / "big.csv", std::string(8u << 20, 'x') + "\r\n");
    const std::string big = q(dir / "big.csv");
    CliRun quiet = shell(std::string(KOLUMBRA_CLI) + " cat " + big + " 2>&1 | head -c 3");
    EXPECT_EQ(quiet.out, "xxx");
    const std::string ignored = "sh -c 'trap \"\" PIPE; " + std::string(KOLUMBRA_CLI) + " cat " +
                                (dir / "big.csv").string() + " 2>" + (dir / "err").string() +
                                "; echo $? >" + (dir / "status").string() +
                                "' | head -c 3 >/dev/null";
    ASSERT_EQ(std::system(ignored.c_str()), 0);
    EXPECT_EQ(test::readBytes(dir / "status"), "1\n");
    EXPECT_EQ(
        test::readBytes(dir / "err"),
        "kolumbra-cli: 標準出力に書き込めませんでした。書き込み先のパイプが閉じられています。\n");
}

// The first `width` bytes of every line after the title line, each followed by a blank.
std::string lineStarts(const std::string& out, std::size_t width) {
    std::string starts;
    for (std::size_t at = out.find("\r\n"); at != std::string::npos && at + 2 < out.size();
         at = out.find("\r\n", at + 2))
        starts += out.substr(at + 2, width) + " ";
    return starts;
}

TEST(Cli, SortKeepsRowsWithEqualKeysInTheirOrder) {
    test::TempDir dir;
    const std::string file = q(test::dataFile("postal-codes.csv"));
    ASSERT_EQ(cli("sort --keys 2 " + file + " " + q(dir / "o.csv")).status, 0);
    EXPECT_EQ(lineStarts(test::readBytes(dir / "o.csv"), 10),
              "0600000,01 0640941,01 0010010,01 0600042,01 1000001,13 1000005,13 1500002,13 "
              "1020072,13 1500001,13 5300001,27 5300012,27 5410041,27 9000000,47 ");
    // Sorted again by the city: within each city the prefecture sort's order holds.
    ASSERT_EQ(cli("sort --keys 4 " + q(dir / "o.csv") + " " + q(dir / "p.csv")).status, 0);
    const std::string again = test::readBytes(dir / "p.csv");
    EXPECT_LT(again.find("0600000"), again.find("0640941"));
    EXPECT_LT(again.find("0640941"), again.find("0600042"));
    EXPECT_LT(again.find("1000001"), again.find("1000005"));
    EXPECT_LT(again.find("1000005"), again.find("1020072"));
}

TEST(Cli, SearchIgnoresTheCaseOfFullWidthLetters) {
    const std::string file = q(test::dataFile("postal-codes.csv"));
    const std::string found = "5300001 1000005 1500002 1020072 ";
    EXPECT_EQ(lineStarts(cli("search ｊｒ " + file).out, 7), found);
    EXPECT_EQ(lineStarts(cli("search ＪＲ " + file).out, 7), found);
    EXPECT_EQ(lineStarts(cli("search --or 'zz ｊＲ' " + file).out, 7), found);
    // Half-width letters are other letters: only the one empty result row.
    EXPECT_EQ(lineStarts(cli("search jr " + file).out, 7), ",,,,,\r\n ");
}

TEST(CliExcel, ListsTheSheetsAndSavesOneAsTheSaveCommandWould) {
    const std::string book = q(test::dataFile("excel/issues.xlsx"));
    CliRun list = cli("excel --list " + book);
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "  1. datatypes\n  2. Sheet1\n  3. issue2\n  4. issue5\n  5. issue6\n"
                        "  6. spc_chrs\n");
    test::TempDir dir;
    ASSERT_EQ(cli("excel --sheet 3 " + book + " " + q(dir / "out.csv")).status, 0);
    EXPECT_EQ(test::readBytes(dir / "out.csv"), "1,a,\r\n2,b,\r\n3,c,\r\n");
    ASSERT_EQ(cli("excel " + book + " " + q(dir / "first.csv")).status, 0);
    EXPECT_EQ(test::readBytes(dir / "first.csv").substr(0, 9), "1,\r\n1.5,\r");
}

TEST(CliExcel, RefusesWhatCannotBeRead) {
    test::TempDir dir;
    test::writeBytes(dir / "page.xls", "<html></html>");
    CliRun bad = cli("excel --list " + q(dir / "page.xls"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("このファイルは Excel で開けません。"), std::string::npos);
    EXPECT_EQ(
        cli("excel --sheet 9 " + q(test::dataFile("excel/issues.xlsx")) + " " + q(dir / "x.csv"))
            .status,
        1);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
    EXPECT_EQ(cli("excel --sheet 0 a b").status, 2);
}

} // namespace
} // namespace kol
