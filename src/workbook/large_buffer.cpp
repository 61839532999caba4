#include "workbook/large_buffer.h"

#include <new>
#include <sys/mman.h>
#include <utility>

namespace kol::workbook {

namespace {
constexpr std::size_t kMapFrom = 4u << 20; // smaller buffers come from the heap
}

LargeBuffer::~LargeBuffer() {
    release();
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void LargeBuffer::release() {
    if (mapped_)
        munmap(data_, mapped_);
    else
        delete[] data_;
    data_ = nullptr;
    size_ = mapped_ = 0;
}

void* allocateLarge(std::size_t bytes) {
    if (bytes >= kMapFrom) {
        void* map =
            mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) throw std::bad_alloc();
        madvise(map, bytes, MADV_HUGEPAGE);
        return map;
    }
    return ::operator new(bytes);
}

void releaseLarge(void* p, std::size_t bytes) noexcept {
    if (!p) return;
    if (bytes >= kMapFrom)
        munmap(p, bytes);
    else
        ::operator delete(p);
}

bool LargeBuffer::allocate(std::size_t size) {
    release();
    if (size >= kMapFrom) {
        void* map = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) return false;
        madvise(map, size, MADV_HUGEPAGE); // a hint: without it the buffer still works
        data_ = static_cast<char*>(map);
        mapped_ = size;
    } else {
        data_ = new (std::nothrow) char[size == 0 ? 1 : size];
        if (!data_) return false;
    }
    size_ = size;
    return true;
}

} // namespace kol::workbook
