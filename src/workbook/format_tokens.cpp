#include "workbook/format_tokens.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace kol::workbook {

namespace {

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
    if (s.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[at + i])) != word[i]) return false;
    return true;
}

std::size_t utf8Length(unsigned char c) {
    return c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
}

std::size_t runOf(std::string_view s, std::size_t at, char lower) {
    std::size_t n = 0;
    while (at + n < s.size() && std::tolower(static_cast<unsigned char>(s[at + n])) == lower) ++n;
    return n;
}

void literal(FormatSection& section, std::string_view text) {
    if (!section.tokens.empty() && section.tokens.back().kind == TokenKind::Literal &&
        section.tokens.back().text != ",")
        section.tokens.back().text += text;
    else
        section.tokens.push_back({TokenKind::Literal, std::string(text)});
}

bool isDateKind(TokenKind k) {
    return k >= TokenKind::Year && k <= TokenKind::EraYear;
}

// True when the bracket stands for the whole section (the system's date and time forms).
bool bracket(FormatSection& section, std::string_view inner) {
    if (inner.empty()) return false;
    if (inner[0] == '$') {
        std::size_t dash = inner.find('-');
        std::string_view symbol =
            inner.substr(1, dash == std::string_view::npos ? inner.npos : dash - 1);
        std::string_view locale = dash == std::string_view::npos ? "" : inner.substr(dash + 1);
        if (!symbol.empty()) literal(section, symbol);
        // The system's long date and time forms, as a Japanese desktop has them.
        if (locale.size() >= 4 && (locale.substr(locale.size() - 4) == "F800" ||
                                   locale.substr(locale.size() - 4) == "f800")) {
            section.tokens.push_back({TokenKind::Year, {}, 4});
            literal(section, "年");
            section.tokens.push_back({TokenKind::Month, {}, 1});
            literal(section, "月");
            section.tokens.push_back({TokenKind::Day, {}, 1});
            literal(section, "日");
            return true;
        } else if (locale.size() >= 4 && (locale.substr(locale.size() - 4) == "F400" ||
                                          locale.substr(locale.size() - 4) == "f400")) {
            section.tokens.push_back({TokenKind::Hour, {}, 1});
            literal(section, ":");
            section.tokens.push_back({TokenKind::Minute, {}, 2});
            literal(section, ":");
            section.tokens.push_back({TokenKind::Second, {}, 2});
            return true;
        }
        return false;
    }
    const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(inner[0])));
    if ((first == 'h' || first == 'm' || first == 's') && runOf(inner, 0, first) == inner.size()) {
        section.tokens.push_back(
            {TokenKind::Elapsed, std::string(1, first), static_cast<int>(inner.size())});
        return false;
    }
    if (first == '<' || first == '>' || first == '=') {
        std::size_t n = 1;
        if (inner.size() > 1 && (inner[1] == '=' || inner[1] == '>')) n = 2;
        section.hasCondition = true;
        std::memcpy(section.conditionOp, inner.data(), n);
        section.conditionValue = std::atof(std::string(inner.substr(n)).c_str());
    }
    // Colours, [DBNum…] and other switches do not change the text.
    return false;
}

