// The settings reader on arbitrary text: what is read and written back reads as the same
// record, and the lines kept for later windows come back unchanged.
#include "app/settings_file.h"

#include "fuzz_check.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool same(const kol::SettingsRecord& a, const kol::SettingsRecord& b) {
    return kol::SettingsText(a, {}) == kol::SettingsText(b, {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    kol::SettingsRecord first;
    std::vector<std::string> kept;
    kol::ReadSettingsText(text, first, &kept);

    const std::string written = kol::SettingsText(first, kept);
    kol::SettingsRecord second;
    std::vector<std::string> keptAgain;
    kol::ReadSettingsText(written, second, &keptAgain);
    FUZZ_CHECK(same(first, second));
    FUZZ_CHECK(kol::SettingsText(second, keptAgain) == written);
    return 0;
}
