#include "workbook/sheet_xml_scanner.h"

#include "text/cp932.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kol::workbook {

namespace {

// Byte classes, looked up rather than compared: the scanner's loops run over every byte.
enum : unsigned char { kSpace = 1, kNameEnd = 2, kDecode = 4, kTextDecode = 8, kNameOdd = 16 };

constexpr std::array<unsigned char, 256> kClasses = [] {
    std::array<unsigned char, 256> t{};
    for (unsigned char c : {' ', '\t', '\n', '\r'}) t[c] |= kSpace | kNameEnd;
    for (unsigned char c : {'>', '/', '='}) t[c] |= kNameEnd;
    for (unsigned char c : {'&', '<', '\t', '\n', '\r'}) t[c] |= kDecode; // in attribute values
    for (unsigned char c : {'&', '\r'}) t[c] |= kTextDecode;
    for (unsigned char c : {'<', ':'}) t[c] |= kNameOdd; // a fault, or a prefix to strip
    return t;
}();

bool is(char c, unsigned char cls) {
    return (kClasses[static_cast<unsigned char>(c)] & cls) != 0;
}

bool isSpace(char c) {
    return is(c, kSpace);
}

bool isNameEnd(char c) {
    return is(c, kNameEnd);
}

// The first `c` at or after `from`, npos if none. Values and texts in a sheet are mostly a
// few bytes long, where a plain loop beats calling memchr.
std::size_t findByte(std::string_view s, char c, std::size_t from) {
    const std::size_t near = std::min(s.size(), from + 16);
    for (std::size_t i = from; i < near; ++i)
        if (s[i] == c) return i;
    return near == s.size() ? std::string_view::npos : s.find(c, near);
}

bool any(std::string_view s, unsigned char cls) {
    for (char c : s)
        if (is(c, cls)) return true;
    return false;
}

} // namespace

bool SheetXmlScanner::fail(std::string reason) {
    if (!failed_) error_ = std::move(reason);
    failed_ = true;
    return false;
}

bool SheetXmlScanner::decode(std::string_view raw, std::string& out, bool attribute) {
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '&') {
            const std::size_t semi = raw.find(';', i);
            if (semi == raw.npos) return fail("unterminated entity");
            const std::string_view name = raw.substr(i + 1, semi - i - 1);
            if (name == "lt")
                out += '<';
            else if (name == "gt")
                out += '>';
            else if (name == "amp")
                out += '&';
            else if (name == "quot")
                out += '"';
            else if (name == "apos")
                out += '\'';
            else if (name.size() > 1 && name[0] == '#') {
                const bool hex = name[1] == 'x';
                std::uint32_t cp = 0;
                const std::string_view digits = name.substr(hex ? 2 : 1);
                if (digits.empty() || digits.size() > 8) return fail("bad character reference");
                for (char d : digits) {
                    int v = d >= '0' && d <= '9'          ? d - '0'
                            : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                            : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                          : -1;
                    if (v < 0) return fail("bad character reference");
                    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
                }
                if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) ||
                    (cp < 0x20 && cp != 9 && cp != 10 && cp != 13))
                    return fail("bad character reference");
                cp932::appendUtf8(out, static_cast<char32_t>(cp));
            } else {
                return fail("undefined entity");
            }
            i = semi;
        } else if (c == '<' && attribute) {
            return fail("'<' in an attribute value");
        } else if (c == '\r') {
            // Line ends become LF; in attribute values every white space becomes a blank.
            if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
            out += attribute ? ' ' : '\n';
        } else if (attribute && (c == '\t' || c == '\n')) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return true;
}

bool SheetXmlScanner::text(std::string_view raw, bool cdata) {
    if (raw.empty()) return true;
    if (depth_ == 0) {
        for (char c : raw)
            if (!isSpace(c)) return fail("text outside the root element");
        return true;
    }
    if (cdata) {
        std::string& out = decoded_;
        out.clear();
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\r') {
                if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
                out += '\n';
            } else {
                out += raw[i];
            }
        }
    } else if (!any(raw, kTextDecode)) {
        handler_.text(raw); // nothing to decode: the common case
        return true;
    } else if (!decode(raw, decoded_, false)) {
        return false;
    }
    handler_.text(decoded_);
    return true;
}