FormatSection parseSection(std::string_view s) {
    FormatSection section;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"') {
            std::size_t end = s.find('"', i + 1);
            if (end == std::string_view::npos) end = s.size();
            literal(section, s.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == '\\' || c == '_' || c == '*') {
            std::size_t n = i + 1 < s.size() ? utf8Length(static_cast<unsigned char>(s[i + 1])) : 0;
            if (c == '\\') literal(section, s.substr(i + 1, n));
            if (c == '_') literal(section, " ");
            i += 1 + n;
        } else if (c == '[') {
            std::size_t end = s.find(']', i);
            if (end == std::string_view::npos) end = s.size();
            if (bracket(section, s.substr(i + 1, end - i - 1))) break;
            i = end + 1;
        } else if (c == '0' || c == '#' || c == '?') {
            section.tokens.push_back({TokenKind::Digit, std::string(1, c)});
            ++i;
        } else if (c == '.') {
            std::size_t zeros = runOf(s, i + 1, '0');
            bool afterSecond = false;
            for (auto t = section.tokens.rbegin(); t != section.tokens.rend(); ++t) {
                if (t->kind == TokenKind::Literal) continue;
                afterSecond = t->kind == TokenKind::Second ||
                              (t->kind == TokenKind::Elapsed && t->text == "s");
                break;
            }
            if (afterSecond && zeros > 0) {
                section.tokens.push_back({TokenKind::SubSecond, {}, static_cast<int>(zeros)});
                i += 1 + zeros;
            } else {
                section.tokens.push_back({TokenKind::Point, "."});
                ++i;
            }
        } else if (c == ',') {
            section.tokens.push_back({TokenKind::Comma, ","});
            ++i;
        } else if (c == '%') {
            section.tokens.push_back({TokenKind::Percent, "%"});
            ++i;
        } else if (lower == 'e' && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            std::size_t zeros = 0;
            while (i + 2 + zeros < s.size() &&
                   (s[i + 2 + zeros] == '0' || s[i + 2 + zeros] == '#' || s[i + 2 + zeros] == '?'))
                ++zeros;
            section.tokens.push_back(
                {TokenKind::Exponent, std::string(1, s[i + 1]), static_cast<int>(zeros)});
            i += 2 + zeros;
        } else if (startsWithNoCase(s, i, "general")) {
            section.tokens.push_back({TokenKind::General, {}});
            i += 7;
        } else if (startsWithNoCase(s, i, "am/pm")) {
            section.tokens.push_back({TokenKind::AmPm, "AM/PM"});
            i += 5;
        } else if (startsWithNoCase(s, i, "a/p")) {
            section.tokens.push_back({TokenKind::AmPm, "A/P"});
            i += 3;
        } else if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's' ||
                   lower == 'g' || lower == 'e' || (lower == 'a' && runOf(s, i, 'a') >= 3)) {
            const std::size_t n = runOf(s, i, lower);
            TokenKind kind = lower == 'y'   ? TokenKind::Year
                             : lower == 'm' ? TokenKind::Month
                             : lower == 'd' ? TokenKind::Day
                             : lower == 'h' ? TokenKind::Hour
                             : lower == 's' ? TokenKind::Second
                             : lower == 'g' ? TokenKind::EraName
                             : lower == 'e' ? TokenKind::EraYear
                                            : TokenKind::Weekday;
            section.tokens.push_back({kind, {}, static_cast<int>(n)});
            i += n;
        } else if (c == '@') {
            section.tokens.push_back({TokenKind::Text, "@"});
            section.hasText = true;
            ++i;
        } else if (c == '/') {
            section.tokens.push_back({TokenKind::Slash, "/"});
            ++i;
        } else {
            std::size_t n = utf8Length(static_cast<unsigned char>(c));
            literal(section, s.substr(i, n));
            i += n;
        }
    }
    auto& tokens = section.tokens;
    for (const FormatToken& t : tokens) {
        if (isDateKind(t.kind)) section.isDate = true;
        if (t.kind == TokenKind::AmPm) section.twelveHour = true;
    }
    if (section.isDate) {
        // m is a minute right after an hour or right before a second.
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == TokenKind::Slash || tokens[i].kind == TokenKind::Comma ||
                tokens[i].kind == TokenKind::Point || tokens[i].kind == TokenKind::Digit)
                tokens[i].kind = TokenKind::Literal;
            if (tokens[i].kind != TokenKind::Month || tokens[i].count > 2) continue;
            TokenKind before = TokenKind::Literal, after = TokenKind::Literal;
            for (std::size_t j = i; j-- > 0;)
                if (isDateKind(tokens[j].kind)) {
                    before = tokens[j].kind;
                    break;
                }
            for (std::size_t j = i + 1; j < tokens.size(); ++j)
                if (isDateKind(tokens[j].kind)) {
                    after = tokens[j].kind;
                    break;
                }
            bool elapsedH = before == TokenKind::Elapsed;
            if (before == TokenKind::Hour || elapsedH || after == TokenKind::Second ||
                (after == TokenKind::Elapsed))
                tokens[i].kind = TokenKind::Minute;
        }
    }
    return section;
}

} // namespace

bool FormatSection::matches(double v) const {
    const std::string_view op(conditionOp);
    if (op == "<") return v < conditionValue;
    if (op == "<=") return v <= conditionValue;
    if (op == ">") return v > conditionValue;
    if (op == ">=") return v >= conditionValue;
    if (op == "<>") return v != conditionValue;
    return v == conditionValue;
}

FormatCode::FormatCode(std::string_view code) {
    std::size_t start = 0;
    bool quoted = false, bracketed = false;
    for (std::size_t i = 0; i <= code.size(); ++i) {
        if (i < code.size()) {
            char c = code[i];
            if (c == '"' && !bracketed) quoted = !quoted;
            if (quoted) continue;
            if (c == '[') bracketed = true;
            if (c == ']') bracketed = false;
            if (c == '\\' || c == '_' || c == '*') {
                ++i;
                continue;
            }
            if (c != ';' || bracketed) continue;
        }
        sections_.push_back(parseSection(code.substr(start, i - start)));
        start = i + 1;
    }
    if (sections_.size() == 1 && sections_[0].tokens.empty()) sections_.clear();
}

const FormatSection* FormatCode::choose(double v, bool& negate) const {
    negate = false;
    const std::size_t n = sections_.size();
    if (n == 0) return nullptr;
    const FormatSection* chosen = nullptr;
    if (sections_[0].hasCondition) {
        if (sections_[0].matches(v))
            chosen = &sections_[0];
        else if (n > 1 && sections_[1].hasCondition && sections_[1].matches(v))
            chosen = &sections_[1];
        else if (n > 2)
            chosen = &sections_[2];
        else if (n > 1 && !sections_[1].hasCondition) {
            chosen = &sections_[1];
            negate = v < 0;
        } else
            return nullptr;
    } else if (n == 1 || v > 0 || (v == 0 && n < 3)) {
        chosen = &sections_[0];
    } else if (v < 0) {
        chosen = &sections_[1];
        negate = true;
    } else {
        chosen = &sections_[2];
    }
    // A text-only section shows numbers in General.
    bool shows = false;
    for (const FormatToken& t : chosen->tokens)
        if (t.kind != TokenKind::Literal && t.kind != TokenKind::Text) shows = true;
    if (!shows && chosen->hasText) return nullptr;
    return chosen;
}

const FormatSection* FormatCode::textSection() const {
    if (sections_.size() >= 4) return &sections_[3];
    for (const FormatSection& s : sections_)
        if (s.hasText) return &s;
    return nullptr;
}

} // namespace kol::workbook
