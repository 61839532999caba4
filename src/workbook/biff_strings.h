// The unicode strings of BIFF8 records. A record longer than 8224 bytes goes on in CONTINUE
// records; a string whose characters run on into one starts that piece with a fresh flag byte
// (compressed or UTF-16), while its other bytes (header, formatting runs, phonetic data) just
// run on. The shared-string table is the long record that needs this most.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kol::workbook {

// A record's data with its CONTINUE records' data appended.
struct ContinuedRecord {
    std::string data;
    std::vector<std::size_t> breaks; // where each CONTINUE's data begins, ascending
};

enum class LengthField { Byte, Word };         // ShortXLUnicodeString or XLUnicodeString
enum class StringExtras { Absent, FromFlags }; // formatting runs and phonetic data (SST)

// The string at `at`, which is moved past it; false when the record ends inside it (`out`
// then holds the characters before the end).
[[nodiscard]] bool readBiffString(const ContinuedRecord& record, std::size_t& at,
                                  LengthField length, StringExtras extras, std::u16string& out);

// The shared-string table (SST and its CONTINUE records) as CP932 texts; a damaged table gives
// the strings before the damage.
std::vector<std::string> readSharedStrings(const ContinuedRecord& sst);

} // namespace kol::workbook
