#include "workbook/biff_formulas.h"

#include "text/cp932.h"
#include "workbook/cell_format.h"
#include "workbook/code_page.h"
#include "workbook/format_tokens.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

namespace kol::workbook {

namespace {

std::uint16_t u16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t u32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(u16(b, at)) | static_cast<std::uint32_t>(u16(b, at + 2))
                                                        << 16;
}

const char* errorText(unsigned char code) {
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    default:
        return "#N/A";
    }
}

// A number by the format of its cell's style, as the xlsx path shows it.
class NumberStyles {
public:
    std::map<int, std::string> formats; // id → code (UTF-8)
    std::vector<int> xfFormat;          // style index → format id
    DateSystem dates = DateSystem::From1900;

    std::string shown(double v, std::size_t xf) {
        auto cached = parsed_.find(xf);
        if (cached == parsed_.end()) {
            std::optional<FormatCode> code;
            if (xf < xfFormat.size()) {
                auto custom = formats.find(xfFormat[xf]);
                std::string_view text = custom != formats.end() ? std::string_view(custom->second)
                                                                : builtinFormat(xfFormat[xf]);
                if (!text.empty() && text != "General") code.emplace(text);
            }
            cached = parsed_.emplace(xf, std::move(code)).first;
        }
        if (!cached->second) return generalNumber(v);
        std::string utf8 = formatParsed(v, *cached->second, dates);
        for (unsigned char c : utf8)
            if (c >= 0x80) return cp932::fromUtf8(utf8);
        return utf8;
    }

private:
    std::map<std::size_t, std::optional<FormatCode>> parsed_;
};

// An RK number: a 30-bit integer or the high bits of a double, perhaps hundredths.
double rkValue(std::uint32_t rk) {
    double v;
    if (rk & 2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 1) ? v / 100 : v;
}

struct Record {
    std::uint16_t type;
    std::string data;
};

// The record at `pos`, or false at the end of the stream.
bool next(const std::string& s, std::size_t& pos, Record& r) {
    if (pos + 4 > s.size()) return false;
    r.type = u16(s, pos);
    const std::size_t length = u16(s, pos + 2);
    if (pos + 4 + length > s.size()) return false;
    r.data.assign(s, pos + 4, length);
    pos += 4 + length;
    return true;
}

// 8-bit text in the book's code page.
std::string codepageText(std::string_view bytes, std::uint16_t codepage) {
    return codePageToCp932(bytes, codepage);
}

std::string stringRecord(const std::string& d, bool biff8, std::uint16_t codepage) {
    const std::size_t count = u16(d, 0);
    if (biff8) {
        std::u16string wide;
        const bool utf16 = d.size() > 2 && (d[2] & 1);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = 3 + (utf16 ? 2 * i : i);
            if (at + (utf16 ? 2 : 1) > d.size()) break;
            wide += utf16 ? static_cast<char16_t>(u16(d, at))
                          : static_cast<char16_t>(static_cast<unsigned char>(d[at]));
        }
        return cp932::fromUtf16(wide);
    }
    return codepageText(std::string_view(d).substr(std::min<std::size_t>(2, d.size()), count),
                        codepage);
}

// A BOUNDSHEET name: an 8-bit length, then 8-bit text (BIFF5) or a flag byte and characters.
std::string sheetName(const std::string& d, bool biff8, std::uint16_t codepage) {
    if (d.size() < 7) return {};
    const std::size_t count = static_cast<unsigned char>(d[6]);
    if (!biff8) return codepageText(std::string_view(d).substr(7, count), codepage);
    std::string lengthFirst(2, '\0');
    lengthFirst[0] = static_cast<char>(count);
    return stringRecord(lengthFirst + d.substr(7), true, codepage);
}

} // namespace

bool isBiff5Stream(const std::string& s) {
    return s.size() >= 8 && u16(s, 0) == 0x0809 && u16(s, 4) == 0x0500;
}

