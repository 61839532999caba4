#include "workbook/biff_formulas.h"

#include "text/cp932.h"
#include "workbook/biff_strings.h"
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

// `first` with the CONTINUE records that follow it at `pos`.
ContinuedRecord continued(const std::string& s, std::size_t& pos, const Record& first) {
    ContinuedRecord joined{first.data, {}};
    Record r;
    for (std::size_t at = pos; next(s, at, r) && r.type == 0x003C; pos = at) {
        joined.breaks.push_back(joined.data.size());
        joined.data += r.data;
    }
    return joined;
}

// 8-bit text in the book's code page.
std::string codepageText(std::string_view bytes, std::uint16_t codepage) {
    return codePageToCp932(bytes, codepage);
}

// A BIFF8 string at `at` of a record (no CONTINUE), as CP932; cut short where damaged.
std::string unicodeText(const std::string& d, std::size_t at, LengthField length) {
    std::u16string wide;
    const ContinuedRecord record{d, {}};
    (void)readBiffString(record, at, length, StringExtras::Absent, wide);
    return cp932::fromUtf16(wide);
}

// A BOUNDSHEET name: an 8-bit length, then 8-bit text (BIFF5) or a flag byte and characters.
std::string sheetName(const std::string& d, bool biff8, std::uint16_t codepage) {
    if (d.size() < 7) return {};
    if (biff8) return unicodeText(d, 6, LengthField::Byte);
    return codepageText(std::string_view(d).substr(7, static_cast<unsigned char>(d[6])), codepage);
}

// The cells of one worksheet substream, from its BOF at `start`.
class SheetRecords {
public:
    SheetRecords(const BiffBook& book, NumberStyles& styles, const std::vector<std::string>& sst,
                 std::uint16_t codepage, bool texts)
        : book_(book), styles_(styles), sst_(sst), codepage_(codepage), texts_(texts),
          rowLimit_(book.biff8 ? 65536 : 16384) {}

    std::vector<BiffCell> read(const std::string& s, std::size_t at) {
        cells_.clear();
        pendingString_ = false;
        Record r;
        // A chart embedded in the sheet is a substream of its own, BOF to EOF: skipped.
        int depth = 0;
        while (next(s, at, r)) {
            if (r.type == 0x0809) ++depth;
            if (r.type == 0x000A && --depth <= 0) break;
            if (depth == 1) take(s, at, r);
        }
        return std::move(cells_);
    }

private:
    // A cell outside the format's grid (256 columns; 16,384 rows before BIFF8, 65,536 in it)
    // is damage; it is left out, so it cannot stretch the sheet.
    void add(std::uint32_t row, std::uint32_t col, std::string text) {
        if (row < rowLimit_ && col < kColumns && !text.empty())
            cells_.push_back({row, static_cast<std::uint16_t>(col), std::move(text)});
    }

    void take(const std::string& s, std::size_t& at, const Record& r) {
        const std::string& d = r.data;
        const bool biff8 = book_.biff8;
        if (r.type == 0x0006 && d.size() >= 14) { // FORMULA: its last result
            pendingString_ = false;
            if (u16(d, 12) == 0xFFFF) {
                const unsigned char kind = static_cast<unsigned char>(d[6]);
                if (kind == 0) { // a text, in the STRING record that follows
                    pendingString_ = true;
                    pendingRow_ = u16(d, 0), pendingCol_ = u16(d, 2);
                } else if (kind == 1) {
                    add(u16(d, 0), u16(d, 2), d[8] ? "TRUE" : "FALSE");
                } else if (kind == 2) {
                    add(u16(d, 0), u16(d, 2), errorText(static_cast<unsigned char>(d[8])));
                }
            } else {
                add(u16(d, 0), u16(d, 2), number(d, 6, u16(d, 4)));
            }
        } else if (r.type == 0x0207 && pendingString_) { // STRING
            pendingString_ = false;
            std::string text;
            if (biff8) {
                const ContinuedRecord whole = continued(s, at, r);
                std::size_t from = 0;
                std::u16string wide;
                (void)readBiffString(whole, from, LengthField::Word, StringExtras::Absent, wide);
                text = cp932::fromUtf16(wide);
            } else {
                text = codepageText(
                    std::string_view(d).substr(std::min<std::size_t>(2, d.size()), u16(d, 0)),
                    codepage_);
            }
            add(pendingRow_, pendingCol_, std::move(text));
        } else if (r.type == 0x0203 && d.size() >= 14) { // NUMBER
            add(u16(d, 0), u16(d, 2), number(d, 6, u16(d, 4)));
        } else if (r.type == 0x027E && d.size() >= 10) { // RK
            add(u16(d, 0), u16(d, 2), styles_.shown(rkValue(u32(d, 6)), u16(d, 4)));
        } else if (r.type == 0x00BD && d.size() >= 6) { // MULRK: several RK cells of a row
            const std::uint32_t row = u16(d, 0), first = u16(d, 2);
            for (std::size_t i = 0; 4 + 6 * i + 6 <= d.size() - 2 && first + i < kColumns; ++i)
                add(row, static_cast<std::uint32_t>(first + i),
                    styles_.shown(rkValue(u32(d, 4 + 6 * i + 2)), u16(d, 4 + 6 * i)));
        } else if (r.type == 0x0205 && d.size() >= 8) { // BOOLERR
            add(u16(d, 0), u16(d, 2),
                d[7] != 0 ? errorText(static_cast<unsigned char>(d[6]))
                          : (d[6] ? "TRUE" : "FALSE"));
        } else if (!texts_) {
            return;
        } else if (r.type == 0x00FD && d.size() >= 10) { // LABELSST
            const std::uint32_t index = u32(d, 6);
            if (index < sst_.size()) add(u16(d, 0), u16(d, 2), sst_[index]);
        } else if ((r.type == 0x0204 || r.type == 0x00D6) && d.size() >= 8) { // LABEL, RSTRING
            // BIFF8: a unicode string; before it, 8-bit text of a 16-bit length.
            add(u16(d, 0), u16(d, 2),
                biff8 ? unicodeText(d, 6, LengthField::Word)
                      : codepageText(std::string_view(d).substr(8, u16(d, 6)), codepage_));
        }
    }

