// Width and kana conversions of CP932 text with the program's own tables, so the result does
// not depend on the platform's locale. Characters without a counterpart that CP932 can write,
// and bytes that are not valid Shift-JIS, are kept byte for byte: no conversion loses text.
#pragma once

#include <string>
#include <string_view>

namespace kol {

// ASCII to full-width forms (blank to the ideographic space), half-width katakana to
// full-width, a base followed by ﾞ or ﾟ composed into one voiced or semi-voiced character.
std::string ToFullWidth(std::string_view text);
// The reverse: full-width forms to ASCII, katakana to half-width with voiced and semi-voiced
// characters decomposed into base and mark.
std::string ToHalfWidth(std::string_view text);
// Hiragana to katakana (ぁ..ん, ゝゞ).
std::string ToKatakana(std::string_view text);
// Katakana to hiragana (ァ..ン, ヽヾ); ヴ, ヵ and ヶ have no CP932 hiragana and stay.
std::string ToHiragana(std::string_view text);

} // namespace kol