// A start or end tag at `at` (at '<'); NeedMore when its '>' has not arrived. Names and values
// without entities or white space are handed on in place: the byte after each is set to NUL for
// the handler's call and put back afterwards, so a tag costs no allocation.
SheetXmlScanner::Step SheetXmlScanner::tag(std::size_t& at) {
    char* const b = buf_;
    const std::size_t size = size_;
    std::size_t i = at + 1;
    const bool closing = i < size && b[i] == '/';
    if (closing) ++i;
    const std::size_t nameStart = i;
    unsigned char seen = 0;
    for (; i < size; ++i) {
        const unsigned char cls = kClasses[static_cast<unsigned char>(b[i])];
        if (cls & kNameEnd) break;
        seen |= cls;
    }
    if (i >= size) return Step::NeedMore;
    const std::string_view name(b + nameStart, i - nameStart);
    if (name.empty() || ((seen & kNameOdd) && name.find('<') != name.npos))
        return fail("malformed tag"), Step::Failed;
    spans_.clear();
    while (true) {
        while (i < size && isSpace(b[i])) ++i;
        if (i >= size) return Step::NeedMore;
        if (b[i] == '>' || (b[i] == '/' && !closing)) break;
        if (closing) return fail("malformed end tag"), Step::Failed;
        const std::size_t an = i;
        while (i < size && !isNameEnd(b[i]) && b[i] != '<') ++i;
        if (i >= size) return Step::NeedMore;
        const std::size_t anEnd = i;
        while (i < size && isSpace(b[i])) ++i;
        if (i >= size) return Step::NeedMore;
        if (anEnd == an || b[i] != '=') return fail("malformed attribute"), Step::Failed;
        ++i;
        while (i < size && isSpace(b[i])) ++i;
        if (i >= size) return Step::NeedMore;
        const char quote = b[i];
        if (quote != '"' && quote != '\'') return fail("unquoted attribute"), Step::Failed;
        const std::size_t close = findByte(std::string_view(b, size), quote, i + 1);
        if (close == std::string_view::npos) return Step::NeedMore;
        spans_.push_back({an, anEnd, i + 1, close, -1, 0, 0});
        i = close + 1;
        if (i < size && !isSpace(b[i]) && b[i] != '>' && b[i] != '/')
            return fail("malformed attribute"), Step::Failed;
    }
    const bool empty = b[i] == '/';
    if (empty) {
        if (i + 1 >= size) return Step::NeedMore;
        if (b[i + 1] != '>') return fail("malformed tag"), Step::Failed;
        ++i;
    }
    // The whole tag is here: only now are values decoded, so a tag still arriving costs nothing.
    std::size_t stored = 0;
    for (std::size_t k = 0; k < spans_.size(); ++k) {
        Span& s = spans_[k];
        const std::string_view attrName(b + s.name, s.nameEnd - s.name);
        for (std::size_t j = 0; j < k; ++j)
            if (std::string_view(b + spans_[j].name, spans_[j].nameEnd - spans_[j].name) ==
                attrName)
                return fail("duplicate attribute"), Step::Failed;
        const std::string_view raw(b + s.value, s.valueEnd - s.value);
        s.stored = -1;
        if (any(raw, kDecode)) {
            if (stored == attrStore_.size()) attrStore_.emplace_back();
            if (!decode(raw, attrStore_[stored], true)) return Step::Failed;
            s.stored = static_cast<int>(stored++);
        }
    }
    at = i + 1;
    std::string_view local = name;
    if (seen & kNameOdd) {
        const std::size_t colon = name.find(':');
        if (colon != name.npos) local = name.substr(colon + 1);
    }
    if (closing) {
        if (depth_ == 0 || open_[depth_ - 1] != name) return fail("mismatched tag"), Step::Failed;
        --depth_;
        handler_.end(local);
        return Step::Done;
    }
    if (depth_ == 0 && rootSeen_) return fail("junk after the document element"), Step::Failed;
    rootSeen_ = true;
    // The byte after each name ('=' or a blank) and after each value (its quote) becomes NUL
    // for the call and is put back afterwards.
    attrs_.clear();
    for (Span& s : spans_) {
        s.nameEndByte = b[s.nameEnd];
        s.valueEndByte = b[s.valueEnd];
        b[s.nameEnd] = '\0';
        attrs_.push_back(b + s.name);
        if (s.stored >= 0) {
            attrs_.push_back(attrStore_[static_cast<std::size_t>(s.stored)].c_str());
        } else {
            b[s.valueEnd] = '\0';
            attrs_.push_back(b + s.value);
        }
    }
    attrs_.push_back(nullptr);
    handler_.start(local, attrs_.data());
    for (const Span& s : spans_) {
        b[s.nameEnd] = s.nameEndByte;
        b[s.valueEnd] = s.valueEndByte;
    }
    if (empty) {
        handler_.end(local);
        return Step::Done;
    }
    // "<v>123</v>", the shape of most of a sheet: plain text and the matching end tag are
    // taken here at once, with the same events the long way gives.
    const std::string_view view(b, size);
    const std::size_t lt = findByte(view, '<', at);
    if (lt != std::string_view::npos && lt + 2 + name.size() < size && b[lt + 1] == '/' &&
        view.compare(lt + 2, name.size(), name) == 0 && b[lt + 2 + name.size()] == '>') {
        const std::string_view inner = view.substr(at, lt - at);
        if (!any(inner, kTextDecode)) {
            if (!inner.empty()) handler_.text(inner);
            handler_.end(local);
            at = lt + 3 + name.size();
            return Step::Done;
        }
    }
    if (depth_ == open_.size()) open_.emplace_back();
    open_[depth_++].assign(name);
    return Step::Done;
}

