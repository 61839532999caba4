// Dates and times from serial day numbers: 1900 system (with its 29 February 1900) or 1904.
#include "workbook/format_tokens.h"

#include <cmath>
#include <cstdio>

namespace kol::workbook {

namespace {

struct Civil {
    int year, month, day;
};

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
Civil civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// A serial day of the 1900 system to its date, keeping that system's 0 January and
// 29 February 1900.
Civil civilFromSerial(long long serial) {
    if (serial == 0) return {1900, 1, 0};
    if (serial == 60) return {1900, 2, 29};
    // 1899-12-31 is day -25568 from 1970; from 61 on, one day less for the missing leap day.
    return civilFromDays(serial - 25568 - (serial > 60 ? 1 : 0));
}

struct Era {
    int year, month, day;
    const char* name;   // ggg
    const char* first;  // gg
    const char* letter; // g
};

constexpr Era kEras[] = {
    {2019, 5, 1, "令和", "令", "R"},   {1989, 1, 8, "平成", "平", "H"},
    {1926, 12, 25, "昭和", "昭", "S"}, {1912, 7, 30, "大正", "大", "T"},
    {1868, 9, 8, "明治", "明", "M"},
};

const Era* eraOf(const Civil& c) {
    for (const Era& e : kEras)
        if (c.year > e.year ||
            (c.year == e.year && (c.month > e.month || (c.month == e.month && c.day >= e.day))))
            return &e;
    return nullptr;
}

std::string number(long long n, int width) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return n < 0 ? "-" + digits : digits;
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kJapaneseDays[] = {"日", "月", "火", "水", "木", "金", "土"};

} // namespace

std::string renderDate(const FormatSection& section, double value, DateSystem system) {
    // What a spreadsheet cannot show as a date is given as its number.
    if (value < 0 || value >= 2958466.0) return generalNumber(value);
    int subDigits = 0;
    for (const FormatToken& t : section.tokens)
        if (t.kind == TokenKind::SubSecond) subDigits = std::min(3, t.count);
    const double scale = std::pow(10.0, subDigits);
    // Whole units of 10^-subDigits seconds, rounded as the sheet rounds them.
    const long long units = std::llround(value * 86400.0 * scale);
    const long long unitsPerDay = 86400LL * static_cast<long long>(scale);
    long long dayNumber = units / unitsPerDay;
    const long long inDay = units % unitsPerDay;
    const long long seconds = inDay / static_cast<long long>(scale);
    const long long fraction = inDay % static_cast<long long>(scale);
    const long long totalSeconds = units / static_cast<long long>(scale);

    long long serial = system == DateSystem::From1904 ? dayNumber + 1462 : dayNumber;
    const Civil date = civilFromSerial(serial);
    const int weekday = static_cast<int>((serial + 6) % 7);
    const int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
              second = static_cast<int>(seconds % 60);
    const Era* era = eraOf(date);

    std::string out;
    for (const FormatToken& t : section.tokens) {
        switch (t.kind) {
        case TokenKind::Literal:
        case TokenKind::Text:
            out += t.text;
            break;
        case TokenKind::Year:
            out += t.count <= 2 ? number(date.year % 100, 2) : number(date.year, 4);
            break;
        case TokenKind::Month:
            if (t.count <= 2)
                out += number(date.month, t.count);
            else if (t.count == 3)
                out += std::string(kMonths[date.month - 1]).substr(0, 3);
            else if (t.count == 4)
                out += kMonths[date.month - 1];
            else
                out += kMonths[date.month - 1][0];
            break;
        case TokenKind::Day:
            if (t.count <= 2)
                out += number(date.day, t.count);
            else if (t.count == 3)
                out += std::string(kDays[weekday]).substr(0, 3);
            else
                out += kDays[weekday];
            break;
        case TokenKind::Weekday:
            out += kJapaneseDays[weekday];
            if (t.count >= 4) out += "曜日";
            break;
        case TokenKind::Hour: {
            int h = hour;
            if (section.twelveHour) h = h % 12 == 0 ? 12 : h % 12;
            out += number(h, std::min(2, t.count));
            break;
        }
        case TokenKind::Minute:
            out += number(minute, std::min(2, t.count));
            break;
        case TokenKind::Second:
            out += number(second, std::min(2, t.count));
            break;
        case TokenKind::SubSecond:
            out += "." + number(fraction, subDigits).substr(0, static_cast<std::size_t>(t.count));
            break;
        case TokenKind::Elapsed: {
            long long n = t.text == "h"   ? totalSeconds / 3600
                          : t.text == "m" ? totalSeconds / 60
                                          : totalSeconds;
            out += number(n, t.count);
            break;
        }
        case TokenKind::AmPm:
            if (t.text == "A/P")
                out += hour < 12 ? "A" : "P";
            else
                out += hour < 12 ? "AM" : "PM";
            break;
        case TokenKind::EraName:
            if (era) out += t.count >= 3 ? era->name : t.count == 2 ? era->first : era->letter;
            break;
        case TokenKind::EraYear:
            out += number(era ? date.year - era->year + 1 : date.year, std::min(2, t.count));
            break;
        default:
            out += t.text;
            break;
        }
    }
    return out;
}

} // namespace kol::workbook
