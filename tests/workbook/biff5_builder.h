// A small Excel 95 (BIFF5) workbook in a compound document, built byte by byte for tests and
// the fuzz corpus: one "Book" stream in 512-byte sectors, no short streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kol::test {

struct Biff5Sheet {
    std::string name;                 // bytes in the book's code page
    std::vector<std::string> records; // cell records, each built by biff5Record
};

inline void putLe(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string biff5Record(std::uint16_t type, const std::string& data) {
    std::string r;
    putLe(r, type, 2);
    putLe(r, data.size(), 2);
    return r + data;
}

inline std::string biff5Label(std::uint16_t row, std::uint16_t col, const std::string& bytes) {
    std::string d;
    putLe(d, row, 2), putLe(d, col, 2), putLe(d, 0x0F, 2), putLe(d, bytes.size(), 2);
    return biff5Record(0x0204, d + bytes);
}

inline std::string biff5Number(std::uint16_t row, std::uint16_t col, double v) {
    std::string d;
    putLe(d, row, 2), putLe(d, col, 2), putLe(d, 0x0F, 2);
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof v);
    __builtin_memcpy(&bits, &v, sizeof v);
    putLe(d, bits, 8);
    return biff5Record(0x0203, d);
}

// The workbook stream: globals (BOF, CODEPAGE, FILEPASS when asked, BOUNDSHEETs, EOF), then
// each sheet's BOF, cells and EOF.
inline std::string biff5Stream(const std::vector<Biff5Sheet>& sheets, std::uint16_t codepage,
                               bool encrypted = false) {
    auto bof = [](std::uint16_t kind) {
        std::string d;
        putLe(d, 0x0500, 2), putLe(d, kind, 2), putLe(d, 0, 4);
        return biff5Record(0x0809, d);
    };
    std::string cp;
    putLe(cp, codepage, 2);
    std::string globals = bof(0x0005) + biff5Record(0x0042, cp);
    if (encrypted) globals += biff5Record(0x002F, std::string(4, '\0'));
    std::size_t boundsheets = 0;
    for (const Biff5Sheet& s : sheets) boundsheets += 4 + 7 + s.name.size();
    std::size_t offset = globals.size() + boundsheets + 4;
    std::string bodies;
    for (const Biff5Sheet& s : sheets) {
        std::string d;
        putLe(d, offset + bodies.size(), 4);
        d += '\0', d += '\0', d += static_cast<char>(s.name.size());
        globals += biff5Record(0x0085, d + s.name);
        bodies += bof(0x0010);
        for (const std::string& r : s.records) bodies += r;
        bodies += biff5Record(0x000A, "");
    }
    return globals + biff5Record(0x000A, "") + bodies;
}

// The stream as "Book" in a compound document (padded to the short-stream cutoff).
inline std::string biff5File(std::string stream) {
    constexpr std::uint32_t kEnd = 0xFFFFFFFE;
    if (stream.size() < 4096) stream.resize(4096, '\0');
    const std::size_t dataSectors = (stream.size() + 511) / 512;
    stream.resize(dataSectors * 512, '\0');
    std::string header;
    header += std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(16, '\0');
    putLe(header, 0x3E, 2), putLe(header, 3, 2), putLe(header, 0xFFFE, 2);
    putLe(header, 9, 2), putLe(header, 6, 2), header += std::string(10, '\0');
    putLe(header, 1, 4), putLe(header, 1, 4), putLe(header, 0, 4), putLe(header, 4096, 4);
    putLe(header, kEnd, 4), putLe(header, 0, 4), putLe(header, kEnd, 4), putLe(header, 0, 4);
    putLe(header, 0, 4); // the allocation table is sector 0
    header.resize(512, '\xFF');
    std::string fat;
    putLe(fat, 0xFFFFFFFD, 4), putLe(fat, kEnd, 4);
    for (std::size_t i = 0; i < dataSectors; ++i) putLe(fat, i + 1 < dataSectors ? i + 3 : kEnd, 4);
    fat.resize(512, '\xFF');
    auto entry = [&](const std::string& name, int type, std::uint32_t start, std::uint32_t size) {
        std::string e;
        for (char c : name) e += c, e += '\0';
        e.resize(64, '\0');
        putLe(e, 2 * (name.size() + 1), 2);
        e += static_cast<char>(type), e += '\1';
        putLe(e, 0xFFFFFFFF, 4), putLe(e, 0xFFFFFFFF, 4), putLe(e, type == 5 ? 1 : 0xFFFFFFFF, 4);
        e.resize(0x74, '\0');
        putLe(e, start, 4), putLe(e, size, 4);
        e.resize(128, '\0');
        return e;
    };
    std::string dir = entry("Root Entry", 5, kEnd, 0) + entry("Book", 2, 2, stream.size());
    dir.resize(512, '\0');
    return header + fat + dir + stream;
}

} // namespace kol::test
