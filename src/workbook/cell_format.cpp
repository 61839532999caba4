#include "workbook/cell_format.h"

#include "workbook/format_tokens.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kol::workbook {

namespace {

// JavaScript-like toPrecision / toFixed / toExponential on the exact binary value.
std::string printf1(const char* pattern, int digits, double v) {
    char buf[400];
    std::snprintf(buf, sizeof buf, pattern, digits, v);
    return buf;
}

std::string stripDecimal(std::string s) {
    std::size_t e = s.find_first_of("eE");
    std::string exp = e == std::string::npos ? std::string() : s.substr(e);
    std::string mant = e == std::string::npos ? s : s.substr(0, e);
    if (mant.find('.') != std::string::npos) {
        while (!mant.empty() && mant.back() == '0') mant.pop_back();
        if (!mant.empty() && mant.back() == '.') mant.pop_back();
    }
    if (!exp.empty()) {
        // E+5 → E+05
        std::string sign =
            exp.size() > 1 && (exp[1] == '+' || exp[1] == '-') ? exp.substr(1, 1) : "+";
        std::string digits = exp.substr(exp[1] == '+' || exp[1] == '-' ? 2 : 1);
        while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
        if (digits.size() < 2) digits.insert(0, "0");
        exp = "E" + sign + digits;
    }
    return mant + exp;
}

std::string toPrecision(double v, int p) {
    if (v == 0) return "0";
    int e = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    std::string s = printf1("%.*e", p - 1, v);
    // Rounding may have moved the exponent; read it back.
    e = std::atoi(s.c_str() + s.find('e') + 1);
    if (e < -6 || e >= p) return s;
    return printf1("%.*f", std::max(0, p - 1 - e), v);
}

} // namespace

std::string generalNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return "0";
    // Most cells hold whole numbers or short decimals: when the shortest exact text already
    // fits, it is what the sheet shows.
    if (std::fabs(v) < 1e11 && std::fabs(v) >= 1e-4) {
        char buf[32];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        if (ec == std::errc() && end - buf <= (v < 0 ? 12 : 11)) return std::string(buf, end);
    }
    const std::size_t width = v < 0 ? 12 : 11;
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    std::string out;
    if (e >= -4 && e <= -1) {
        out = toPrecision(v, 10 + e);
    } else if (std::abs(e) <= 9) {
        out = stripDecimal(printf1("%.*f", 12, v));
        if (out.size() > width) {
            out = toPrecision(v, 10);
            if (stripDecimal(out).size() > width) out = printf1("%.*e", 5, v);
        }
    } else if (e == 10) {
        out = printf1("%.*f", 0, v);
        if (out.size() > width) out = printf1("%.*e", 5, v);
    } else {
        out = stripDecimal(printf1("%.*f", 11, v));
        if (out.size() > width || out == "0" || out == "-0") out = printf1("%.*e", 5, v);
    }
    return stripDecimal(out);
}

std::string_view builtinFormat(int id) {
    switch (id) {
    case 0:
        return "General";
    case 1:
        return "0";
    case 2:
        return "0.00";
    case 3:
        return "#,##0";
    case 4:
        return "#,##0.00";
    case 5:
        return "\"¥\"#,##0;\"¥\"\\-#,##0";
    case 6:
        return "\"¥\"#,##0;[Red]\"¥\"\\-#,##0";
    case 7:
        return "\"¥\"#,##0.00;\"¥\"\\-#,##0.00";
    case 8:
        return "\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00";
    case 9:
        return "0%";
    case 10:
        return "0.00%";
    case 11:
        return "0.00E+00";
    case 12:
        return "# ?/?";
    case 13:
        return "# ?\?/??";
    case 14:
        return "yyyy/m/d";
    case 15:
        return "d-mmm-yy";
    case 16:
        return "d-mmm";
    case 17:
        return "mmm-yy";
    case 18:
        return "h:mm AM/PM";
    case 19:
        return "h:mm:ss AM/PM";
    case 20:
        return "h:mm";
    case 21:
        return "h:mm:ss";
    case 22:
        return "yyyy/m/d h:mm";
    case 27:
    case 36:
    case 50:
    case 57:
        return "[$-411]ge.m.d";
    case 28:
    case 29:
    case 51:
    case 54:
    case 58:
        return "[$-411]ggge\"年\"m\"月\"d\"日\"";
    case 30:
        return "m/d/yy";
    case 31:
        return "yyyy\"年\"m\"月\"d\"日\"";
    case 32:
        return "h\"時\"mm\"分\"";
    case 33:
        return "h\"時\"mm\"分\"ss\"秒\"";
    case 34:
    case 52:
    case 55:
        return "yyyy\"年\"m\"月\"";
    case 35:
    case 53:
    case 56:
        return "m\"月\"d\"日\"";
    case 37:
        return "#,##0 ;(#,##0)";
    case 38:
        return "#,##0 ;[Red](#,##0)";
    case 39:
        return "#,##0.00;(#,##0.00)";
    case 40:
        return "#,##0.00;[Red](#,##0.00)";
    case 41:
        return "_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ ";
    case 42:
        return "_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ ";
    case 43:
        return "_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ ";
    case 44:
        return "_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ ";
    case 45:
        return "mm:ss";
    case 46:
        return "[h]:mm:ss";
    case 47:
        return "mm:ss.0";
    case 48:
        return "##0.0E+0";
    case 49:
        return "@";
    default:
        return {};
    }
}

bool isDateFormat(std::string_view code) {
    FormatCode parsed(code);
    return !parsed.sections().empty() && parsed.sections()[0].isDate;
}

std::string formatNumber(double value, std::string_view code, DateSystem system) {
    return formatParsed(value, FormatCode(code), system);
}

std::string formatParsed(double value, const FormatCode& parsed, DateSystem system) {
    if (!std::isfinite(value)) return "#NUM!";
    bool negate = false;
    const FormatSection* section = parsed.choose(value, negate);
    if (!section) return generalNumber(value);
    double shown = negate ? std::fabs(value) : value;
    if (section->isDate) return renderDate(*section, value, system);
    return renderNumber(*section, shown);
}

std::string formatText(std::string_view text, std::string_view code) {
    FormatCode parsed(code);
    const FormatSection* section = parsed.textSection();
    if (!section) return std::string(text);
    std::string out;
    for (const FormatToken& t : section->tokens) {
        if (t.kind == TokenKind::Text)
            out += text;
        else if (t.kind == TokenKind::Literal)
            out += t.text;
    }
    return out;
}

} // namespace kol::workbook
