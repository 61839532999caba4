// Numbers through a section's digit places: rounding at 15 significant digits first, as the
// sheet does, then half away from zero to the places shown.
#include "workbook/format_tokens.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kol::workbook {

namespace {

// |v| rounded to `decimals` places as integer digits and fraction digits (exactly `decimals`).
void decimalDigits(double v, int decimals, std::string& whole, std::string& fraction) {
    if (!std::isfinite(v)) v = 0; // no cell holds one; a damaged file must not get further
    if (v == std::floor(v) && std::fabs(v) < 1e15) { // whole numbers need no rounding
        whole = v == 0 ? std::string() : std::to_string(static_cast<long long>(std::fabs(v)));
        fraction.assign(static_cast<std::size_t>(decimals), '0');
        return;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits;
    for (const char* p = buf; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    int exp = std::atoi(std::strchr(buf, 'e') + 1); // value = d.ddd × 10^exp
    if (v == 0) exp = 0;
    // Keep the digits down to 10^-decimals.
    long keep = static_cast<long>(exp) + 1 + decimals;
    if (keep < 0) {
        digits = "0";
        exp = 0;
        keep = 1 + decimals;
    } else if (keep < static_cast<long>(digits.size())) {
        bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            long i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0)
                ++digits[static_cast<std::size_t>(i)];
            else {
                digits.insert(0, "1");
                ++exp;
            }
        }
        if (digits.empty()) {
            digits = "0";
            exp = 0;
        }
    }
    // digits[0] stands at 10^exp.
    whole.clear();
    fraction.clear();
    for (long place = std::max<long>(exp, 0); place >= -decimals; --place) {
        long index = static_cast<long>(exp) - place;
        char d = index >= 0 && index < static_cast<long>(digits.size())
                     ? digits[static_cast<std::size_t>(index)]
                     : '0';
        (place >= 0 ? whole : fraction) += d;
    }
    std::size_t nonZero = whole.find_first_not_of('0');
    whole = nonZero == std::string::npos ? std::string() : whole.substr(nonZero);
}

std::string group(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

char blankFor(const std::string& placeholder) {
    return placeholder == "0" ? '0' : placeholder == "?" ? ' ' : '\0';
}

// The nearest fraction with a denominator of at most `maxDenominator`.
void nearestFraction(double f, long maxDenominator, long& num, long& den) {
    num = 0;
    den = 1;
    double best = f;
    for (long d = 1; d <= maxDenominator; ++d) {
        long n = std::lround(f * static_cast<double>(d));
        double err = std::fabs(f - static_cast<double>(n) / static_cast<double>(d));
        if (err < best - 1e-12) {
            best = err;
            num = n;
            den = d;
        }
    }
}

std::string fractionText(const FormatSection& section, double v) {
    const auto& t = section.tokens;
    std::size_t slash = 0;
    while (t[slash].kind != TokenKind::Slash) ++slash;
    // Numerator places just before the bar; whole-number places before them, apart.
    std::size_t numStart = slash;
    while (numStart > 0 && t[numStart - 1].kind == TokenKind::Digit) --numStart;
    bool hasWhole = false;
    for (std::size_t i = 0; i < numStart; ++i)
        if (t[i].kind == TokenKind::Digit) hasWhole = true;
    long denPlaces = 0, fixedDen = 0;
    for (std::size_t i = slash + 1; i < t.size(); ++i) {
        if (t[i].kind == TokenKind::Digit)
            ++denPlaces;
        else if (t[i].kind == TokenKind::Literal && !t[i].text.empty() &&
                 std::isdigit(static_cast<unsigned char>(t[i].text[0])) && denPlaces == 0)
            fixedDen = std::atol(t[i].text.c_str());
        else
            break;
    }
    double whole = hasWhole ? std::floor(v) : 0;
    long num, den;
    if (fixedDen > 0) {
        den = fixedDen;
        num = std::lround((v - whole) * static_cast<double>(den));
    } else {
        // The search below tries every denominator: more than four places is no fraction a sheet
        // shows, and would take seconds (or overflow the power of ten) on a hostile format.
        const long places = std::clamp(denPlaces, 1L, 4L);
        nearestFraction(v - whole, static_cast<long>(std::pow(10, places)) - 1, num, den);
    }
    if (num == den && hasWhole) {
        whole += 1;
        num = 0;
    }
    std::string out;
    bool wholeDone = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const FormatToken& k = t[i];
        if (k.kind == TokenKind::Digit && i < numStart) {
            if (!wholeDone) {
                if (whole != 0 || num == 0) out += std::to_string(static_cast<long long>(whole));
                wholeDone = true;
            }
        } else if (k.kind == TokenKind::Digit && i < slash) {
            if (i == numStart) out += num == 0 && hasWhole ? std::string() : std::to_string(num);
        } else if (k.kind == TokenKind::Slash) {
            if (!(num == 0 && hasWhole)) out += "/";
        } else if (k.kind == TokenKind::Digit ||
                   (i > slash && fixedDen && k.kind == TokenKind::Literal && i == slash + 1)) {
            if ((k.kind == TokenKind::Literal || i == slash + 1) && !(num == 0 && hasWhole))
                out += std::to_string(den);
        } else if (k.kind == TokenKind::Literal) {
            if (!(num == 0 && hasWhole && i > numStart - 1 && i < slash)) out += k.text;
        }
    }
    return out;
}

} // namespace

