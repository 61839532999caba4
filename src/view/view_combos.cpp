#include "view/view_combos.h"

#include "text/cp932.h"
#include "table/separators.h"

namespace kol {

namespace {
std::vector<std::string> numbered(const char* first, int from, int to, int step, const char* unit) {
    std::vector<std::string> items;
    if (first) items.push_back(sj(first));
    std::string suffix = sj(unit);
    for (int n = from; n <= to; ++n) items.push_back(" " + std::to_string(n * step) + suffix);
    return items;
}
} // namespace

std::vector<std::string> fixedRowsItems() {
    return numbered(" 無し", 1, 10, 1, " 行");
}
std::vector<std::string> komRowItems() {
    return numbered(" 無し", 1, 10, 1, " 行目");
}
std::vector<std::string> limColLenItems() {
    return numbered(nullptr, 2, 40, 2, " 桁");
}
std::vector<std::string> foldItems() {
    std::vector<std::string> items = numbered(" 自動", 2, 30, 1, " 行");
    items.insert(items.begin() + 1, sj(" 無し"));
    return items;
}
std::vector<std::string> crNextItems() {
    return {sj(" 無し"), sj(" 上へ"), sj(" 下へ"), sj(" 左へ"), sj(" 右へ")};
}
std::vector<std::string> fixedKetaItems() {
    return numbered(nullptr, 0, 99, 1, " 桁");
}
std::vector<std::string> vertKomKetaItems() {
    return numbered(nullptr, 0, 99, 1, "桁");
}
std::vector<std::string> separatorItems() {
    std::vector<std::string> items;
    for (const auto& choice : SeparatorTable()) items.push_back(separatorComboText(choice));
    return items;
}

} // namespace kol
