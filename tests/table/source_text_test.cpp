#include "support/test_support.h"
#include "table/source_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kol {
namespace {

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    for (LineCursor c(text); !c.atEnd();) out.emplace_back(c.next());
    EXPECT_EQ(out.size(), countLines(text));
    return out;
}

using Lines = std::vector<std::string>;

TEST(SourceLines, BreaksAtCrLfCrAndLfWithoutAFinalEmptyLine) {
    EXPECT_EQ(lines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(lines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(lines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(lines("\n"), (Lines{""}));
    EXPECT_EQ(lines("\r\r\n\n"), (Lines{"", "", ""}));
    EXPECT_TRUE(lines("").empty());
}

TEST(SourceLines, SampleFilesOfEveryLineEnd) {
    for (const char* name : {"cr-only.csv", "lf-only.csv", "mixed-endings.csv"}) {
        SourceText text;
        ASSERT_EQ(SourceText::readFile(test::dataFile(name).string(), text),
                  SourceText::ReadStatus::Ok);
        Lines got = lines(text.text());
        for (const std::string& l : got)
            EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << name;
        EXPECT_GE(got.size(), 2u) << name;
    }
}

TEST(SourceLines, LongCrOnlyTextIsWalkedInOnePass) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "x\r";
    EXPECT_EQ(countLines(text), 200000u);
}

TEST(SourceLines, CountedInSlicesAsInOneGoWhateverFallsOnASliceBorder) {
    // Slices are 64 MiB; a CR LF pair, a lone CR and a lone LF right at the border.
    const std::size_t slice = 64u << 20;
    for (const char* around : {"\r\n", "\r", "\n", "ab"})
        for (std::size_t before : {slice - 1, slice - 2, slice}) {
            std::string text(before, 'a');
            text += around;
            text += "b,c\r\n\r";
            const std::size_t whole = countLines(text);
            SourceText source{std::move(text)};
            EXPECT_EQ(countSourceLines(source), whole) << around << " " << before;
        }
}

TEST(SourceFile, NulEndsTheText) {
    SourceText text;
    ASSERT_EQ(SourceText::readFile(test::dataFile("nul-inside.csv").string(), text),
              SourceText::ReadStatus::Ok);
    EXPECT_EQ(text.text().find('\0'), std::string_view::npos);
    EXPECT_LT(text.text().size(), test::readBytes(test::dataFile("nul-inside.csv")).size());
    EXPECT_EQ(SourceText(std::string("ab\0cd", 5)).text(), "ab");
}

TEST(SourceFile, ReportsMissingFilesAndFolders) {
    test::TempDir dir;
    SourceText text;
    EXPECT_EQ(SourceText::readFile((dir / "none.csv").string(), text),
              SourceText::ReadStatus::NotFound);
    EXPECT_EQ(SourceText::readFile(dir.path().string(), text), SourceText::ReadStatus::IsDirectory);
    test::writeBytes(dir / "empty.csv", "");
    ASSERT_EQ(SourceText::readFile((dir / "empty.csv").string(), text), SourceText::ReadStatus::Ok);
    EXPECT_TRUE(text.text().empty());
}

TEST(SourceFile, DevicesAreRefusedAndAPipeWithoutWriterReadsEmpty) {
    // /dev/zero would be read for ever (a NUL ends the text, not the reading); opening a pipe
    // no program writes to waited for one for ever.
    SourceText text;
    int error = 0;
    EXPECT_EQ(SourceText::readFile("/dev/zero", text, &error), SourceText::ReadStatus::NotAFile);
    EXPECT_EQ(error, ENODEV);
    test::TempDir dir;
    const std::string fifo = (dir / "pipe.csv").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(SourceText::readFile(fifo, text, &error), SourceText::ReadStatus::Ok);
    EXPECT_TRUE(text.text().empty());
    EXPECT_EQ(SourceText::readFile((dir / "none").string(), text, &error),
              SourceText::ReadStatus::NotFound);
    EXPECT_EQ(error, ENOENT);
}

TEST(SourceFile, CountsTheBytesANulLeavesOut) {
    SourceText text(std::string("ab\0cd\0", 6));
    EXPECT_EQ(text.bytesFromNul(), 4u);
    SourceText moved = std::move(text);
    EXPECT_EQ(moved.bytesFromNul(), 4u);
    EXPECT_EQ(SourceText(std::string("abc")).bytesFromNul(), 0u);
}

TEST(SourceFile, MovedTextStaysValid) {
    test::TempDir dir;
    test::writeBytes(dir / "a.csv", "one\r\ntwo\r\n");
    SourceText a;
    ASSERT_EQ(SourceText::readFile((dir / "a.csv").string(), a), SourceText::ReadStatus::Ok);
    SourceText b = std::move(a);
    EXPECT_EQ(b.text(), "one\r\ntwo\r\n");
    EXPECT_TRUE(a.text().empty());
    SourceText c(std::string("x\ny"));
    SourceText d = std::move(c);
    EXPECT_EQ(d.text(), "x\ny");
}

} // namespace
} // namespace kol
