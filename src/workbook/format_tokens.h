// A number format code taken apart: its sections (positive; negative; zero; text), each a list
// of tokens, and the two renderers that turn a number into a section's text.
#pragma once

#include "workbook/cell_format.h"

#include <string>
#include <string_view>
#include <vector>

namespace kol::workbook {

enum class TokenKind {
    Literal, // shown as it is
    Digit,   // 0 # ?
    Point,   // the decimal point
    Percent,
    Comma,     // grouping or scaling, told apart by the renderer
    Exponent,  // E+ E- (text holds the sign and the exponent's digit places)
    Slash,     // a fraction's bar
    Text,      // @
    General,   // General inside a section
    Year,      // y…   (count in `count`)
    Month,     // m… as a month
    Day,       // d…
    Weekday,   // aaa, aaaa (Japanese day names)
    Hour,      // h…
    Minute,    // m… after an hour or before a second
    Second,    // s…
    SubSecond, // .0 .00 .000 after seconds
    Elapsed,   // [h] [m] [s] (text holds the unit)
    AmPm,      // AM/PM or A/P (text holds which)
    EraName,   // g gg ggg
    EraYear,   // e ee
};

struct FormatToken {
    TokenKind kind;
    std::string text; // literal text, the digit character, the unit
    int count = 1;
};

struct FormatSection {
    std::vector<FormatToken> tokens;
    bool isDate = false;
    bool hasText = false;
    bool twelveHour = false;
    bool hasCondition = false;
    char conditionOp[3] = {};
    double conditionValue = 0;
    bool matches(double v) const;
};

class FormatCode {
public:
    explicit FormatCode(std::string_view code);
    const std::vector<FormatSection>& sections() const { return sections_; }
    // The section for a number; `negate`: show the absolute value (the section gives the sign).
    // nullptr: the General format.
    const FormatSection* choose(double value, bool& negate) const;
    const FormatSection* textSection() const;

private:
    std::vector<FormatSection> sections_;
    bool general_ = false;
};

// The number under a parsed code (what formatNumber does after parsing).
std::string formatParsed(double value, const FormatCode& code, DateSystem system);

std::string renderDate(const FormatSection& section, double serial, DateSystem system);
std::string renderNumber(const FormatSection& section, double value);

} // namespace kol::workbook
