#include "app/settings_file.h"

#include "app/text_utils.h"

namespace kol {

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool MatchKeyLine(std::string_view line, std::string_view key, std::string& value) {
    std::string wanted = upperAscii(Trim(key));
    std::string upper = upperAscii(line);
    if (upper.find(wanted) == std::string::npos) return false;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || upper.compare(0, eq, wanted) != 0 || eq != wanted.size())
        return false;
    value = std::string(Trim(line.substr(eq + 1)));
    return true;
}

} // namespace kol
