// Lines split into fields one after another in a single pass over the text: the same fields as
// LineCursor followed by SplitLine, found 64 bytes at a time for separators that can never be
// a trail byte (below 0x40), and through the careful double-byte walk for the others.
#pragma once

#include "table/csv_form.h"
#include "table/source_text.h"
#include "text/byte_blocks.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kol {

class LineSplitter {
public:
    LineSplitter(std::string_view text, std::size_t pos, unsigned char separator);
    bool atEnd() const { return pos_ >= text_.size(); }
    std::size_t position() const { return pos_; }
    // Appends the fields of the next line to `out`; call while !atEnd().
    void next(FieldBuffer& out);

private:
    std::string_view text_;
    std::size_t pos_;
    unsigned char separator_;
    bool fast_;
    LineCursor careful_;
    ByteMatcher<4> matcher_;
    std::size_t blockAt_;
    std::uint64_t mask_;              // events of the block at blockAt_ not yet taken
    std::vector<std::size_t> events_; // separators and quotes of the line being split
};

} // namespace kol
