#include "table/source_text.h"

#include "table/io_status.h"
#include "table/load_memory.h"
#include "text/byte_blocks.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace kol {

SourceText::SourceText(std::string text) : owned_(std::move(text)) {
    setText(owned_);
}

SourceText::~SourceText() {
    release();
}

SourceText::SourceText(SourceText&& other) noexcept {
    *this = std::move(other);
}

SourceText& SourceText::operator=(SourceText&& other) noexcept {
    if (this == &other) return *this;
    release();
    bool ownedText = other.map_ == nullptr;
    owned_ = std::move(other.owned_);
    map_ = std::exchange(other.map_, nullptr);
    mapSize_ = std::exchange(other.mapSize_, 0);
    guard_ = std::move(other.guard_);
    fromNul_ = std::exchange(other.fromNul_, 0);
    if (ownedText)
        setText(owned_);
    else
        text_ = other.text_;
    other.text_ = {};
    other.owned_.clear();
    return *this;
}

void SourceText::release() {
    guard_.reset(); // before the pages go: a fault in them is no longer ours
    if (map_) munmap(map_, mapSize_);
    map_ = nullptr;
    mapSize_ = 0;
    owned_.clear();
    owned_.shrink_to_fit();
    text_ = {};
    fromNul_ = 0;
}

void SourceText::setText(std::string_view whole) {
    const void* nul = std::memchr(whole.data(), '\0', whole.size());
    text_ = nul ? whole.substr(0, static_cast<const char*>(nul) - whole.data()) : whole;
    fromNul_ = whole.size() - text_.size();
}

void SourceText::dropPages(std::size_t begin, std::size_t end) const {
    if (!map_) return;
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::size_t first = (begin + page - 1) / page * page;
    std::size_t last = end / page * page;
    if (last > first) madvise(static_cast<char*>(map_) + first, last - first, MADV_DONTNEED);
}

namespace {

// Opens `path` for reading as readFile does; fd < 0 unless the status is Ok.
SourceText::ReadStatus openSource(const std::string& path, int& fd, struct stat& st, int* error) {
    using ReadStatus = SourceText::ReadStatus;
    auto failed = [&](int code, ReadStatus status) {
        if (fd >= 0) ::close(fd);
        fd = -1;
        if (error) *error = code;
        return status;
    };
    if (error) *error = 0;
    // Without O_NONBLOCK, opening a named pipe waits for a writer, possibly for ever.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failed(errno, errno == ENOENT ? ReadStatus::NotFound : ReadStatus::Unreadable);
    if (fstat(fd, &st) != 0) return failed(errno, ReadStatus::Unreadable);
    if (S_ISDIR(st.st_mode)) return failed(EISDIR, ReadStatus::IsDirectory);
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) return failed(ENODEV, ReadStatus::NotAFile);
    if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return failed(errno, ReadStatus::Unreadable);
    if (S_ISREG(st.st_mode) && !fitsInMemory(static_cast<std::size_t>(st.st_size)))
        return failed(ENOMEM, ReadStatus::TooLarge);
    return ReadStatus::Ok;
}

} // namespace

SourceText::ReadStatus SourceText::checkFile(const std::string& path, int* error) {
    struct stat st {};
    // Opening a pipe would let its writer go on, and closing it then would break the writer.
    if (::stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        if (error) *error = 0;
        return ReadStatus::Ok;
    }
    int fd = -1;
    ReadStatus status = openSource(path, fd, st, error);
    if (fd >= 0) ::close(fd);
    return status;
}

