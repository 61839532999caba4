#include "table/separators.h"

#include "text/cp932.h"
#include "text/text_utils.h"

namespace kol {

const std::vector<SeparatorChoice>& SeparatorTable() {
    static const std::vector<SeparatorChoice> table = [] {
        std::vector<SeparatorChoice> t = {
            {sj("無し"), kNoSeparator},
            {",", 44},
            {"TAB", 9},
            {sj("空白"), 32},
            {"|", 124},
            {"@", 64},
            {"\\", 92},
            {"!", 33},
            {"#", 35},
            {"$", 36},
            {"%", 37},
            {"&", 38},
            {"=", 61},
            {"-", 45},
            {"+", 43},
            {"*", 42},
            {";", 59},
            {":", 58},
            {"~", 126},
            {"^", 94},
            {"?", 63},
            {"/", 47},
            {"_", 95},
        };
        return t;
    }();
    return table;
}

std::string separatorComboText(const SeparatorChoice& choice) {
    return (choice.name.size() > 1 ? " " : "  ") + choice.name;
}

int findSeparator(std::string_view name) {
    std::string wanted(Trim(name));
    if (wanted == "Comma") wanted = ",";
    const auto& table = SeparatorTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (Trim(separatorComboText(table[i])) == wanted) return static_cast<int>(i);
    return -1;
}

} // namespace kol
