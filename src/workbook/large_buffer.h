// A byte buffer of a size known up front, for an unpacked worksheet of tens of megabytes:
// mapped anonymously and asked to be backed by huge pages, so filling it costs a few hundred
// page faults rather than tens of thousands. Not zero-filled by us; move-only.
#pragma once

#include <cstddef>
#include <string_view>

namespace kol::workbook {

class LargeBuffer {
public:
    LargeBuffer() = default;
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    // False when the memory cannot be had; the buffer is then empty.
    [[nodiscard]] bool allocate(std::size_t size);
    char* data() { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

private:
    void release();
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0; // 0: data_ came from new[]
};

} // namespace kol::workbook
