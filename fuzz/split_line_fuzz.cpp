// The CSV line splitter and joiner on arbitrary bytes: no field is ever read out of bounds,
// every byte of a field comes from the line, and joining then splitting again is stable. The
// one-pass splitter of whole texts gives what reading line by line and splitting gives.
#include "table/csv_form.h"
#include "table/line_splitter.h"
#include "table/separators.h"
#include "table/source_text.h"

#include "fuzz_check.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> views(const kol::FieldBuffer& buffer) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < buffer.size(); ++i) out.push_back(buffer.field(i));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned char separator = fuzzSeparator(data[0]);
    std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);

    kol::FieldBuffer fields;
    kol::SplitLine(line, separator, fields);
    FUZZ_CHECK(fields.ends.empty() || fields.ends.back() == fields.bytes.size());
    for (std::size_t i = 1; i < fields.size(); ++i)
        FUZZ_CHECK(fields.ends[i - 1] <= fields.ends[i]);
    FUZZ_CHECK(fields.bytes.size() <= line.size());
    if (separator == kol::kNoSeparator) FUZZ_CHECK(fields.size() == 1 && fields.field(0) == line);

    // What is written reads back as itself once more (the written form is a fixed point).
    const std::string once = kol::JoinFields(views(fields), separator);
    kol::FieldBuffer again;
    kol::SplitLine(once, separator, again);
    // ... and as the very fields it was written from, for every separator: a field holding
    // the separator or ending in a lone lead byte is quoted. The blank separator runs blanks
    // together and drops empty fields, and a line of blanks is an empty row, so those two
    // are left to the fixed-point check.
    bool blankLine = true;
    for (unsigned char c : once) blankLine = blankLine && c <= 0x20;
    if (separator != ' ' && !blankLine) FUZZ_CHECK(views(again) == views(fields));
    const std::string twice = kol::JoinFields(views(again), separator);
    kol::FieldBuffer third;
    kol::SplitLine(twice, separator, third);
    FUZZ_CHECK(kol::JoinFields(views(third), separator) == twice);

    // The input as a whole text of lines.
    kol::LineSplitter splitter(line, 0, separator);
    kol::LineCursor cursor(line);
    std::size_t lines = 0;
    for (; !cursor.atEnd(); ++lines) {
        FUZZ_CHECK(!splitter.atEnd());
        kol::FieldBuffer fast, careful;
        splitter.next(fast);
        kol::SplitLineBytewise(cursor.next(), separator, careful);
        FUZZ_CHECK(fast.bytes == careful.bytes && fast.ends == careful.ends);
        FUZZ_CHECK(splitter.position() == cursor.position());
    }
    FUZZ_CHECK(splitter.atEnd() && lines == kol::countLines(line));
    return 0;
}