SourceText::ReadStatus SourceText::readFile(const std::string& path, SourceText& out, int* error) {
    int fd = -1;
    struct stat st {};
    if (ReadStatus opened = openSource(path, fd, st, error); opened != ReadStatus::Ok)
        return opened;
    auto failed = [&](int code, ReadStatus status) {
        ::close(fd);
        if (error) *error = code;
        return status;
    };
    SourceText result;
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        // A private read-only mapping: the pages come from the page cache, and a load can hand
        // them back as it goes, so a large file never sits in memory twice.
        void* map =
            mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        // Another program may shorten the file while it is read: the guard keeps that from
        // ending the program. Without a guard the file is read the plain way.
        const auto size = static_cast<std::size_t>(st.st_size);
        MapGuard guard = map != MAP_FAILED ? MapGuard(map, size) : MapGuard();
        if (map != MAP_FAILED && !guard.watching()) munmap(map, size);
        if (guard.watching()) {
            madvise(map, size, MADV_SEQUENTIAL);
            result.map_ = map;
            result.mapSize_ = size;
            result.guard_ = std::move(guard);
            result.setText(std::string_view(static_cast<const char*>(map), size));
            if (result.changedWhileReading()) {
                result.release();
                return failed(kChangedWhileReading, ReadStatus::Changed);
            }
            ::close(fd);
            out = std::move(result);
            return ReadStatus::Ok;
        }
    }
    // Pipes and file systems that cannot map: plain reads, which stop at the first NUL (the
    // text ends there, and a pipe may never end). Of what follows it, only the rest of that
    // read is kept.
    std::string text;
    char buffer[1 << 16];
    try {
        for (;;) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                return failed(errno, ReadStatus::Unreadable);
            }
            if (got == 0) break;
            const auto n = static_cast<std::size_t>(got);
            if (!fitsInMemory(text.size() + n)) return failed(ENOMEM, ReadStatus::TooLarge);
            countLoadMemory(n);
            text.append(buffer, n);
            if (std::memchr(buffer, '\0', n)) break;
        }
    } catch (const std::bad_alloc&) {
        return failed(ENOMEM, ReadStatus::TooLarge);
    }
    ::close(fd);
    out = SourceText(std::move(text));
    return ReadStatus::Ok;
}

std::string_view LineCursor::next() {
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
    const std::size_t n = text_.size();
    const ByteMatcher<2> breaks('\r', '\n');
    std::size_t stop = pos_;
    for (;; stop += kBlockBytes) {
        if (stop >= n) {
            stop = n;
            break;
        }
        if (const std::uint64_t hits = breaks.at(p, stop, n)) {
            stop += static_cast<std::size_t>(std::countr_zero(hits));
            break;
        }
    }
    const std::size_t start = pos_;
    pos_ = stop + 1;
    if (stop < n && p[stop] == '\r' && pos_ < n && p[pos_] == '\n') ++pos_;
    if (pos_ > n) pos_ = n;
    return text_.substr(start, stop - start);
}

namespace {

// Line breaks in the text (CR LF counts once). SSE2 counts 16 bytes a step: each LF, and each
// CR not followed by an LF, adds one to its byte's counter.
std::size_t countBreaks(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t breaks = 0, i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    while (i + 17 <= n) {
        __m128i counts = zero;
        // At most 255 steps before a byte counter could wrap.
        for (int step = 0; step < 255 && i + 17 <= n; ++step, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(after, lf), _mm_cmpeq_epi8(here, cr));
            counts = _mm_sub_epi8(counts, _mm_or_si128(_mm_cmpeq_epi8(here, lf), loneCr));
        }
        const __m128i sums = _mm_sad_epu8(counts, zero);
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si64(sums)) +
                  static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    for (; i < n; ++i) breaks += p[i] == '\n' || (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'));
    return breaks;
}

constexpr std::size_t kParallelCountBytes = 8u << 20;

} // namespace

namespace {

// Line breaks of `text`, its two halves counted on two threads when it is large.
std::size_t countBreaksOnCores(std::string_view text) {
    if (text.size() < kParallelCountBytes || std::thread::hardware_concurrency() < 2)
        return countBreaks(text);
    std::size_t mid = text.size() / 2;
    if (text[mid - 1] == '\r' && text[mid] == '\n') ++mid; // never between CR and LF
    std::size_t firstBreaks = 0;
    std::thread first([&] { firstBreaks = countBreaks(text.substr(0, mid)); });
    const std::size_t breaks = countBreaks(text.substr(mid));
    first.join();
    return breaks + firstBreaks;
}

std::size_t withLastLine(std::string_view text, std::size_t breaks) {
    const char last = text.back();
    return breaks + (last != '\r' && last != '\n' ? 1 : 0);
}

} // namespace

std::size_t countLines(std::string_view text) {
    return text.empty() ? 0 : withLastLine(text, countBreaksOnCores(text));
}

std::size_t countSourceLines(const SourceText& source) {
    constexpr std::size_t kSlice = 64u << 20;
    const std::string_view text = source.text();
    if (text.empty()) return 0;
    std::size_t breaks = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(text.size(), at + kSlice);
        if (end < text.size() && text[end - 1] == '\r' && text[end] == '\n') ++end;
        breaks += countBreaksOnCores(text.substr(at, end - at));
        source.dropPages(at, end);
        at = end;
    }
    return withLastLine(text, breaks);
}

std::size_t lineStartAfter(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\n') return i + 1;
        if (text[i] == '\r') return (i + 1 < text.size() && text[i + 1] == '\n') ? i + 2 : i + 1;
    }
    return text.size();
}

} // namespace kol
