#include "print/print_text.h"

#include "text/text_utils.h"

namespace kol::print {

namespace {

bool isDateDigits(std::string_view t) {
    if (t.size() != 6 && t.size() != 8) return false;
    for (char ch : t)
        if (ch < '0' || ch > '9') return false;
    return true;
}

// The text after trimming, and whether the date edit applies to it.
std::string_view editedBase(std::string_view cell, const PrintTextOptions& o, bool& asDate) {
    asDate = false;
    if (o.mode == PrintMode::TextListing) return cell;
    const std::string_view t = o.trimSpace ? TrimmedView(cell) : cell;
    asDate = o.dateEdit && isDateDigits(t);
    return t;
}

} // namespace

std::string printText(std::string_view cell, const PrintTextOptions& options) {
    bool asDate = false;
    const std::string_view t = editedBase(cell, options, asDate);
    if (!asDate) return std::string(t);
    const std::size_t yearDigits = t.size() == 8 ? 4 : 2;
    std::string out;
    out.reserve(t.size() + 2);
    out.append(t.substr(0, yearDigits)).push_back('/');
    out.append(t.substr(yearDigits, 2)).push_back('/');
    out.append(t.substr(yearDigits + 2, 2));
    return out;
}

std::size_t printTextLength(std::string_view cell, const PrintTextOptions& options) {
    bool asDate = false;
    const std::string_view t = editedBase(cell, options, asDate);
    return t.size() + (asDate ? 2 : 0);
}

} // namespace kol::print
