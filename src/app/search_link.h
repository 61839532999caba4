// The search window as the main window's model sees it: shown on demand, told whenever the
// table is replaced or restructured under its results, and keeper of the search history
// between the settings file's read and write. The window itself lives a layer above.
#pragma once

#include <span>
#include <string>

namespace kol {

class SearchWindowLink {
public:
    virtual ~SearchWindowLink() = default;
    virtual void showWindow() = 0;
    virtual void ResetResults(bool clearWord) = 0;
    virtual void LoadHistory(std::span<const std::string> slots) = 0;
    virtual void GatherHistory(std::span<std::string> slots) = 0;
};

} // namespace kol
