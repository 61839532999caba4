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

// Memory for large vectors and strings in the same way (mapped with huge pages from 4 MB on,
// the heap below); throws std::bad_alloc as new does.
void* allocateLarge(std::size_t bytes);
void releaseLarge(void* p, std::size_t bytes) noexcept;

template <class T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { releaseLarge(p, n * sizeof(T)); }
    friend bool operator==(const LargeAllocator&, const LargeAllocator&) { return true; }
};

} // namespace kol::workbook
