// Where given byte values stand in a 64-byte block, as a bit mask (bit i for byte i): the
// line counter and the line splitter walk these masks instead of the bytes. SSE2 where the
// compiler targets it (every x86-64), eight-byte words elsewhere.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kol {

inline constexpr std::size_t kBlockBytes = 64;

// N byte values looked for at once.
template <std::size_t N> class ByteMatcher {
    static_assert(N >= 1 && N <= 4);

public:
    template <typename... Bytes>
    explicit ByteMatcher(Bytes... values) : values_{static_cast<unsigned char>(values)...} {
        static_assert(sizeof...(Bytes) == N);
#if defined(__SSE2__)
        for (std::size_t i = 0; i < N; ++i)
            vectors_[i] = _mm_set1_epi8(static_cast<char>(values_[i]));
#endif
    }

    // Mask of the 64 bytes from p (all readable).
    std::uint64_t block(const unsigned char* p) const {
        std::uint64_t mask = 0;
#if defined(__SSE2__)
        for (int part = 0; part < 4; ++part)
            mask |= static_cast<std::uint64_t>(sixteen(p + 16 * part)) << (16 * part);
#else
        for (int word = 0; word < 8; ++word) {
            std::uint64_t w;
            std::memcpy(&w, p + 8 * word, 8);
            if constexpr (std::endian::native != std::endian::little) w = __builtin_bswap64(w);
            std::uint64_t high = 0;
            for (std::size_t i = 0; i < N; ++i) high |= equal(w, values_[i]);
            // Gather the eight high bits into one byte.
            mask |= (((high >> 7) * 0x0102040810204080ULL) >> 56) << (8 * word);
        }
#endif
        return mask;
    }

    // Mask of the n < 64 bytes from p; bits from n on stay clear.
    std::uint64_t tail(const unsigned char* p, std::size_t n) const {
        std::uint64_t mask = 0;
#if defined(__SSE2__)
        if (n >= 16) {
            std::size_t k = 0;
            for (; k + 16 <= n; k += 16) mask |= static_cast<std::uint64_t>(sixteen(p + k)) << k;
            // The last bytes as the top of the sixteen that end with them.
            if (k < n)
                mask |= static_cast<std::uint64_t>(sixteen(p + n - 16) >> (16 - (n - k))) << k;
            return mask;
        }
#endif
        for (std::size_t i = 0; i < n; ++i)
            for (unsigned char v : values_)
                if (p[i] == v) mask |= std::uint64_t{1} << i;
        return mask;
    }

    // Mask of the bytes [at, at + 64) of a text of n bytes, clipped at its end.
    std::uint64_t at(const unsigned char* p, std::size_t at, std::size_t n) const {
        return at + kBlockBytes <= n ? block(p + at) : tail(p + at, n - at);
    }

    // True when any of the n bytes from p is one of the values: 16 bytes at a time, the last
    // 16 overlapping bytes already seen.
    bool any(const unsigned char* p, std::size_t n) const {
#if defined(__SSE2__)
        if (n >= 16) {
            for (std::size_t at = 0; at + 16 <= n; at += 16)
                if (sixteen(p + at)) return true;
            return sixteen(p + n - 16) != 0;
        }
#endif
        for (std::size_t i = 0; i < n; ++i)
            for (unsigned char v : values_)
                if (p[i] == v) return true;
        return false;
    }

private:
#if defined(__SSE2__)
    // Mask of the 16 bytes from p.
    std::uint32_t sixteen(const unsigned char* p) const {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_cmpeq_epi8(bytes, vectors_[0]);
        for (std::size_t i = 1; i < N; ++i)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, vectors_[i]));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
    }
#else
    // Exact for every byte (no borrow from a lower one): high bit set where x has a zero.
    static std::uint64_t equal(std::uint64_t w, unsigned char value) {
        const std::uint64_t x = w ^ (0x0101010101010101ULL * value);
        const std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
        return ~(((x & low7) + low7) | x) & 0x8080808080808080ULL;
    }
#endif
    unsigned char values_[N];
#if defined(__SSE2__)
    __m128i vectors_[N];
#endif
};

} // namespace kol
