#include "workbook/number_text.h"

#include <charconv>
#include <cstdlib>

namespace kol::workbook {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?digits(.digits*)?([eE][+-]?digits)? and nothing else.
bool plainDecimal(const char* p, const char* end) {
    if (p < end && *p == '-') ++p;
    const char* digits = p;
    while (p < end && isDigit(*p)) ++p;
    if (p == digits) return false;
    if (p < end && *p == '.')
        for (++p; p < end && isDigit(*p);) ++p;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) ++p;
        const char* exponent = p;
        while (p < end && isDigit(*p)) ++p;
        if (p == exponent) return false;
    }
    return p == end;
}

} // namespace

bool parseNumber(const std::string& text, double& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (plainDecimal(begin, end)) {
        auto [ptr, ec] = std::from_chars(begin, end, value);
        if (ec == std::errc() && ptr == end) return true;
    }
    char* stop = nullptr;
    value = std::strtod(text.c_str(), &stop);
    return stop != text.c_str();
}

bool plainGeneral(std::string_view text, std::string& out) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::size_t intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == '0')) return false;
    std::size_t end = i; // the shown text ends here, trailing zeros dropped
    if (i < text.size()) {
        if (text[i] != '.') return false;
        const std::size_t fracStart = ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
        if (i != text.size()) return false;
        std::size_t last = i;
        while (last > fracStart && text[last - 1] == '0') --last;
        if (last > fracStart) end = last;
        if (text[intStart] == '0') {
            // Below 1: only from 0.0001 on is the General text the plain one.
            std::size_t zeros = 0;
            while (fracStart + zeros < last && text[fracStart + zeros] == '0') ++zeros;
            if (last == fracStart || zeros > 3) return false;
        }
    } else if (intDigits == 1 && text[intStart] == '0') {
        return false; // zero, shown "0" whatever its sign
    }
    if (end - intStart > 11) return false;
    out.assign(text.data(), end);
    return true;
}

bool plainWhole(std::string_view text, bool grouped, std::string& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 15 ||
        (digits[0] == '0' && (digits.size() > 1 || negative)))
        return false;
    for (char c : digits)
        if (!isDigit(c)) return false;
    out.clear();
    if (negative) out += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (grouped && i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return true;
}

} // namespace kol::workbook
