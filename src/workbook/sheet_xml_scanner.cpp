#include "workbook/sheet_xml_scanner.h"

#include "text/cp932.h"

#include <cstring>

namespace kol::workbook {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameEnd(char c) {
    return isSpace(c) || c == '>' || c == '/' || c == '=';
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
    if (open_.empty()) {
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
    } else if (!decode(raw, decoded_, false)) {
        return false;
    }
    handler_.text(decoded_);
    return true;
}

// A start or end tag at `at` (at '<'); NeedMore when its '>' has not arrived.
SheetXmlScanner::Step SheetXmlScanner::tag(std::size_t& at) {
    const std::string& b = pending_;
    std::size_t i = at + 1;
    const bool closing = i < b.size() && b[i] == '/';
    if (closing) ++i;
    std::size_t nameStart = i;
    while (i < b.size() && !isNameEnd(b[i])) ++i;
    if (i >= b.size()) return Step::NeedMore;
    std::string name = b.substr(nameStart, i - nameStart);
    if (name.empty() || name.find('<') != std::string::npos)
        return fail("malformed tag"), Step::Failed;
    attrStore_.clear();
    while (true) {
        while (i < b.size() && isSpace(b[i])) ++i;
        if (i >= b.size()) return Step::NeedMore;
        if (b[i] == '>' || (b[i] == '/' && !closing)) break;
        if (closing) return fail("malformed end tag"), Step::Failed;
        const std::size_t an = i;
        while (i < b.size() && !isNameEnd(b[i]) && b[i] != '<') ++i;
        if (i >= b.size()) return Step::NeedMore;
        std::string attrName = b.substr(an, i - an);
        while (i < b.size() && isSpace(b[i])) ++i;
        if (i >= b.size()) return Step::NeedMore;
        if (attrName.empty() || b[i] != '=') return fail("malformed attribute"), Step::Failed;
        ++i;
        while (i < b.size() && isSpace(b[i])) ++i;
        if (i >= b.size()) return Step::NeedMore;
        const char quote = b[i];
        if (quote != '"' && quote != '\'') return fail("unquoted attribute"), Step::Failed;
        const std::size_t close = b.find(quote, i + 1);
        if (close == b.npos) return Step::NeedMore;
        std::string value;
        if (!decode(std::string_view(b).substr(i + 1, close - i - 1), value, true))
            return Step::Failed;
        for (std::size_t k = 0; k < attrStore_.size(); k += 2)
            if (attrStore_[k] == attrName) return fail("duplicate attribute"), Step::Failed;
        attrStore_.push_back(std::move(attrName));
        attrStore_.push_back(std::move(value));
        i = close + 1;
        if (i < b.size() && !isSpace(b[i]) && b[i] != '>' && b[i] != '/')
            return fail("malformed attribute"), Step::Failed;
    }
    const bool empty = b[i] == '/';
    if (empty) {
        if (i + 1 >= b.size()) return Step::NeedMore;
        if (b[i + 1] != '>') return fail("malformed tag"), Step::Failed;
        ++i;
    }
    at = i + 1;
    if (closing) {
        if (open_.empty() || open_.back() != name) return fail("mismatched tag"), Step::Failed;
        open_.pop_back();
        handler_.end(XmlReader::localName(name.c_str()));
        return Step::Done;
    }
    if (open_.empty() && rootSeen_) return fail("junk after the document element"), Step::Failed;
    rootSeen_ = true;
    attrs_.clear();
    for (const std::string& s : attrStore_) attrs_.push_back(s.c_str());
    attrs_.push_back(nullptr);
    handler_.start(XmlReader::localName(name.c_str()), attrs_.data());
    if (empty)
        handler_.end(XmlReader::localName(name.c_str()));
    else
        open_.push_back(std::move(name));
    return Step::Done;
}

// Markup at `at` (at '<').
SheetXmlScanner::Step SheetXmlScanner::markup(std::size_t& at) {
    const std::string_view b(pending_);
    auto until = [&](std::size_t from, std::string_view end, std::size_t& stop) {
        stop = b.find(end, from);
        return stop != b.npos;
    };
    const std::string_view rest = b.substr(at);
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
        if (open_.empty()) return fail("CDATA outside the root element"), Step::Failed;
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
    std::size_t at = 0;
    while (at < pending_.size()) {
        const std::size_t lt = pending_.find('<', at);
        if (lt == std::string::npos) {
            // Text without its end yet: hand on what is surely complete (up to any '&').
            const std::size_t amp = pending_.find('&', at);
            std::size_t upTo = amp == std::string::npos ? pending_.size() : amp;
            if (upTo > at && pending_[upTo - 1] == '\r') --upTo; // perhaps CR LF
            if (upTo > at && !text(std::string_view(pending_).substr(at, upTo - at), false))
                return false;
            at = upTo;
            break;
        }
        if (lt > at && !text(std::string_view(pending_).substr(at, lt - at), false)) return false;
        at = lt;
        const Step step = markup(at);
        if (step == Step::Failed) return false;
        if (step == Step::NeedMore) break;
    }
    pending_.erase(0, at);
    held_ = pending_.size();
    if (!last) return true;
    if (!pending_.empty()) return fail("unclosed markup at the end");
    if (!rootSeen_) return fail("no element found");
    if (!open_.empty()) return fail("unclosed element " + open_.back());
    return true;
}

} // namespace kol::workbook
