// kolumbra-cli print and html: the PDF's text reads back, the pagination is what its inputs
// give, and wrong calls and failed writes say why and leave the old file.
#include "support/test_support.h"
#include "text/cp932.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <vector>

namespace kol {
namespace {

struct CliOutcome {
    int status;
    std::string out;
};

CliOutcome shell(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    CliOutcome run{-1, {}};
    if (!pipe) return run;
    std::array<char, 65536> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string q(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

CliOutcome cli(const std::string& args) {
    return shell(std::string(KOLUMBRA_CLI) + " " + args + " 2>&1");
}

class PrintCli : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path table(const std::string& utf8Lines) {
        const auto path = dir / "t.csv";
        test::writeBytes(path, sj(utf8Lines));
        return path;
    }
};

TEST_F(PrintCli, PdfOfAJapaneseTableReadsBackAsItsText) {
    if (shell("command -v pdftotext >/dev/null").status != 0) GTEST_SKIP() << "no pdftotext";
    const auto csv = table("品名,産地,数量\r\n日本酒,新潟県,12\r\n味噌,長野県,345\r\n");
    const auto pdf = dir / "t.pdf";
    const CliOutcome run = cli("print --pdf " + q(pdf) + " " + q(csv));
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string text = shell("pdftotext -layout " + q(pdf) + " -").out;
    for (const char* cell : {"品名", "日本酒", "新潟県", "味噌", "長野県", "345", "File.Name:"})
        EXPECT_NE(text.find(cell), std::string::npos) << cell << "\n" << text;
    const std::string fonts = shell("pdffonts " + q(pdf)).out;
    EXPECT_NE(fonts.find("+IPAMincho"), std::string::npos) << fonts; // a subset, by name
    EXPECT_NE(fonts.find("yes yes yes"), std::string::npos) << fonts;
}

// The --layout lines as name → numbers.
std::vector<long> numbers(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + " ", 0) != 0) continue;
        std::istringstream in(line.substr(name.size()));
        std::vector<long> values;
        for (long v; in >> v;) values.push_back(v);
        return values;
    }
    return {};
}

TEST_F(PrintCli, LayoutOfATinyTable) {
    const auto csv = table("a,bb\r\nc,dd\r\n");
    const CliOutcome run = cli("print --layout " + q(csv));
    ASSERT_EQ(run.status, 0) << run.out;
    // A4 portrait: 210 × 297 mm, 96 units an inch.
    EXPECT_EQ(numbers(run.out, "fixed-rows"), std::vector<long>{2});    // column numbers, title
    EXPECT_EQ(numbers(run.out, "fixed-columns"), std::vector<long>{2}); // labels, key column
    // The label column: "1" and two letters of 7 units, widened by a letter; no key column.
    EXPECT_EQ(numbers(run.out, "fixed-column-widths"), (std::vector<long>{28, 0}));
    EXPECT_EQ(numbers(run.out, "row-heights").size(), 3u);
    EXPECT_EQ(numbers(run.out, "column-widths").size(), 4u);
    EXPECT_NE(run.out.find("one-page-factor 1.000000\n"), std::string::npos);
    EXPECT_NE(run.out.find("pages 1\npage 1 rows 0-2 columns 0-3\n  band 1 rows 0-2 columns 0-3\n"),
              std::string::npos)
        << run.out;
}

TEST_F(PrintCli, LayoutCutsRowsWhereTheUsableHeightEnds) {
    std::string lines = "h1,h2\r\n";
    for (int r = 1; r <= 120; ++r) lines += std::to_string(r) + ",x\r\n";
    const CliOutcome run = cli("print --layout " + q(table(lines)));
    ASSERT_EQ(run.status, 0) << run.out;
    const std::vector<long> heights = numbers(run.out, "row-heights");
    const long usable = numbers(run.out, "usable-height").at(0);
    const long fixed = heights[0] + heights[1];
    // Page 1 holds rows from 0 while they fit; page 2 repeats the fixed rows above the rest.
    long used = 0;
    std::size_t last = 0;
    while (last < heights.size() && used + heights[last] <= usable) used += heights[last++];
    std::ostringstream page1, page2;
    page1 << "page 1 rows 0-" << last - 1 << " columns 0-3\n";
    EXPECT_NE(run.out.find(page1.str()), std::string::npos) << run.out;
    used = fixed;
    std::size_t next = last;
    while (next < heights.size() && used + heights[next] <= usable) used += heights[next++];
    page2 << "page 2 rows " << last << '-' << next - 1 << " columns 0-3\n";
    EXPECT_NE(run.out.find(page2.str()), std::string::npos) << run.out;
}

TEST_F(PrintCli, WrongPageRangesAreRefused) {
    const auto csv = table("a,b\r\nc,d\r\n");
    const auto pdf = q(dir / "t.pdf");
    CliOutcome run = cli("print --pdf " + pdf + " --pages 2-3 " + q(csv));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("--pages 2-3: the table has 1 page"), std::string::npos) << run.out;
    run = cli("print --pdf " + pdf + " --pages 3-1 " + q(csv));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("the first page comes after the last"), std::string::npos) << run.out;
    EXPECT_EQ(cli("print --pdf " + pdf + " --pages 0-1 " + q(csv)).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.pdf"));
}

TEST_F(PrintCli, FailuresLeaveTheOldFile) {
    const auto csv = table("a,b\r\nc,d\r\n");
    CliOutcome run = cli("print --pdf " + q(dir / "missing" / "t.pdf") + " " + q(csv));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(cp932::toUtf8(sj("出力ファイルの作成に失敗しました。"))),
              std::string::npos)
        << run.out;

    // A title cell taller than the largest page at the smallest scale: the too-large message,
    // and nothing written.
    const auto old = dir / "old.pdf";
    test::writeBytes(old, "old");
    test::writeBytes(dir / "tall.csv", std::string(200000, 'x') + ",h\r\na,b\r\n");
    run =
        cli("print --pdf " + q(old) + " --scale 10 --paper A3 --landscape " + q(dir / "tall.csv"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(cp932::toUtf8(sj("用紙に描画できない大きなセルがあります。"))),
              std::string::npos)
        << run.out;
    EXPECT_TRUE(test::readBytes(old) == "old");
}

TEST_F(PrintCli, HtmlEscapesTheTable) {
    const auto csv = table("a,b\r\n<script>x</script>,&\r\n");
    const auto html = dir / "t.html";
    const CliOutcome run = cli("html " + q(csv) + " " + q(html));
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string doc = test::readBytes(html);
    EXPECT_EQ(doc.find("<script>"), std::string::npos);
    EXPECT_NE(doc.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(doc.find("<Pre>&amp;</TD>"), std::string::npos);
}

} // namespace
} // namespace kol
