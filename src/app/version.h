// The program's version for --version; a test checks it against the package version.
#pragma once

namespace kol {

inline constexpr const char* kVersion = "4.0";

} // namespace kol