// Markup at `at` (at '<').
SheetXmlScanner::Step SheetXmlScanner::markup(std::size_t& at) {
    const std::string_view b(buf_, size_);
    auto until = [&](std::size_t from, std::string_view end, std::size_t& stop) {
        stop = b.find(end, from);
        return stop != b.npos;
    };
    const std::string_view rest = b.substr(at);
    if (rest.size() >= 2 && rest[1] != '!' && rest[1] != '?') return tag(at); // the usual case
    std::size_t stop = 0;
    if (rest.size() < 9) {
        // Too short to tell "<![CDATA[" from a tag yet, unless it is plainly a tag.
        if (rest.size() < 2 || rest[1] == '!' || rest[1] == '?') return Step::NeedMore;
    }
    if (rest.substr(0, 2) == "<?") {
        if (!until(at + 2, "?>", stop)) return Step::NeedMore;
        at = stop + 2;
        return Step::Done;
    }
    if (rest.substr(0, 4) == "<!--") {
        if (!until(at + 4, "-->", stop)) return Step::NeedMore;
        at = stop + 3;
        return Step::Done;
    }
    if (rest.substr(0, 9) == "<![CDATA[") {
        if (depth_ == 0) return fail("CDATA outside the root element"), Step::Failed;
        if (!until(at + 9, "]]>", stop)) return Step::NeedMore;
        if (!text(b.substr(at + 9, stop - at - 9), true)) return Step::Failed;
        at = stop + 3;
        return Step::Done;
    }
    if (rest[1] == '!') return fail("document type declarations are refused"), Step::Failed;
    return tag(at);
}

bool SheetXmlScanner::feed(std::string_view data, bool last) {
    if (failed_) return false;
    pending_.append(data);
    if (!bomChecked_) { // a UTF-8 byte order mark may lead
        if (pending_.size() < 3 && !last) return true;
        if (pending_.compare(0, 3, "\xEF\xBB\xBF") == 0) pending_.erase(0, 3);
        bomChecked_ = true;
    }
    // A construct still open after the last piece is scanned again only once the bytes held
    // have doubled, so one vast tag or text costs linear time, not quadratic.
    if (!last && pending_.size() < 2 * held_) return true;
    buf_ = pending_.data();
    size_ = pending_.size();
    std::size_t at = 0;
    const bool ok = scan(at);
    pending_.erase(0, at);
    held_ = pending_.size();
    return ok && (!last || finished());
}

bool SheetXmlScanner::feedInPlace(char* buffer, std::size_t from, std::size_t to, bool last) {
    if (failed_) return false;
    if (!pending_.empty() || (!bomChecked_ && to - from < 3))
        return feed(std::string_view(buffer + from, to - from), last);
    if (!bomChecked_) {
        if (std::string_view(buffer + from, 3) == "\xEF\xBB\xBF") from += 3;
        bomChecked_ = true;
    }
    buf_ = buffer + from;
    size_ = to - from;
    std::size_t at = 0;
    const bool ok = scan(at);
    pending_.assign(buf_ + at, size_ - at); // what is left waits for the next piece
    held_ = pending_.size();
    return ok && (!last || finished());
}

bool SheetXmlScanner::scan(std::size_t& at) {
    const std::string_view b(buf_, size_);
    while (at < b.size()) {
        const std::size_t lt = findByte(b, '<', at);
        if (lt == std::string::npos) {
            // Text without its end yet: hand on what is surely complete (up to any '&').
            const std::size_t amp = b.find('&', at);
            std::size_t upTo = amp == std::string::npos ? b.size() : amp;
            if (upTo > at && b[upTo - 1] == '\r') --upTo; // perhaps CR LF
            if (upTo > at && !text(b.substr(at, upTo - at), false)) return false;
            at = upTo;
            break;
        }
        if (lt > at && !text(b.substr(at, lt - at), false)) return false;
        at = lt;
        const Step step = markup(at);
        if (step == Step::Failed) return false;
        if (step == Step::NeedMore) break;
    }
    return true;
}

bool SheetXmlScanner::finished() {
    if (!pending_.empty()) return fail("unclosed markup at the end");
    if (!rootSeen_) return fail("no element found");
    if (depth_ != 0) return fail("unclosed element " + open_[depth_ - 1]);
    return true;
}

std::vector<std::string> SheetXmlScanner::openElements() const {
    return {open_.begin(), open_.begin() + static_cast<std::ptrdiff_t>(depth_)};
}

void SheetXmlScanner::resumeInside(std::vector<std::string> open) {
    depth_ = open.size();
    open_ = std::move(open);
    rootSeen_ = true;
    bomChecked_ = true;
}

} // namespace kol::workbook
