// A zip archive read through libzip, with a budget on what may be unpacked: no more than
// 1 GB and no more than 100 times the archive's own size in all, so a small file that
// unpacks to gigabytes is refused before it fills memory.
#pragma once

#include "workbook/large_buffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct zip;

namespace kol::workbook {

struct UnpackBudget {
    static constexpr std::uint64_t kAbsoluteLimit = 1ull << 30;
    static constexpr std::uint64_t kRatioLimit = 100;
    explicit UnpackBudget(std::uint64_t archiveSize)
        : remaining(std::min(kAbsoluteLimit, archiveSize * kRatioLimit)) {}
    std::uint64_t remaining;
    [[nodiscard]] bool take(std::uint64_t bytes) {
        if (bytes > remaining) return false;
        remaining -= bytes;
        return true;
    }
};

enum class ZipStatus { Ok, NotZip, Damaged, Missing, TooLarge, Encrypted, Stopped };

class ZipArchive {
public:
    ~ZipArchive();
    [[nodiscard]] static ZipStatus open(const std::string& path, std::unique_ptr<ZipArchive>& out);
    // For tests and the fuzzer: an archive in memory.
    [[nodiscard]] static ZipStatus openBytes(std::string bytes, std::unique_ptr<ZipArchive>& out);

    bool has(const std::string& name) const;
    // Hands the entry's bytes to `chunk` piece by piece; `chunk` returns false to stop.
    [[nodiscard]] ZipStatus read(const std::string& name,
                                 const std::function<bool(std::string_view)>& chunk);
    [[nodiscard]] ZipStatus readAll(const std::string& name, std::string& out);
    // The entry's whole bytes in one piece: a deflated entry is inflated by libdeflate in one
    // call into a buffer of its declared size, with its CRC checked; anything else (stored,
    // other methods, sizes that do not agree) goes through readAll.
    [[nodiscard]] ZipStatus readWhole(const std::string& name, LargeBuffer& out);
    // The uncompressed size the directory declares; 0 when unknown or missing.
    std::uint64_t declaredSize(const std::string& name) const;

private:
    std::int64_t locate(const std::string& name) const; // -1 when missing
    ZipArchive(zip* archive, std::uint64_t size, std::string bytes);
    zip* archive_;
    UnpackBudget budget_;
    std::string bytes_; // the archive itself when opened from memory
};

} // namespace kol::workbook
