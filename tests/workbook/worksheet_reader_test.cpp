// The worksheet read on two threads against the same read on one, the in-place scan against
// the copying one, numbers read against strtod, and whole-entry inflating against libzip.
#include "support/test_support.h"
#include "workbook/cell_format.h"
#include "workbook/number_text.h"
#include "workbook/sheet_xml_scanner.h"
#include "workbook/worksheet_reader.h"
#include "workbook/xlsx_parts.h"
#include "workbook/zip_archive.h"
#include "xlsx_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace kol::workbook {
namespace {

struct Log : XmlHandler {
    std::string log;
    void start(std::string_view name, const char** a) override {
        log += "<" + std::string(name);
        for (; *a; a += 2) log += std::string(" ") + a[0] + "=" + a[1];
        log += ">";
    }
    void end(std::string_view name) override { log += "</" + std::string(name) + ">"; }
    void text(std::string_view data) override { log += data; }
};

// A sheet of `rows` rows of mixed cells; `twist` adds what a reader starting mid-sheet cannot
// know: 1 the middle inside a comment full of row tags, 2 rows without numbers from a third
// on, 3 a stray <rPh/> early on (inline texts after it are left out), 4 an element
// open from a third to two thirds, 5 damage near the end.
std::string sheetXml(std::mt19937& rng, int rows, int twist) {
    std::string x = "<?xml version=\"1.0\"?>\n<worksheet xmlns=\"urn:x\"><sheetData>";
    for (int r = 1; r <= rows; ++r) {
        if (r == rows / 2 && twist == 1) {
            x += "<!-- ";
            for (std::size_t n = x.size(); n > 0; n -= std::min<std::size_t>(n, 12))
                x += "<row r=\"1\">";
            x += " -->";
        }
        if (r == rows / 3 && twist == 4) x += "<extra>";
        if (r == rows * 2 / 3 && twist == 4) x += "</extra>";
        if (r == 10 && twist == 3) x += "<rPh/>";
        x += twist == 2 && r > rows / 3 ? "<row>" : "<row r=\"" + std::to_string(r) + "\">";
        for (int c = 0; c < 6; ++c) {
            const std::string ref = std::string(1, static_cast<char>('A' + c)) + std::to_string(r);
            switch (rng() % 6) {
            case 0:
                x += "<c r=\"" + ref + "\"><v>" + std::to_string(rng() % 100000) + "</v></c>";
                break;
            case 1:
                x += "<c r=\"" + ref + "\" s=\"1\"><v>" + std::to_string(40000 + rng() % 900) +
                     ".25</v></c>";
                break;
            case 2:
                x += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>a&amp;b\xE6\x9D\xB1" +
                     std::to_string(r) + "</t></is></c>";
                break;
            case 3:
                x += "<c t=\"b\"><v>1</v></c>"; // no reference: the next column
                break;
            case 4:
                x += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(rng() % 3) + "</v></c>";
                break;
            default:
                break;
            }
        }
        x += "</row>\n";
    }
    if (twist == 5) x += "<row r=\"1\"><c><v>1</v></row>";
    return x + "</sheetData></worksheet>";
}

WorkbookResult readOnce(std::string xml, bool threads, std::string& lines) {
    SharedStringsHandler strings;
    XmlReader sst(strings);
    EXPECT_TRUE(sst.feed("<sst><si><t>x</t></si><si><t>y</t></si><si><t>z</t></si></sst>", true));
    StylesHandler styles;
    XmlReader st(styles);
    EXPECT_TRUE(st.feed("<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs>"
                        "</styleSheet>",
                        true));
    setWorksheetSplitFrom(threads ? 1 << 20 : SIZE_MAX);
    SheetText text;
    const std::string before = xml;
    WorkbookResult r = readWorksheet(xml, {strings, styles, DateSystem::From1900, "s"}, text);
    setWorksheetSplitFrom(1 << 20);
    EXPECT_EQ(xml, before); // put back as it was
    lines = text.tabLines();
    return r;
}

TEST(WorksheetReader, TwoThreadsGiveWhatOneGives) {
    std::mt19937 rng(3);
    // Large enough to be split; each twist makes the second thread's guess wrong or its half
    // fail, so the first must read on alone and still give the same.
    for (int twist = 0; twist <= 5; ++twist) {
        const std::string xml = sheetXml(rng, 30000, twist);
        ASSERT_GT(xml.size(), 1u << 20);
        std::string one, two;
        const WorkbookResult a = readOnce(xml, false, one);
        const WorkbookResult b = readOnce(xml, true, two);
        EXPECT_EQ(a.status, b.status) << twist;
        EXPECT_EQ(a.reason, b.reason) << twist;
        EXPECT_EQ(one, two) << twist;
        EXPECT_EQ(a.ok(), twist != 5) << twist;
    }
}

TEST(WorksheetReader, SheetTextAppendKeepsOrderAndDuplicates) {
    SheetText whole, head, tail;
    const std::uint32_t cells[][2] = {{0, 0}, {2, 1}, {1, 3}, {2, 1}, {5, 0}};
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        const std::string t = "t" + std::to_string(i);
        ASSERT_TRUE(whole.add(cells[i][0], cells[i][1], t));
        ASSERT_TRUE((i < 2 ? head : tail).add(cells[i][0], cells[i][1], t));
    }
    ASSERT_TRUE(head.append(std::move(tail)));
    EXPECT_EQ(head.tabLines(), whole.tabLines());
    EXPECT_EQ(head.rowCount(), 6u);
    EXPECT_EQ(head.colCount(), 4u);
}

