// The shared-string table of Excel 97 books across CONTINUE records, built byte by byte.
#include "text/cp932.h"
#include "workbook/biff_strings.h"

#include <gtest/gtest.h>

namespace kol::workbook {
namespace {

std::string le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

std::string wide(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += le(c, 2);
    return out;
}

// Pieces of an SST: the record's data, then each CONTINUE's.
ContinuedRecord joined(std::initializer_list<std::string> pieces) {
    ContinuedRecord r;
    for (const std::string& p : pieces) {
        if (!r.data.empty() || !r.breaks.empty()) r.breaks.push_back(r.data.size());
        r.data += p;
    }
    return r;
}

std::vector<std::string> utf8(const std::vector<std::string>& cp932Texts) {
    std::vector<std::string> out;
    for (const std::string& t : cp932Texts) out.push_back(cp932::toUtf8(t));
    return out;
}

TEST(BiffStrings, CharactersRunOnIntoContinueRecordsWithTheirOwnFlagByte) {
    const std::string header = le(4, 4) + le(4, 4);
    const ContinuedRecord sst = joined({
        // "AB東京": two compressed characters, then the rest in UTF-16 after a flag byte.
        header + le(4, 2) + '\0' + "AB",
        '\x01' + wide(u"東京") +
            // "日本x" in UTF-16, its last character compressed in the next piece.
            le(3, 2) + '\x01' + wide(u"日本"),
        std::string("\0x", 2) +
            // Rich text: two formatting runs and 3 bytes of phonetic data, which run on into
            // the next piece without a flag byte.
            le(2, 2) + '\x0C' + le(2, 2) + le(3, 4) + "hi" + le(0, 4),
        le(0, 4) + "abc" +
            // A string that begins a piece: no flag byte before its header.
            le(0, 2) + '\0',
    });
    EXPECT_EQ(utf8(readSharedStrings(sst)),
              (std::vector<std::string>{"AB東京", "日本x", "hi", ""}));
}

TEST(BiffStrings, ADamagedTableKeepsWhatCameBefore) {
    const std::string header = le(1000000, 4) + le(1000000, 4); // claims far more than it holds
    // The second string claims 50 characters but the table ends after three.
    const ContinuedRecord sst =
        joined({header + le(2, 2) + '\0' + "ok" + le(50, 2) + '\0' + "cut"});
    EXPECT_EQ(utf8(readSharedStrings(sst)), (std::vector<std::string>{"ok", "cut"}));
    // A UTF-16 character split by a record's end is damage, not a character.
    const ContinuedRecord split =
        joined({header + le(1, 2) + '\x01' + "A", std::string("\x01\0", 2)});
    EXPECT_EQ(readSharedStrings(split).size(), 1u);
    EXPECT_EQ(readSharedStrings(joined({"\x01\0"})).size(), 0u);
}

} // namespace
} // namespace kol::workbook
