// Moving one element of a list to another index, shifting those between: how rows, columns
// and their attribute records travel together.
#pragma once

#include <algorithm>
#include <vector>

namespace kol {

template <typename T> void moveItem(std::vector<T>& v, int from, int to) {
    const int n = static_cast<int>(v.size());
    if (from < 0 || to < 0 || from >= n || to >= n) return;
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else if (from > to)
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

} // namespace kol
