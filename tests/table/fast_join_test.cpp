// The row writer against hand-written lines: the field rules (quotes dropped; a comma, the
// separator, or a lone lead byte before a separator that can be a trail byte, quoted) for every
// kind of separator; the lines read from the packed block of grid rows, fixed columns, empty
// cells and short rows included; random fields full of quotes, commas, separators and broken
// Shift-JIS, whose written line reads back to them; and the two writing threads.
#include "table/csv_form.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/string_grid.h"

#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

struct JoinCase {
    unsigned char separator;
    std::vector<std::string> fields;
    std::string line; // the expected bytes, written by hand
};

// Byte strings are split where a hex escape meets a hex digit ("\x82" "a").
const JoinCase kJoinCases[] = {
    // Comma: a field holding a comma is quoted; quotes are dropped; blanks, CR and LF are kept
    // as they are; a lone lead byte matters only before a separator that can be a trail byte.
    {',', {"a", "b", "c"}, "a,b,c"},
    {',', {"a,b", "c"}, "\"a,b\",c"},
    {',', {"say \"hi\"", "x"}, "say hi,x"},
    {',', {"\"a,b\"", "x"}, "\"a,b\",x"},
    {',', {"\"\"", "x"}, ",x"},
    {',', {"", "", ""}, ",,"},
    {',', {" lead", "trail ", " "}, " lead,trail , "},
    {',', {"line\r\nbreak", "x"}, "line\r\nbreak,x"},
    {',', {"a\x82", "b"}, "a\x82,b"},
    // Tab.
    {'\t', {"a\tb", "c"}, "\"a\tb\"\tc"},
    {'\t', {"a,b", "c"}, "\"a,b\"\tc"},
    {'\t', {"q\"t\"\tc", "d"}, "\"qt\tc\"\td"},
    {'\t', {"", "x", ""}, "\tx\t"},
    {'\t', {"a|b@c d"}, "a|b@c d"},
    // Blank: leading, trailing and inner blanks are quoted; empty cells are not.
    {' ', {" lead", "trail ", "in side", "x"}, "\" lead\" \"trail \" \"in side\" x"},
    {' ', {"a", "", "b"}, "a  b"},
    {' ', {"a\tb", "c,d"}, "a\tb \"c,d\""},
    // '|' can be a trail byte: as the second byte of a character it is no separator, and a
    // field ending in a lone lead byte is quoted unless it is the last.
    {'|', {"a|b", "c"}, "\"a|b\"|c"},
    {'|', {"\x95|", "x"}, "\x95||x"},
    {'|', {"a\x82", "b"}, "\"a\x82\"|b"},
    {'|', {"b", "a\x82"}, "b|a\x82"},
    {'|',
     {"\x82\xA0"
      "a\x82",
      "b"},
     "\"\x82\xA0"
     "a\x82\"|b"},
    {'|', {"\x82\x82", "b"}, "\x82\x82|b"},
    {'|', {"q\"\x82", "b"}, "\"q\x82\"|b"},
    {'|', {"x,y", "z"}, "\"x,y\"|z"},
    // '@' likewise: 81 40 is one character, 81 81 40 a character and a separator.
    {'@', {"a@b", "c"}, "\"a@b\"@c"},
    {'@', {"\x81@", "c"}, "\x81@@c"},
    {'@', {"\x81\x81@", "c"}, "\"\x81\x81@\"@c"},
    {'@', {"\"q\"@"}, "\"q@\""},
    {'@', {"x,y", "z"}, "\"x,y\"@z"},
    // '\' as the second byte of a character.
    {'\\', {"\x95\\", "x"}, "\x95\\\\x"},
    {'\\', {"a\\b", "x"}, "\"a\\b\"\\x"},
    // No separator: the fields unchanged, one after another.
    {kNoSeparator, {"a,b", "\"q\"", "c\td", " "}, "a,b\"q\"c\td "},
    {kNoSeparator, {"", "x", ""}, "x"},
};

TEST(FastJoin, FieldsAreWrittenByTheFieldRulesForEverySeparator) {
    for (const JoinCase& c : kJoinCases) {
        const std::vector<std::string_view> fields(c.fields.begin(), c.fields.end());
        EXPECT_EQ(JoinFields(fields, c.separator), c.line)
            << "separator " << int(c.separator) << ", first field " << c.fields[0];
    }
    EXPECT_EQ(CleanField("a\"b\""), "ab");
    EXPECT_EQ(CleanField("a,\"b"), "\"a,b\"");
    EXPECT_EQ(CleanField("\x81@,"), "\"\x81@,\"");
    EXPECT_EQ(CleanField("plain text"), "plain text");
    EXPECT_EQ(CleanField(""), "");
}

