#include "sort/key_order.h"

#include "sort/collation_key.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace kol {

namespace {

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool report(const SortProgress& progress, std::string_view step, long long i, long long every,
            long long total) {
    if (i % every != 0 || !progress) return true;
    return progress(step, i, every, total);
}

// Part of one row's key: 8 × Words bytes of its weights from some offset on (zero past its end, and
// no weight byte is zero, so a key that ends sorts before every longer one it begins), as
// numbers that compare as the bytes do, and the row's data position.
template <std::size_t Words> struct KeyPart {
    static constexpr std::size_t kWindow = 8 * Words;
    std::uint64_t words[Words];
    std::uint32_t position;
    bool operator<(const KeyPart& o) const {
        for (std::size_t i = 0; i < Words; ++i)
            if (words[i] != o.words[i]) return words[i] < o.words[i];
        return position < o.position;
    }
    bool sameBytes(const KeyPart& o) const {
        for (std::size_t i = 0; i < Words; ++i)
            if (words[i] != o.words[i]) return false;
        return true;
    }
    bool spent() const { return (words[Words - 1] & 0xFF) == 0; }
};

std::uint64_t bigEndian(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
    return v;
}

// Builds the weights of a row's composite key (its trimmed key cells padded with blanks to the
// widths) only as far as a window needs them. The row's position, not part of the key, breaks
// ties, so equal keys keep their former order.
template <std::size_t Words> class KeyBuilder {
public:
    KeyBuilder(const StringGrid& grid, std::span<const int> keys,
               const std::vector<std::size_t>& widths)
        : grid_(grid), keys_(keys), widths_(widths) {}

    KeyPart<Words> part(int row, std::uint32_t position, std::size_t offset) {
        bytes_.clear();
        constexpr std::size_t kWindow = KeyPart<Words>::kWindow;
        const std::size_t wanted = offset + kWindow;
        for (std::size_t k = 0; k < keys_.size() && bytes_.size() < wanted; ++k) {
            std::string_view value = trimmed(grid_.cell(keys_[k], row));
            weights_.append(value, bytes_);
            weights_.appendBlanks(widths_[k] - value.size(), bytes_);
        }
        unsigned char window[kWindow] = {};
        if (bytes_.size() > offset)
            std::memcpy(window, bytes_.data() + offset, std::min(kWindow, bytes_.size() - offset));
        KeyPart<Words> part;
        for (std::size_t i = 0; i < Words; ++i) part.words[i] = bigEndian(window + 8 * i);
        part.position = position;
        return part;
    }

private:
    const StringGrid& grid_;
    std::span<const int> keys_;
    const std::vector<std::size_t>& widths_;
    PrimaryWeights weights_;
    std::string bytes_;
};

// Sorts parts that agree on their first `offset` bytes: by the window there, then each run
// that still agrees by the next window. The keys are made once per window a row needs.
template <std::size_t Words>
void sortParts(std::span<KeyPart<Words>> parts, std::size_t offset, KeyBuilder<Words>& builder,
               int first) {
    constexpr std::size_t kWindow = KeyPart<Words>::kWindow;
    std::sort(parts.begin(), parts.end());
    for (std::size_t i = 0; i < parts.size();) {
        std::size_t j = i + 1;
        while (j < parts.size() && parts[j].sameBytes(parts[i])) ++j;
        // A run whose window ended inside the key holds keys that go on; a window of zeros at
        // its end means the keys are spent, and then they are equal: former order.
        if (j - i > 1 && !parts[i].spent()) {
            // In row order, so the rows are read from memory in the order they lie there.
            std::sort(parts.begin() + i, parts.begin() + j,
                      [](const KeyPart<Words>& a, const KeyPart<Words>& b) {
                          return a.position < b.position;
                      });
            for (std::size_t m = i; m < j; ++m)
                parts[m] = builder.part(first + static_cast<int>(parts[m].position),
                                        parts[m].position, offset + kWindow);
            sortParts(parts.subspan(i, j - i), offset + kWindow, builder, first);
        }
        i = j;
    }
}

template <std::size_t Words> bool lessBytes(const KeyPart<Words>& a, const KeyPart<Words>& b) {
    for (std::size_t i = 0; i < Words; ++i)
        if (a.words[i] != b.words[i]) return a.words[i] < b.words[i];
    return false;
}

template <std::size_t Words>
bool orderWith(const StringGrid& grid, std::span<const int> keys,
               const std::vector<std::size_t>& widths, const SortProgress& progress,
               std::vector<int>& order) {
    const int first = grid.fixedRows();
    const long long count = grid.rowCount() - first;
    // Large tables are worked on two threads, each with its own collator: the second takes
    // the second half of the rows, then the upper part of the keys. Only this thread reports.
    const bool two = count >= 100000 && std::thread::hardware_concurrency() > 1;
    const long long half = two ? count / 2 : count;
    KeyBuilder<Words> builder(grid, keys, widths), helper(grid, keys, widths);
    std::vector<KeyPart<Words>> parts(count);
    std::atomic<bool> stop = false;

    // Step 2: the first window of every row's key.
    auto make = [&](KeyBuilder<Words>& b, long long from, long long to) {
        for (long long p = from; p < to && !stop; ++p)
            parts[p] = b.part(first + static_cast<int>(p), static_cast<std::uint32_t>(p), 0);
    };
    std::thread second;
    if (two) second = std::thread(make, std::ref(helper), half, count);
    for (long long p = 0; p < half && !stop; p += 1000) {
        if (!report(progress, "Step 2", two ? 2 * p : p, 1000, count)) stop = true;
        make(builder, p, std::min(p + 1000, half));
    }
    if (second.joinable()) second.join();
    if (stop) return false;

    // Step 3: the keys in ascending order, a row's key worked out further only while it ties
    // with another. Two threads split the keys at a sampled middle key, ties kept together.
    if (!report(progress, "Step 3", 0, 1, count)) return false;
    std::span<KeyPart<Words>> all(parts), lower = all, upper;
    if (two) {
        std::vector<KeyPart<Words>> sample;
        for (long long p = 0; p < count; p += count / 255) sample.push_back(parts[p]);
        std::nth_element(sample.begin(), sample.begin() + sample.size() / 2, sample.end());
        const KeyPart<Words> middle = sample[sample.size() / 2];
        auto split = std::partition(all.begin(), all.end(),
                                    [&](const KeyPart<Words>& k) { return lessBytes(k, middle); });
        lower = all.first(static_cast<std::size_t>(split - all.begin()));
        upper = all.subspan(lower.size());
        second = std::thread([&] { sortParts<Words>(upper, 0, helper, first); });
    }
    sortParts<Words>(lower, 0, builder, first);
    if (second.joinable()) second.join();
    if (!report(progress, "Step 3", count, 1, count)) return false;

    // Step 4: where every row goes.
    order.assign(count, 0);
    for (long long p = 0; p < count; ++p) {
        if (!report(progress, "Step 4", p, 1000, count)) return false;
        order[p] = static_cast<int>(parts[p].position);
    }
    return true;
}

} // namespace

bool orderByKeys(const StringGrid& grid, std::span<const int> keys,
                 const std::vector<std::size_t>& widths, const SortProgress& progress,
                 std::vector<int>& order) {
    std::size_t keyBytes = 0;
    for (std::size_t w : widths) keyBytes += w;
    // Long keys get long windows, so few rows need a second one; short keys short windows, so
    // a narrow table does not pay 72 bytes a row.
    if (keyBytes >= 48) return orderWith<8>(grid, keys, widths, progress, order);
    return orderWith<3>(grid, keys, widths, progress, order);
}

} // namespace kol
