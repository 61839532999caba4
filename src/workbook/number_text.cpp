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

} // namespace kol::workbook
