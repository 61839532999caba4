// The CP932 codec, the width and kana conversions and the byte-string helpers on arbitrary
// bytes: no out-of-bounds access, no double-byte character split, nothing lost.
#include "text/cp932.h"
#include "text/text_utils.h"
#include "text/width_kana.h"

#include "fuzz_check.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// True when no line of `width` bytes ends in the lead byte of a pair.
bool foldedWhole(const std::string& folded, std::size_t width) {
    const std::string kinds = kol::ByteKinds(folded);
    for (std::size_t end = width; end <= kinds.size(); end += width)
        if (kinds[end - 1] == '1') return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int width = data[0] % 40;
    const char pad = static_cast<char>(data[1]);
    std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

    // Unicode → CP932 → Unicode keeps every character CP932 can write.
    std::u16string wide = kol::cp932::toUtf16(text);
    const std::string back = kol::cp932::fromUtf16(wide);
    for (char16_t& c : wide)
        if (c == kol::cp932::kReplacement) c = u'?';
    FUZZ_CHECK(kol::cp932::toUtf16(back) == wide);
    FUZZ_CHECK(kol::cp932::fromUtf8(kol::cp932::toUtf8(text)) == back);

    // Conversions keep bytes they cannot map; converting back and forth settles.
    for (auto convert : {kol::ToFullWidth, kol::ToHalfWidth, kol::ToKatakana, kol::ToHiragana}) {
        const std::string once = convert(text);
        FUZZ_CHECK(convert(once) == once);
    }

    const std::string kinds = kol::ByteKinds(text);
    FUZZ_CHECK(kinds.size() == text.size());
    if (width >= 2) {
        FUZZ_CHECK(foldedWhole(kol::FoldText(text, width, false), static_cast<std::size_t>(width)));
        FUZZ_CHECK(foldedWhole(kol::FoldText(text, width, true), static_cast<std::size_t>(width)));
    }
    FUZZ_CHECK(kol::PadLeftTo(pad, text, width).size() == static_cast<std::size_t>(width));
    FUZZ_CHECK(kol::PadRightTo(pad, text, width).size() == static_cast<std::size_t>(width));

    // Deleting a search text removes exactly the occurrences FindText finds.
    const std::string_view search = text.substr(0, std::min<std::size_t>(width % 4, text.size()));
    std::size_t found = 0;
    for (std::size_t at = kol::FindText(text, search); at != std::string_view::npos;
         at = kol::FindText(text, search, at + search.size()))
        ++found;
    FUZZ_CHECK(kol::ReplaceAll(text, search, "").size() == text.size() - found * search.size());
    return 0;
}