TEST(FastJoin, RowLinesFromThePackedBlock) {
    // Five columns, the first fixed: four cells a line.
    StringGrid grid;
    grid.setColCount(5);
    grid.setRowCount(6);
    grid.setFixedCols(1);
    grid.setCell(0, 0, "label");
    grid.setCell(1, 0, "a,b");
    grid.setCell(2, 0, "long text past eight bytes \"quoted\"");
    grid.setCell(4, 0, "last");
    grid.setCell(1, 1, "only the first"); // a row shorter than the grid
    grid.setCell(1, 2, "plain");
    grid.setCell(2, 2, "tab\there");
    grid.setCell(3, 2, "blank here");
    grid.setCell(0, 3, "fixed text only"); // nothing after the fixed column
    grid.setCell(1, 4, "\x81@");           // a character whose second byte is '@'
    grid.setCell(2, 4, "@");
    grid.setCell(3, 4, "\x82"); // a lone lead byte
    // Row 5 never written: no cells at all.

    const std::pair<unsigned char, std::vector<std::string>> expected[] = {
        {',',
         {"\"a,b\",long text past eight bytes quoted,,last\r\n", "only the first,,,\r\n",
          "plain,tab\there,blank here,\r\n", ",,,\r\n", "\x81@,@,\x82,\r\n", ",,,\r\n"}},
        {'\t',
         {"\"a,b\"\tlong text past eight bytes quoted\t\tlast\r\n", "only the first\t\t\t\r\n",
          "plain\t\"tab\there\"\tblank here\t\r\n", "\t\t\t\r\n", "\x81@\t@\t\x82\t\r\n",
          "\t\t\t\r\n"}},
        {' ',
         {"\"a,b\" \"long text past eight bytes quoted\"  last\r\n", "\"only the first\"   \r\n",
          "plain tab\there \"blank here\" \r\n", "   \r\n", "\x81@ @ \x82 \r\n", "   \r\n"}},
        {'|',
         {"\"a,b\"|long text past eight bytes quoted||last\r\n", "only the first|||\r\n",
          "plain|tab\there|blank here|\r\n", "|||\r\n", "\x81@|@|\"\x82\"|\r\n", "|||\r\n"}},
        {';',
         {"\"a,b\";long text past eight bytes quoted;;last\r\n", "only the first;;;\r\n",
          "plain;tab\there;blank here;\r\n", ";;;\r\n", "\x81@;@;\x82;\r\n", ";;;\r\n"}},
        {'@',
         {"\"a,b\"@long text past eight bytes quoted@@last\r\n", "only the first@@@\r\n",
          "plain@tab\there@blank here@\r\n", "@@@\r\n", "\x81@@\"@\"@\"\x82\"@\r\n", "@@@\r\n"}},
        {kNoSeparator,
         {"a,blong text past eight bytes \"quoted\"last\r\n", "only the first\r\n",
          "plaintab\thereblank here\r\n", "\r\n", "\x81@@\x82\r\n", "\r\n"}},
    };
    for (const auto& [separator, lines] : expected)
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::string line = "kept";
            appendRowLine(line, grid, r, separator);
            EXPECT_EQ(line, "kept" + lines[static_cast<std::size_t>(r)])
                << "row " << r << " separator " << int(separator);
        }
}

TEST(FastJoin, RowLinesOverAKilobyte) {
    // Past the length whose marks are found in one scan: 300 plain cells, then one to quote.
    StringGrid grid;
    grid.setColCount(301);
    grid.setRowCount(1);
    for (int c = 0; c < 300; ++c) grid.setCell(c, 0, "abcd");
    grid.setCell(300, 0, "x,y");
    std::string expected;
    for (int c = 0; c < 300; ++c) expected += "abcd\t";
    expected += "\"x,y\"\r\n";
    std::string line;
    appendRowLine(line, grid, 0, '\t');
    EXPECT_EQ(line, expected);
}

std::string randomField(std::mt19937& rng, unsigned char separator) {
    static const unsigned char kBytes[] = {'a',  'b',  ' ',  '"',  ',',  '\t', '|',  '@',  0x81,
                                           0x40, 0x82, 0xA0, 0x5C, 0x7C, 0xFF, 0x00, 0x88, 0xE0};
    std::uniform_int_distribution<int> length(0, 30), pick(0, sizeof kBytes), any(0, 255);
    std::string field;
    for (int i = length(rng); i > 0; --i) {
        const int k = pick(rng);
        field += static_cast<char>(k == static_cast<int>(sizeof kBytes) ? separator
                                   : k % 5 == 0                         ? 'x'
                                   : k % 11 == 0                        ? any(rng)
                                                                        : kBytes[k]);
    }
    return field;
}

std::string withoutQuotes(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '"') out.push_back(c);
    return out;
}

