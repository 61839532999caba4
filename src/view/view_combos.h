// Item lists of the view combos, built exactly as they are shown.
#pragma once

#include <string>
#include <vector>

namespace kol {

std::vector<std::string> fixedRowsItems(); // " 無し", " 1 行" … " 10 行"
std::vector<std::string> komRowItems();    // " 無し", " 1 行目" … " 10 行目"
std::vector<std::string> limColLenItems(); // " 4 桁" … " 80 桁"
std::vector<std::string> foldItems();      // " 自動", " 無し", " 2 行" … " 30 行"
std::vector<std::string> crNextItems();    // " 無し", " 上へ", " 下へ", " 左へ", " 右へ"
std::vector<std::string> fixedKetaItems(); // " 0 桁" … " 99 桁"
std::vector<std::string> vertKomKetaItems(); // " 0桁" … " 99桁"
std::vector<std::string> separatorItems();   // the separator table's names

} // namespace kol
