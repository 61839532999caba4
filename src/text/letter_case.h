// Letter case of CP932 double-byte letters: the full-width Latin, Greek and Cyrillic letters,
// whose two cases share a lead byte and differ only in the trail byte.
#pragma once

namespace kol {

// The trail byte of the upper-case form of the double-byte character (lead, trail); `trail`
// itself when that is no lower-case letter.
unsigned char UpperCaseTrail(unsigned char lead, unsigned char trail);

// The trail byte of the other case of the double-byte letter (lead, trail); `trail` itself when
// that is no letter with two cases.
unsigned char OtherCaseTrail(unsigned char lead, unsigned char trail);

} // namespace kol