// A line of nothing but control characters and blanks reads as no fields at all.
bool blankLine(std::string_view line) {
    for (unsigned char c : line)
        if (c > 0x20) return false;
    return true;
}

TEST(FastJoin, EveryWrittenLineReadsBackToItsFieldsForEverySeparator) {
    // What reading gives back: each field without its quotes (with no separator, the fields
    // unchanged as one), and with a blank separator no empty fields.
    std::mt19937 rng(20261208);
    std::vector<unsigned char> separators{kNoSeparator};
    for (const auto& choice : SeparatorTable()) separators.push_back(choice.code);
    for (unsigned char separator : separators) {
        for (int k = 0; k < 3000; ++k) {
            std::vector<std::string> texts(1 + k % 5);
            for (auto& text : texts) text = randomField(rng, separator);
            const std::vector<std::string_view> fields(texts.begin(), texts.end());
            const std::string line = JoinFields(fields, separator);
            std::vector<std::string> expected;
            if (separator == kNoSeparator) {
                expected.emplace_back();
                for (const auto& text : texts) expected[0] += text;
            } else if (!blankLine(line)) {
                for (const auto& text : texts) {
                    std::string field = withoutQuotes(text);
                    if (separator != ' ' || !field.empty()) expected.push_back(field);
                }
            }
            std::vector<std::string> read;
            SplitLine(line, separator, read);
            ASSERT_EQ(read, expected) << "separator " << int(separator) << " line " << line;
        }
    }
}

TEST(FastJoin, RandomRowLinesMatchTheFieldRulesForEverySeparator) {
    // Cells full of quotes, commas and separators, some long enough to cross 64-byte blocks,
    // in rows short and over a kilobyte long.
    std::mt19937 rng(31);
    const char pieces[] = {'a', '"', ',', '\t', ' ', '|', ';', '@', '\x81', '\x40', 'x'};
    for (const auto& choice : SeparatorTable()) {
        const unsigned char separator = choice.code;
        StringGrid grid;
        grid.setColCount(12);
        grid.setRowCount(60);
        grid.setFixedCols(2);
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::vector<std::string> texts(2 + rng() % 10);
            for (std::size_t c = 2; c < texts.size(); ++c) {
                const std::size_t length = rng() % 4 == 0 ? rng() % 300 : rng() % 12;
                for (std::size_t k = 0; k < length; ++k)
                    texts[c] += rng() % 3 ? 'a' : pieces[rng() % sizeof pieces];
                if (rng() % 5 == 0) texts[c] += static_cast<char>(separator);
            }
            std::vector<std::string_view> views(texts.begin(), texts.end());
            grid.setRowCells(r, views);
        }
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::vector<std::string_view> cells;
            for (int c = 2; c < grid.colCount(); ++c) cells.push_back(grid.cell(c, r));
            std::string line = "kept";
            appendRowLine(line, grid, r, separator);
            ASSERT_EQ(line, "kept" + JoinFields(cells, separator) + "\r\n")
                << "row " << r << " separator " << int(separator);
        }
    }
}

TEST(FastJoin, BlocksWrittenOnTwoThreadsArriveInOrderAndAFailureStopsThem) {
    // Enough rows for several blocks on each thread, with rows needing quotes among them.
    StringGrid grid;
    grid.setColCount(4);
    grid.setRowCount(200'001);
    grid.setFixedCols(1);
    for (int r = 0; r < grid.rowCount(); ++r) {
        grid.setCell(1, r, std::to_string(r));
        if (r % 7 == 0) grid.setCell(2, r, "a,b");
        if (r % 11 == 0) grid.setCell(3, r, "\"q\"");
    }
    std::string expected;
    for (int r = 3; r <= 199'990; ++r) appendRowLine(expected, grid, r, '\t');
    std::string written;
    int calls = 0;
    ASSERT_TRUE(writeRows(grid, 3, 199'990, '\t', [&](std::string_view block) {
        ++calls;
        written.append(block);
        return IoStatus::success();
    }));
    EXPECT_GT(calls, 2);
    EXPECT_EQ(written, expected);

    // A sink failing at its third block: nothing after it is handed on, and the reason comes back.
    calls = 0;
    const IoStatus failed = writeRows(grid, 0, grid.rowCount() - 1, ',', [&](std::string_view) {
        return ++calls == 3 ? IoStatus::failure(ENOSPC) : IoStatus::success();
    });
    EXPECT_EQ(failed.error, ENOSPC);
    EXPECT_EQ(calls, 3);
    // Nothing to write is no failure.
    EXPECT_TRUE(
        writeRows(grid, 5, 4, ',', [](std::string_view) { return IoStatus::failure(EIO); }));
}

} // namespace
} // namespace kol