TEST(WorksheetReader, OnePassCommaTextIsTheRewriteOfTheTabLines) {
    std::mt19937 rng(11);
    const char* pieces[] = {"a", " ",  "\t",       "\r\n",     "\n",
                            ",", "\"", "\x81\x40", "\x82\xA0", "x,\"y\""};
    for (int cells : {0, 1, 50, 250000}) { // the last is shared between two threads
        SheetText sheet;
        for (int n = 0; n < cells; ++n) {
            std::string text;
            for (int k = static_cast<int>(rng() % 4); k > 0; --k)
                text += pieces[rng() % std::size(pieces)];
            ASSERT_TRUE(sheet.add(rng() % (cells / 4 + 1), rng() % 7, text));
        }
        const std::string expected = commaLines(sheet.tabLines());
        EXPECT_EQ(sheet.commaText(), expected) << cells;
    }
}

TEST(SheetXmlScanner, InPlaceScanGivesTheSameEventsAndLeavesTheBytes) {
    const std::string xml = "\xEF\xBB\xBF<a x='1' y=\"&amp;\" z='a\tb'><b:c q:r='2'/>t&lt;"
                            "<![CDATA[<x>]]><!-- c --></a>";
    Log copied, inPlace;
    SheetXmlScanner a(copied), b(inPlace);
    ASSERT_TRUE(a.feed(xml, true));
    std::string buffer = xml;
    // In pieces that cut tags, as the two-thread read does at its row.
    ASSERT_TRUE(b.feedInPlace(buffer, 0, 9));
    ASSERT_TRUE(b.feedInPlace(buffer, 9, 30));
    ASSERT_TRUE(b.feedInPlace(buffer, 30, buffer.size(), true));
    EXPECT_EQ(inPlace.log, copied.log);
    EXPECT_EQ(buffer, xml);
    EXPECT_EQ(copied.log, "<a x=1 y=& z=a b><c q:r=2></c>t<<x></a>");
}

TEST(NumberText, ReadsWhatStrtodReads) {
    std::mt19937_64 rng(5);
    const char* odd[] = {"",      "-",    "+1",  " 1",   "1e",     "1e+",    ".5",
                         "5.",    "0x1A", "inf", "-nan", "1e400",  "1e-400", "12abc",
                         "1.2.3", "--1",  "1E5", "-0.0", "1e-320", "007.10", "1,5"};
    std::vector<std::string> cases(std::begin(odd), std::end(odd));
    for (int i = 0; i < 20000; ++i) {
        std::uniform_int_distribution<int> digits(1, 20), exp(-330, 330);
        std::string s = rng() % 4 ? "" : "-";
        for (int n = digits(rng); n > 0; --n) s += static_cast<char>('0' + rng() % 10);
        if (rng() % 2) {
            s += '.';
            for (int n = digits(rng); n > 0; --n) s += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 3 == 0) s += (rng() % 2 ? "e" : "E") + std::to_string(exp(rng));
        cases.push_back(s);
        double d;
        const std::uint64_t bits = rng();
        std::memcpy(&d, &bits, sizeof d);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", d);
        cases.push_back(buf);
    }
    for (const std::string& s : cases) {
        char* end = nullptr;
        const double expected = std::strtod(s.c_str(), &end);
        double got = 0;
        const bool read = parseNumber(s, got);
        ASSERT_EQ(read, end != s.c_str()) << s;
        if (!read) continue;
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(got)) << s;
        else
            EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << s;
    }
}