    std::string number(const std::string& d, std::size_t at, std::uint16_t xf) {
        double v;
        std::memcpy(&v, d.data() + at, sizeof v);
        return styles_.shown(v, xf);
    }

    static constexpr std::uint32_t kColumns = 256;
    const BiffBook& book_;
    NumberStyles& styles_;
    const std::vector<std::string>& sst_;
    std::uint16_t codepage_;
    bool texts_;
    std::uint32_t rowLimit_;
    std::vector<BiffCell> cells_;
    bool pendingString_ = false;
    std::uint32_t pendingRow_ = 0, pendingCol_ = 0;
};

// A FORMAT record's code, UTF-8.
std::string formatCode(const std::string& d, bool biff8, std::uint16_t codepage) {
    std::string code;
    if (biff8) {
        std::u16string wide;
        std::size_t at = 2;
        (void)readBiffString({d, {}}, at, LengthField::Word, StringExtras::Absent, wide);
        for (char16_t c : wide) cp932::appendUtf8(code, c);
    } else {
        const std::string bytes = d.substr(3, static_cast<unsigned char>(d[2]));
        for (char16_t c : codePageToUtf16(bytes, codepage)) cp932::appendUtf8(code, c);
    }
    return code;
}

} // namespace

bool isBiff5Stream(const std::string& s) {
    return s.size() >= 8 && u16(s, 0) == 0x0809 && u16(s, 4) == 0x0500;
}

bool isBiff8Stream(const std::string& s) {
    return s.size() >= 8 && u16(s, 0) == 0x0809 && u16(s, 4) == 0x0600;
}

BiffBook readBiffRecords(const std::string& s, BiffTexts texts) {
    BiffBook book;
    std::size_t pos = 0;
    Record r;
    if (!next(s, pos, r) || (r.type != 0x0809 && r.type != 0x0409 && r.type != 0x0209)) return book;
    book.biff8 = u16(r.data, 0) == 0x0600;
    std::uint16_t codepage = 1252;
    std::vector<std::uint32_t> starts;
    std::vector<std::string> sst;
    NumberStyles styles;
    while (next(s, pos, r) && r.type != 0x000A) {
        const std::string& d = r.data;
        if (r.type == 0x0042) codepage = u16(d, 0);
        if (r.type == 0x0022 && u16(d, 0) == 1) styles.dates = DateSystem::From1904;
        if (r.type == 0x00E0 && d.size() >= 4) styles.xfFormat.push_back(u16(d, 2));
        if (r.type == 0x041E && d.size() >= 3)
            styles.formats[u16(d, 0)] = formatCode(d, book.biff8, codepage);
        if (r.type == 0x002F) book.encrypted = true;
        if (r.type == 0x00FC && book.biff8 && texts == BiffTexts::All)
            sst = readSharedStrings(continued(s, pos, r));
        if (r.type == 0x0085 && d.size() >= 6 && static_cast<unsigned char>(d[5]) == 0) {
            starts.push_back(u32(d, 0));
            book.names.push_back(sheetName(d, book.biff8, codepage));
        }
    }
    SheetRecords sheet(book, styles, sst, codepage, !book.biff8 || texts == BiffTexts::All);
    for (std::uint32_t start : starts) book.cells.push_back(sheet.read(s, start));
    return book;
}

} // namespace kol::workbook
