// Reading a mapped file that another program shortens meanwhile: a read past the file's new end
// raises SIGBUS, which would end the program. A watched mapping is mended instead: the pages
// from the faulting one to the mapping's end become zero pages (the read goes on and sees NUL
// bytes), and the mapping is marked cut, so the reader can fail with its reason.
#pragma once

#include <cstddef>

namespace kol {

class MapGuard {
public:
    MapGuard() = default;
    // Watches [begin, begin + size); a guard that found no free place watches nothing
    // (watching() is false) and the caller should not rely on the mapping.
    MapGuard(const void* begin, std::size_t size);
    ~MapGuard();
    MapGuard(MapGuard&& other) noexcept;
    MapGuard& operator=(MapGuard&& other) noexcept;
    MapGuard(const MapGuard&) = delete;
    MapGuard& operator=(const MapGuard&) = delete;

    bool watching() const { return slot_ >= 0; }
    // Whether a read found the file shortened since the mapping was watched.
    bool cut() const;
    // Stops watching; the mapping must still be in place (call before unmapping it).
    void reset();

private:
    int slot_ = -1;
};

} // namespace kol