TEST(NumberText, PlainGeneralIsWhatGeneralNumberShows) {
    std::mt19937_64 rng(17);
    int taken = 0;
    std::vector<std::string> cases = {
        "0",       "-0",          "00",           "0.0",         "0.0001",
        "0.00009", "1.",          ".5",           "1e3",         "+1",
        "-0.50",   "12345678901", "123456789012", "0.123456789", "0.1234567891",
        "10.000"};
    for (int i = 0; i < 200000; ++i) {
        std::string s = rng() % 3 ? "" : "-";
        const int intDigits = static_cast<int>(rng() % 13);
        for (int n = 0; n < intDigits; ++n)
            s += static_cast<char>('0' + (n == 0 && rng() % 4 == 0 ? 0 : rng() % 10));
        if (rng() % 2) {
            s += '.';
            for (int n = static_cast<int>(rng() % 10); n > 0; --n)
                s += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10));
        }
        cases.push_back(s);
    }
    for (const std::string& s : cases) {
        std::string shown;
        if (!plainGeneral(s, shown)) continue;
        ++taken;
        EXPECT_EQ(shown, generalNumber(std::strtod(s.c_str(), nullptr))) << s;
    }
    EXPECT_GT(taken, 50000); // the quick way is the common one
}

TEST(NumberText, PlainWholeIsWhatTheWholeNumberFormatsShow) {
    std::mt19937_64 rng(23);
    std::vector<std::string> cases = {"0",
                                      "-0",
                                      "00",
                                      "007",
                                      "1.0",
                                      "1e3",
                                      "+5",
                                      "-1",
                                      "999",
                                      "1000",
                                      "-1000000",
                                      "123456789012345",
                                      "1234567890123456",
                                      ""};
    for (int i = 0; i < 50000; ++i) {
        std::string s = rng() % 3 ? "" : "-";
        for (int n = static_cast<int>(1 + rng() % 16); n > 0; --n)
            s += static_cast<char>('0' + rng() % 10);
        cases.push_back(s);
    }
    int taken = 0;
    for (const std::string& s : cases)
        for (bool grouped : {false, true}) {
            std::string shown;
            if (!plainWhole(s, grouped, shown)) continue;
            ++taken;
            EXPECT_EQ(shown, formatNumber(std::strtod(s.c_str(), nullptr), grouped ? "#,##0" : "0",
                                          DateSystem::From1900))
                << s;
        }
    EXPECT_GT(taken, 50000);
}

TEST(ZipArchive, WholeEntriesMatchWhatLibzipUnpacks) {
    test::TempDir dir;
    std::mt19937 rng(9);
    std::string text;
    while (text.size() < (5u << 20)) // large enough to be mapped, not taken from the heap
        text += "<row r=\"" + std::to_string(rng() % 1000) + "\"/>";
    std::string noise(50000, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    const std::string path = (dir / "w.zip").string();
    ASSERT_TRUE(test::writeZip(path, {{"text", text}, {"noise", noise}, {"empty", ""}}));
    std::unique_ptr<ZipArchive> zip;
    ASSERT_EQ(ZipArchive::open(path, zip), ZipStatus::Ok);
    for (const char* name : {"text", "noise", "empty"}) {
        LargeBuffer whole;
        std::string streamed;
        EXPECT_EQ(zip->readWhole(name, whole), ZipStatus::Ok) << name;
        EXPECT_EQ(zip->readAll(name, streamed), ZipStatus::Ok) << name;
        EXPECT_EQ(whole.view(), streamed) << name;
    }
    LargeBuffer missing;
    EXPECT_EQ(zip->readWhole("nothing", missing), ZipStatus::Missing);

    // A flipped byte in the packed data: refused, never handed on as the sheet.
    std::ifstream in(path, std::ios::binary);
    std::stringstream packed;
    packed << in.rdbuf();
    std::string bytes = packed.str();
    const std::size_t at = bytes.find("text") + 4 + 100;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x55);
    std::unique_ptr<ZipArchive> damaged;
    ASSERT_EQ(ZipArchive::openBytes(bytes, damaged), ZipStatus::Ok);
    LargeBuffer out;
    EXPECT_NE(damaged->readWhole("text", out), ZipStatus::Ok);
}

} // namespace
} // namespace kol::workbook
