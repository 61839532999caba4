// Byte-string helpers over Shift-JIS (CP932) text. Lengths and positions count bytes; a
// double-byte character is a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte
// (0x40-0xFC), and nothing here ever splits one or matches from inside one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kol {

bool IsLeadByte(unsigned char b);
bool IsTrailByte(unsigned char b);

// One byte per byte of text: '0' single-byte character (or a lead byte with no trail after it),
// '1' lead byte, '2' trail byte of a double-byte character.
std::string ByteKinds(std::string_view text);

// Trimming removes bytes up to and including the blank (control characters and blanks).
// True when the text holds nothing but bytes up to the blank (control characters and blanks).
bool IsBlank(std::string_view text);
std::string Trim(std::string_view text);
std::string_view TrimmedView(std::string_view text); // Trim without a copy
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Trims, then right-justifies in exactly `width` bytes: pads in front, or keeps the last
// `width` bytes. A double-byte character cut in half becomes one pad byte.
std::string PadLeftTo(char pad, std::string_view text, int width);
// Trims, then left-justifies in exactly `width` bytes: pads behind, or keeps the first `width`
// bytes. A double-byte character cut in half becomes one pad byte.
std::string PadRightTo(char pad, std::string_view text, int width);

std::string QuoteField(std::string_view text);

// Byte offset of the first occurrence of `search` at or after `from` that starts on a
// character boundary; npos when there is none or `search` is empty.
std::size_t FindText(std::string_view text, std::string_view search, std::size_t from = 0);
// Replaces every occurrence found as FindText finds them, left to right.
std::string ReplaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement);

std::string DigitsOnly(std::string_view text);
// A comma before every group of three bytes counted from the right; meant for digit strings.
std::string GroupThousands(std::string_view text);

// Folds text into display lines of exactly `width` bytes each, never splitting a double-byte
// character (the line then ends in a blank). Trailing blanks are trimmed, and leading ones
// too when `trimBoth`. Empty for width < 2.
std::string FoldText(std::string_view text, int width, bool trimBoth);

// Bit n lives in byte n / 8 under the mask 0x80 >> (n % 8). `h` is the highest byte index:
// bits beyond 8 * h (and negative ones) read false and are never written.
bool TestBit(const std::uint8_t* bytes, int h, int n);
void SetBit(std::uint8_t* bytes, int h, int n, int value);
// The same, also refusing any bit beyond the end of `bytes`.
bool TestBit(std::span<const std::uint8_t> bytes, int h, int n);
void SetBit(std::span<std::uint8_t> bytes, int h, int n, int value);

} // namespace kol
