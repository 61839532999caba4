#include "workbook/compound_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace kol::workbook {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;

std::uint32_t u32(const std::string& b, std::size_t at) {
    if (at + 4 > b.size()) return kEnd;
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

class Compound {
public:
    explicit Compound(std::string bytes) : b_(std::move(bytes)) {}

    bool load() {
        if (b_.size() < 512 || std::memcmp(b_.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
            return false;
        const unsigned shift = u16(b_, 0x1E), miniShift = u16(b_, 0x20);
        if (shift < 7 || shift > 16 || miniShift > shift) return false;
        sector_ = std::size_t(1) << shift;
        mini_ = std::size_t(1) << miniShift;
        cutoff_ = u32(b_, 0x38);
        // The allocation table's own sectors: 109 in the header, the rest chained.
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < 109; ++i) {
            std::uint32_t s = u32(b_, 0x4C + 4 * i);
            if (s < kEnd) fatSectors.push_back(s);
        }
        // No table can name more sectors than the file holds; a looping chain stops there.
        const std::size_t sectors = b_.size() / sector_;
        std::uint32_t difat = u32(b_, 0x44);
        for (std::size_t guard = 0; difat < kEnd && guard < sectors; ++guard) {
            const std::size_t at = offset(difat);
            if (at + sector_ > b_.size()) return false;
            for (std::size_t i = 0; i + 1 < sector_ / 4; ++i) {
                std::uint32_t s = u32(b_, at + 4 * i);
                if (s < kEnd) fatSectors.push_back(s);
            }
            difat = u32(b_, at + sector_ - 4);
        }
        if (fatSectors.size() > sectors) return false;
        for (std::uint32_t s : fatSectors) {
            const std::size_t at = offset(s);
            if (at + sector_ > b_.size()) return false;
            for (std::size_t i = 0; i < sector_ / 4; ++i) fat_.push_back(u32(b_, at + 4 * i));
        }
        if (!chain(fat_, u32(b_, 0x30), dir_, sector_, [&](std::uint32_t s) { return offset(s); }))
            return false;
        std::string miniFatBytes;
        if (u32(b_, 0x3C) < kEnd && !chain(fat_, u32(b_, 0x3C), miniFatBytes, sector_,
                                           [&](std::uint32_t s) { return offset(s); }))
            return false;
        for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4)
            miniFat_.push_back(u32(miniFatBytes, i));
        // The root entry holds the short streams.
        if (dir_.size() < 128) return false;
        return chain(fat_, u32(dir_, 0x74), ministream_, sector_,
                     [&](std::uint32_t s) { return offset(s); }) ||
               u32(dir_, 0x74) >= kEnd;
    }

    bool stream(const std::string& name, std::string& out) {
        for (std::size_t e = 0; e + 128 <= dir_.size(); e += 128) {
            const std::size_t nameBytes = u16(dir_, e + 0x40);
            if (dir_[e + 0x42] != 2 || nameBytes < 2 || nameBytes > 64) continue; // streams only
            std::string entry;
            for (std::size_t i = 0; i + 2 < nameBytes; i += 2)
                entry += static_cast<char>(std::tolower(static_cast<unsigned char>(dir_[e + i])));
            std::string wanted;
            for (char c : name)
                wanted += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (entry != wanted) continue;
            const std::uint32_t start = u32(dir_, e + 0x74);
            const std::uint64_t size = u32(dir_, e + 0x78);
            bool ok =
                size < cutoff_
                    ? chain(
                          miniFat_, start, out, mini_,
                          [&](std::uint32_t s) { return std::size_t(s) * mini_; }, &ministream_)
                    : chain(fat_, start, out, sector_, [&](std::uint32_t s) { return offset(s); });
            if (!ok || out.size() < size) return false;
            out.resize(size);
            return true;
        }
        return false;
    }

private:
    std::size_t offset(std::uint32_t s) const { return (std::size_t(s) + 1) * sector_; }

    // Follows a chain of sectors through `table`, appending each sector of `source` (the file,
    // or the short-stream container); loops and indexes out of range fail.
    template <class Offset>
    bool chain(const std::vector<std::uint32_t>& table, std::uint32_t s, std::string& out,
               std::size_t size, Offset at, const std::string* source = nullptr) const {
        const std::string& from = source ? *source : b_;
        out.clear();
        const std::size_t limit = std::min(table.size(), from.size() / size + 1);
        for (std::size_t guard = 0; s < kEnd; ++guard) {
            if (guard > limit || s >= table.size()) return false;
            const std::size_t pos = at(s);
            if (pos + size > from.size()) return false;
            out.append(from, pos, size);
            s = table[s];
        }
        return s == kEnd || s == kFree;
    }

    std::string b_;
    std::size_t sector_ = 512, mini_ = 64;
    std::uint32_t cutoff_ = 4096;
    std::vector<std::uint32_t> fat_, miniFat_;
    std::string dir_, ministream_;
};

} // namespace

bool readCompoundStream(const std::string& file, const std::string& name, std::string& out) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Compound doc(std::move(bytes));
    return doc.load() && doc.stream(name, out);
}

} // namespace kol::workbook
