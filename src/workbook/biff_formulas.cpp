#include "workbook/biff_formulas.h"

#include "text/cp932.h"
#include "workbook/cell_format.h"

#include <cstring>

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

std::string stringRecord(const std::string& d, bool biff8, std::uint16_t codepage) {
    const std::size_t count = u16(d, 0);
    std::u16string wide;
    if (biff8) {
        const bool utf16 = d.size() > 2 && (d[2] & 1);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = 3 + (utf16 ? 2 * i : i);
            if (at + (utf16 ? 2 : 1) > d.size()) break;
            wide += utf16 ? static_cast<char16_t>(u16(d, at))
                          : static_cast<char16_t>(static_cast<unsigned char>(d[at]));
        }
        return cp932::fromUtf16(wide);
    }
    std::string bytes = d.substr(2, count);
    if (codepage == 932) return bytes;
    for (unsigned char c : bytes) wide += static_cast<char16_t>(c);
    return cp932::fromUtf16(wide);
}

} // namespace

std::vector<std::vector<BiffCell>> biffExtraCells(const std::string& s) {
    std::vector<std::vector<BiffCell>> sheets;
    std::size_t pos = 0;
    Record r;
    if (!next(s, pos, r) || (r.type != 0x0809 && r.type != 0x0409 && r.type != 0x0209))
        return sheets;
    const bool biff8 = u16(r.data, 0) == 0x0600;
    std::uint16_t codepage = 1252;
    std::vector<std::uint32_t> starts;
    while (next(s, pos, r) && r.type != 0x000A) {
        if (r.type == 0x0042) codepage = u16(r.data, 0);
        if (r.type == 0x0085 && r.data.size() >= 6 && static_cast<unsigned char>(r.data[5]) == 0)
            starts.push_back(u32(r.data, 0));
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
                    c.text = generalNumber(v);
                }
                if (!c.text.empty()) cells.push_back(std::move(c));
            } else if (r.type == 0x0207 && pendingString) {
                pending.text = stringRecord(d, biff8, codepage);
                if (!pending.text.empty()) cells.push_back(pending);
                pendingString = false;
            } else if (r.type == 0x0205 && d.size() >= 8) {
                const bool isError = d[7] != 0;
                cells.push_back({u16(d, 0), u16(d, 2),
                                 isError ? errorText(static_cast<unsigned char>(d[6]))
                                         : (d[6] ? "TRUE" : "FALSE")});
            }
        }
        sheets.push_back(std::move(cells));
    }
    return sheets;
}

} // namespace kol::workbook
