#include "workbook/worksheet_reader.h"

#include "text/cp932.h"
#include "workbook/format_tokens.h"
#include "workbook/number_text.h"
#include "workbook/sheet_xml_scanner.h"
#include "workbook/xlsx_parts.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <thread>

namespace kol::workbook {

namespace {

std::atomic<std::size_t> splitFrom{1u << 20}; // smaller parts are not worth a thread
constexpr std::size_t kReserveUpTo = 256u << 20;

std::string toCp932(std::string_view utf8) {
    for (unsigned char c : utf8)
        if (c >= 0x80) return cp932::fromUtf8(utf8);
    return std::string(utf8);
}

// "AB12" → column 27 (from 0) and row 11 (from 0); false when there is no column.
bool parseRef(const char* ref, std::uint32_t& col, std::uint32_t& row, bool& hasRow) {
    std::uint64_t c = 0, r = 0;
    const char* p = ref;
    for (; *p >= 'A' && *p <= 'Z'; ++p) {
        c = c * 26 + static_cast<std::uint64_t>(*p - 'A' + 1);
        if (c > SheetText::kMaxCols) return false;
    }
    if (c == 0) return false;
    hasRow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        r = r * 10 + static_cast<std::uint64_t>(*p - '0');
        if (r > SheetText::kMaxRows) return false;
        hasRow = true;
    }
    col = static_cast<std::uint32_t>(c - 1);
    if (hasRow && r > 0) row = static_cast<std::uint32_t>(r - 1);
    return true;
}

// The value of a local-named attribute: plain names are compared at once, prefixed ones after
// their first colon.
const char* attribute(const char** a, std::string_view name) {
    for (; *a; a += 2) {
        const char* n = a[0];
        std::size_t i = 0;
        while (i < name.size() && n[i] == name[i]) ++i;
        if (i == name.size() && n[i] == '\0') return a[1];
        const char* colon = std::strchr(n, ':');
        if (colon && std::string_view(colon + 1) == name) return a[1];
    }
    return nullptr;
}

// strtoul(text, nullptr, 10), with plain short digit strings read at once.
std::size_t index(const char* text) {
    std::size_t v = 0;
    int n = 0;
    for (; n < 9 && text[n] >= '0' && text[n] <= '9'; ++n)
        v = v * 10 + static_cast<std::size_t>(text[n] - '0');
    if (n > 0 && text[n] == '\0') return v;
    return static_cast<std::size_t>(std::strtoul(text, nullptr, 10));
}

enum class CellType { Number, Shared, String, Inline, Boolean, ErrorOrDate };

CellType cellType(const char* t) {
    if (!t) return CellType::Number;
    const std::string_view v(t);
    if (v == "s") return CellType::Shared;
    if (v == "str") return CellType::String;
    if (v == "inlineStr") return CellType::Inline;
    if (v == "b") return CellType::Boolean;
    if (v == "e" || v == "d") return CellType::ErrorOrDate;
    return CellType::Number;
}

// Turns the cells of one worksheet part into shown texts.
class SheetHandler : public XmlHandler {
public:
    SheetHandler(SheetText& out, const SharedStringsHandler& strings, const StylesHandler& styles,
                 DateSystem dates)
        : out_(out), strings_(strings), styles_(styles), dates_(dates) {}
    bool full = false;
    // The first row had no usable number and took the one after the previous row: a reader
    // that began mid-sheet cannot know it.
    bool guessedFirstRow = false;
    // Between rows and cells: nothing open that the next row's cells would depend on.
    bool clean() const { return !inCell_ && !inValue_ && phonetic_ == 0; }

