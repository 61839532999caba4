#include "sort/sort_keys_arg.h"

#include "sort/table_sort.h"
#include "text/cp932.h"

#include <algorithm>
#include <charconv>

namespace kol {

bool ParseSortKeys(const std::string& text, int columns, std::vector<int>& numbers,
                   std::string& problem) {
    numbers.clear();
    std::vector<int> read;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(',', at);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(at, end - at);
        int n = 0;
        auto [stop, ec] = std::from_chars(item.data(), item.data() + item.size(), n);
        if (item.empty() || ec != std::errc() || stop != item.data() + item.size()) {
            problem = "'" + item + sj("' は列番号ではありません。");
            return false;
        }
        if (n < 1 || n > columns) {
            problem = sj("列 ") + std::to_string(n) + sj(" はありません。(列数 ") +
                      std::to_string(columns) + ")";
            return false;
        }
        if (std::find(read.begin(), read.end(), n) != read.end()) {
            problem = sj("既に同じ列が選択されています。\r\n\r\n    ＞") + std::to_string(n);
            return false;
        }
        if (static_cast<int>(read.size()) >= kMaxSortKeys) {
            problem =
                sj("選択可能な列数は最大で ") + std::to_string(kMaxSortKeys) + sj(" 列です。");
            return false;
        }
        read.push_back(n);
        at = end + 1;
    }
    numbers = std::move(read);
    return true;
}

} // namespace kol