std::string renderNumber(const FormatSection& section, double value) {
    const auto& t = section.tokens;
    double v = value;
    int percent = 0;
    std::size_t point = t.size(), exponent = t.size(), lastDigit = t.size();
    bool digits = false, slash = false, general = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        switch (t[i].kind) {
        case TokenKind::Percent:
            ++percent;
            break;
        case TokenKind::Point:
            if (point == t.size() && exponent == t.size()) point = i;
            break;
        case TokenKind::Exponent:
            if (exponent == t.size()) exponent = i;
            break;
        case TokenKind::Digit:
            digits = true;
            if (exponent == t.size()) lastDigit = i;
            break;
        case TokenKind::Slash:
            slash = true;
            break;
        case TokenKind::General:
            general = true;
            break;
        default:
            break;
        }
    }
    std::string sign = v < 0 ? "-" : "";
    v = std::fabs(v) * std::pow(100.0, percent);
    // Beyond what a sheet can show in digits: the number itself, nothing lost.
    if (!std::isfinite(v) || v >= 1e300) return generalNumber(value);
    if (!digits) {
        std::string out;
        for (const FormatToken& k : t) {
            if (k.kind == TokenKind::General)
                out += generalNumber(v);
            else if (k.kind == TokenKind::Literal || k.kind == TokenKind::Comma ||
                     k.kind == TokenKind::Percent || k.kind == TokenKind::Slash ||
                     k.kind == TokenKind::Point)
                out += k.text;
        }
        return general && !sign.empty() ? sign + out : out;
    }
    if (slash) return v < 1e15 ? sign + fractionText(section, v) : generalNumber(value);

    // Commas right after the last integer place scale by 1000; between places they group.
    bool grouping = false;
    const std::size_t intEnd = std::min(point, exponent);
    for (std::size_t i = 0; i < intEnd; ++i) {
        if (t[i].kind != TokenKind::Comma) continue;
        bool digitBefore = false, digitAfter = false;
        for (std::size_t j = 0; j < i; ++j) digitBefore |= t[j].kind == TokenKind::Digit;
        for (std::size_t j = i + 1; j < intEnd; ++j) digitAfter |= t[j].kind == TokenKind::Digit;
        if (digitBefore && digitAfter)
            grouping = true;
        else if (digitBefore && !digitAfter)
            v /= 1000.0;
    }
    int decimals = 0;
    std::vector<std::size_t> intPlaces;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind != TokenKind::Digit || i > lastDigit) continue;
        if (i < intEnd)
            intPlaces.push_back(i);
        else if (i > point && i < exponent && decimals < 30) // a sheet shows 30 places at most
            ++decimals;
    }
    long long expValue = 0;
    if (exponent < t.size() && v != 0) {
        const int places = std::max<int>(1, static_cast<int>(intPlaces.size()));
        long long e = static_cast<long long>(std::floor(std::log10(v)));
        if (places > 1)
            e = static_cast<long long>(std::floor(static_cast<double>(e) / places)) * places;
        else
            e -= places - 1;
        v /= std::pow(10.0, static_cast<double>(e));
        // Rounding may carry the mantissa to the next power.
        std::string w, f;
        decimalDigits(v, decimals, w, f);
        if (static_cast<int>(w.size()) > places) {
            e += places > 1 ? places : 1;
            v /= std::pow(10.0, places > 1 ? places : 1);
        }
        expValue = e;
    }
    std::string whole, fraction;
    decimalDigits(v, decimals, whole, fraction);
    // Trailing # places drop zeros, ? places show blanks.
    {
        std::vector<std::string> fracKinds;
        for (std::size_t i = point + 1; i < exponent && i < t.size(); ++i)
            if (t[i].kind == TokenKind::Digit && i <= lastDigit &&
                fracKinds.size() < static_cast<std::size_t>(decimals))
                fracKinds.push_back(t[i].text);
        for (std::size_t i = fracKinds.size(); i-- > 0;) {
            if (fraction[i] != '0' || fracKinds[i] == "0") break;
            fraction[i] = fracKinds[i] == "?" ? ' ' : '\0';
        }
        std::string kept;
        for (char c : fraction)
            if (c) kept += c;
        fraction = kept;
    }
    const bool zero = whole.empty() && fraction.find_first_not_of("0 ") == std::string::npos;
    if (zero && exponent == t.size()) sign.clear();

    // The integer digits spread over the places from the right; extra digits go to the first.
    std::vector<std::string> placeText(intPlaces.size());
    {
        long d = static_cast<long>(whole.size()) - 1;
        for (std::size_t k = intPlaces.size(); k-- > 0;) {
            const std::string& kind = t[intPlaces[k]].text;
            if (d >= 0)
                placeText[k] = whole[static_cast<std::size_t>(d--)];
            else if (char b = blankFor(kind))
                placeText[k] = b;
        }
        if (!placeText.empty() && d >= 0)
            placeText[0] = whole.substr(0, static_cast<std::size_t>(d + 1)) + placeText[0];
    }
    if (grouping && !placeText.empty()) {
        std::string all;
        for (const std::string& p : placeText) all += p;
        std::size_t firstDigit = all.find_first_not_of(' ');
        if (firstDigit == std::string::npos) firstDigit = all.size();
        all = all.substr(0, firstDigit) + group(all.substr(firstDigit));
        placeText.assign(placeText.size(), std::string());
        placeText[0] = all;
    }

    std::string out = sign;
    std::size_t intIndex = 0, fracIndex = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const FormatToken& k = t[i];
        switch (k.kind) {
        case TokenKind::Digit:
            if (i < intEnd) {
                out += placeText[intIndex++];
            } else if (i < exponent && i <= lastDigit) {
                if (fracIndex < fraction.size()) out += fraction[fracIndex];
                ++fracIndex;
            }
            break;
        case TokenKind::Point:
            if (i == point && (!fraction.empty() || decimals == 0))
                out += '.';
            else if (i == point)
                out += '.';
            break;
        case TokenKind::Exponent: {
            out += 'E';
            if (expValue < 0)
                out += '-';
            else if (k.text == "+")
                out += '+';
            char buf[32];
            std::snprintf(buf, sizeof buf, "%0*lld", std::min(9, std::max(1, k.count)),
                          std::llabs(expValue));
            out += buf;
            break;
        }
        case TokenKind::Comma:
            break;
        case TokenKind::General:
            break;
        default:
            out += k.text;
            break;
        }
    }
    return out;
}

} // namespace kol::workbook