    void start(std::string_view name, const char** a) override {
        if (name == "c") {
            // One pass for the three attributes a cell has; the first of each name counts.
            const char *r = nullptr, *t = nullptr, *s = nullptr;
            for (const char** p = a; *p; p += 2) {
                const char* n = p[0];
                if (n[0] == '\0' || n[1] != '\0') {
                    const char* colon = std::strchr(n, ':');
                    if (!colon) continue;
                    n = colon + 1;
                    if (n[0] == '\0' || n[1] != '\0') continue;
                }
                const char** slot = n[0] == 'r'   ? &r
                                    : n[0] == 't' ? &t
                                    : n[0] == 's' ? &s
                                                  : nullptr;
                if (slot && !*slot) *slot = p[1];
            }
            std::uint32_t row = row_, col = nextCol_;
            bool hasRow = false;
            valid_ = !r || parseRef(r, col, row, hasRow);
            cellRow_ = row;
            cellCol_ = col;
            type_ = cellType(t);
            style_ = s ? index(s) : 0;
            value_.clear();
            inCell_ = true;
        } else if (name == "row") {
            const char* r = attribute(a, "r");
            long n = r ? std::atol(r) : 0;
            const bool numbered = n > 0 && n <= static_cast<long>(SheetText::kMaxRows);
            if (!rowSeen_ && !numbered) guessedFirstRow = true;
            rowSeen_ = true;
            row_ = numbered ? static_cast<std::uint32_t>(n - 1) : nextRow_;
            nextCol_ = 0;
        } else if (inCell_ && name == "v") {
            inValue_ = true;
        } else if (inCell_ && name == "rPh") {
            ++phonetic_;
        } else if (inCell_ && name == "t" && phonetic_ == 0 && type_ == CellType::Inline) {
            inValue_ = true;
        }
    }

    void end(std::string_view name) override {
        if (name == "v" || name == "t") {
            inValue_ = false;
        } else if (name == "c") {
            inCell_ = false;
            if (valid_) {
                if (!out_.add(cellRow_, cellCol_, shown())) full = true;
                nextCol_ = cellCol_ + 1;
            }
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "row") {
            nextRow_ = row_ + 1;
        }
    }

    void text(std::string_view data) override {
        if (inValue_) value_.append(data);
    }

private:
    std::string_view shown() {
        if (value_.empty()) return {};
        switch (type_) {
        case CellType::Shared:
            return strings_.at(index(value_.c_str()));
        case CellType::String:
        case CellType::Inline:
            return shown_ = toCp932(decodeEscapes(value_));
        case CellType::Boolean:
            return value_ == "1" || value_ == "true" ? "TRUE" : "FALSE";
        case CellType::ErrorOrDate:
            return shown_ = toCp932(value_);
        case CellType::Number:
            break;
        }
        auto cached = formats_.find(style_);
        if (cached == formats_.end()) {
            const std::string_view code = styles_.formatOf(style_);
            Format f;
            if (!code.empty()) f.code.emplace(code);
            f.whole = code == "0" ? Whole::Plain : code == "#,##0" ? Whole::Grouped : Whole::No;
            cached = formats_.emplace(style_, std::move(f)).first;
        }
        const Format& format = cached->second;
        if (!format.code && plainGeneral(value_, shown_)) return shown_;
        if (format.whole != Whole::No && plainWhole(value_, format.whole == Whole::Grouped, shown_))
            return shown_;
        double v = 0;
        if (!parseNumber(value_, v)) return shown_ = toCp932(value_);
        if (!format.code) return shown_ = generalNumber(v);
        return shown_ = toCp932(formatParsed(v, *format.code, dates_));
    }

