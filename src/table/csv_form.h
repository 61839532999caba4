// The CSV text form: how one line is split into fields and fields are joined into a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

// Fields of one line, packed: field i is bytes[ends[i - 1], ends[i]) (ends[-1] = 0).
struct FieldBuffer {
    std::string bytes;
    std::vector<std::uint32_t> ends;

    void clear() {
        bytes.clear();
        ends.clear();
    }
    std::size_t size() const { return ends.size(); }
    std::string_view field(std::size_t i) const {
        std::uint32_t begin = i ? ends[i - 1] : 0;
        return std::string_view(bytes).substr(begin, ends[i] - begin);
    }
};

// Appends the fields of `line` split with `separator` (kNoSeparator: the line is one field).
// A quote resets the field and starts a quoted run up to the next quote; quoted runs do not
// span lines, and a doubled quote is not an escape. A trail byte of a double-byte character is
// never taken as a separator. A quoted run still open at the end of the line becomes the last
// field, so no text is dropped.
void SplitLine(std::string_view line, unsigned char separator, FieldBuffer& out);
// The same split walking one byte at a time: the reference the fast scan is held against.
void SplitLineBytewise(std::string_view line, unsigned char separator, FieldBuffer& out);
void SplitLine(std::string_view line, unsigned char separator, std::vector<std::string>& out);

// Removes every double quote, then wraps the text in quotes when it holds a comma.
std::string CleanField(std::string_view text);
void appendCleanField(std::string& out, std::string_view text);

// The write side: fields through CleanField joined with the separator (nothing between them
// with kNoSeparator, and then the fields are taken unchanged). A field that holds the
// separator, or ends in a lone lead byte before a separator that can be a trail byte, is
// quoted as well, so that every written line reads back to its fields.
std::string JoinFields(const std::vector<std::string_view>& fields, unsigned char separator);
void appendJoinedFields(std::string& out, const std::string_view* fields, std::size_t count,
                        unsigned char separator);

} // namespace kol