BiffBook readBiffRecords(const std::string& s) {
    BiffBook book;
    std::vector<std::vector<BiffCell>>& sheets = book.cells;
    std::size_t pos = 0;
    Record r;
    if (!next(s, pos, r) || (r.type != 0x0809 && r.type != 0x0409 && r.type != 0x0209)) return book;
    const bool biff8 = u16(r.data, 0) == 0x0600;
    book.biff8 = biff8;
    std::uint16_t codepage = 1252;
    std::vector<std::uint32_t> starts;
    NumberStyles styles;
    while (next(s, pos, r) && r.type != 0x000A) {
        const std::string& d = r.data;
        if (r.type == 0x0042) codepage = u16(d, 0);
        if (r.type == 0x0022 && u16(d, 0) == 1) styles.dates = DateSystem::From1904;
        if (r.type == 0x00E0 && d.size() >= 4) styles.xfFormat.push_back(u16(d, 2));
        if (r.type == 0x041E && d.size() >= 3) {
            std::string code;
            if (biff8) {
                const std::size_t count = u16(d, 2);
                const bool wide = d.size() > 4 && (d[4] & 1);
                for (std::size_t i = 0; i < count; ++i) {
                    const std::size_t at = 5 + (wide ? 2 * i : i);
                    if (at + (wide ? 2 : 1) > d.size()) break;
                    cp932::appendUtf8(code, wide ? u16(d, at) : static_cast<unsigned char>(d[at]));
                }
            } else {
                const std::string bytes = d.substr(3, static_cast<unsigned char>(d[2]));
                for (char16_t c : codePageToUtf16(bytes, codepage)) cp932::appendUtf8(code, c);
            }
            styles.formats[u16(d, 0)] = code;
        }
        if (r.type == 0x002F) book.encrypted = true;
        if (r.type == 0x0085 && d.size() >= 6 && static_cast<unsigned char>(d[5]) == 0) {
            starts.push_back(u32(d, 0));
            book.names.push_back(sheetName(d, biff8, codepage));
        }
    }
    for (std::uint32_t start : starts) {
        std::vector<BiffCell> cells;
        std::size_t at = start;
        bool pendingString = false;
        BiffCell pending{};
        while (next(s, at, r) && r.type != 0x000A) {
            const std::string& d = r.data;
            if (r.type == 0x0006 && d.size() >= 14) {
                BiffCell c{u16(d, 0), u16(d, 2), {}};
                pendingString = false;
                if (u16(d, 12) == 0xFFFF) {
                    const unsigned char kind = static_cast<unsigned char>(d[6]);
                    if (kind == 0) {
                        pendingString = true;
                        pending = c;
                        continue;
                    }
                    if (kind == 1) c.text = d[8] ? "TRUE" : "FALSE";
                    if (kind == 2) c.text = errorText(static_cast<unsigned char>(d[8]));
                } else {
                    double v;
                    std::memcpy(&v, d.data() + 6, sizeof v);
                    c.text = styles.shown(v, u16(d, 4));
                }
                if (!c.text.empty()) cells.push_back(std::move(c));
            } else if (r.type == 0x0207 && pendingString) {
                pending.text = stringRecord(d, biff8, codepage);
                if (!pending.text.empty()) cells.push_back(pending);
                pendingString = false;
            } else if (r.type == 0x0203 && d.size() >= 14) { // NUMBER
                double v;
                std::memcpy(&v, d.data() + 6, sizeof v);
                cells.push_back({u16(d, 0), u16(d, 2), styles.shown(v, u16(d, 4))});
            } else if (r.type == 0x027E && d.size() >= 10) { // RK
                cells.push_back(
                    {u16(d, 0), u16(d, 2), styles.shown(rkValue(u32(d, 6)), u16(d, 4))});
            } else if (r.type == 0x00BD && d.size() >= 6) { // MULRK: several RK cells of a row
                const std::uint16_t row = u16(d, 0), first = u16(d, 2);
                for (std::size_t i = 0; 4 + 6 * i + 6 <= d.size() - 2; ++i)
                    cells.push_back(
                        {row, static_cast<std::uint16_t>(first + i),
                         styles.shown(rkValue(u32(d, 4 + 6 * i + 2)), u16(d, 4 + 6 * i))});
            } else if (!biff8 && (r.type == 0x0204 || r.type == 0x00D6) && d.size() >= 8) {
                // LABEL / RSTRING: row, column, style, then an 8-bit text of 16-bit length.
                BiffCell c{u16(d, 0), u16(d, 2), {}};
                c.text = codepageText(std::string_view(d).substr(8, u16(d, 6)), codepage);
                if (!c.text.empty()) cells.push_back(std::move(c));
            } else if (r.type == 0x0205 && d.size() >= 8) {
                const bool isError = d[7] != 0;
                cells.push_back({u16(d, 0), u16(d, 2),
                                 isError ? errorText(static_cast<unsigned char>(d[6]))
                                         : (d[6] ? "TRUE" : "FALSE")});
            }
        }
        sheets.push_back(std::move(cells));
    }
    return book;
}

} // namespace kol::workbook