    SheetText& out_;
    const SharedStringsHandler& strings_;
    const StylesHandler& styles_;
    DateSystem dates_;
    // Each style's parsed format; the two whole-number formats met most are also shown from
    // the text.
    enum class Whole { No, Plain, Grouped };
    struct Format {
        std::optional<FormatCode> code;
        Whole whole = Whole::No;
    };
    std::map<std::size_t, Format> formats_;
    std::uint32_t row_ = 0, nextRow_ = 0, nextCol_ = 0, cellRow_ = 0, cellCol_ = 0;
    CellType type_ = CellType::Number;
    std::string value_, shown_;
    std::size_t style_ = 0;
    int phonetic_ = 0;
    bool inCell_ = false, inValue_ = false, valid_ = true, rowSeen_ = false;
};

// A row's start tag at or after `from`: "<row" then a blank, '>' or '/'.
std::size_t rowTag(std::string_view xml, std::size_t from) {
    for (std::size_t at = xml.find("<row", from); at != std::string::npos;
         at = xml.find("<row", at + 4)) {
        const char next = at + 4 < xml.size() ? xml[at + 4] : '\0';
        if (next == ' ' || next == '>' || next == '/' || next == '\t' || next == '\n' ||
            next == '\r')
            return at;
    }
    return std::string::npos;
}

struct Reading {
    SheetText& text;
    SheetHandler handler;
    SheetXmlScanner scanner;
    Reading(SheetText& out, const WorksheetContext& c)
        : text(out), handler(out, c.strings, c.styles, c.dates), scanner(handler) {}
};

WorkbookResult finish(Reading& r, bool ok, const WorksheetContext& c) {
    if (r.handler.full) return {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
    if (!ok)
        return {OpenStatus::Unreadable, "malformed XML in " + c.part + ": " + r.scanner.error()};
    return {};
}

// The second half: cells from `from` to the end into `out`, assuming `open` are the elements
// open there. False when its cells cannot stand in for a straight reading.
bool readTail(char* xml, std::size_t size, std::size_t from, std::vector<std::string> open,
              const WorksheetContext& c, SheetText& out) {
    try {
        Reading tail(out, c);
        tail.scanner.resumeInside(std::move(open));
        const bool ok = tail.scanner.feedInPlace(xml, from, size, true);
        return ok && !tail.handler.full && !tail.handler.guessedFirstRow;
    } catch (const std::exception&) {
        return false; // the head reads on alone and meets the same shortage, if any
    }
}

} // namespace

void setWorksheetSplitFrom(std::size_t bytes) {
    splitFrom = bytes;
}

WorkbookResult readWorksheet(char* data, std::size_t size, const WorksheetContext& c,
                             SheetText& out) {
    const std::string_view xml(data, size);
    out = SheetText();
    // A cell takes some 30 bytes of XML or more; its text rarely more than a quarter of them.
    if (size <= kReserveUpTo) out.reserve(size / 32, size / 4);
    Reading head(out, c);
    const std::size_t first = rowTag(xml, 0);
    const std::size_t split = xml.size() >= splitFrom && first != std::string::npos
                                  ? rowTag(xml, std::max(first + 1, xml.size() / 2))
                                  : std::string::npos;
    if (split == std::string::npos || std::thread::hardware_concurrency() < 2)
        return finish(head, head.scanner.feedInPlace(data, 0, size, true), c);

    // The elements open at the first row are what the second half assumes at its row. Each
    // thread reads its own half of the buffer in place.
    bool ok = head.scanner.feedInPlace(data, 0, first);
    if (ok && head.scanner.idle()) {
        std::vector<std::string> open = head.scanner.openElements();
        SheetText tailText;
        if (size <= kReserveUpTo) tailText.reserve((size - split) / 32, (size - split) / 4);
        bool tailOk = false;
        std::thread tail([&] { tailOk = readTail(data, size, split, open, c, tailText); });
        ok = head.scanner.feedInPlace(data, first, split);
        tail.join();
        if (ok && tailOk && !head.handler.full && head.scanner.idle() && head.handler.clean() &&
            head.scanner.openElements() == open) {
            if (!out.append(std::move(tailText)))
                return {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
            return {};
        }
        if (!ok || head.handler.full) return finish(head, ok, c);
        return finish(head, head.scanner.feedInPlace(data, split, size, true), c);
    }
    if (!ok) return finish(head, ok, c);
    return finish(head, head.scanner.feedInPlace(data, first, size, true), c);
}

} // namespace kol::workbook
