// The search window as the main window's model sees it: shown on demand, and keeper of the
// search history between the settings file's read and write. It hears of table changes as a
// listener of the shown table. The window itself lives a layer above.
#pragma once

#include <span>
#include <string>

namespace kol {

class SearchWindowLink {
public:
    virtual ~SearchWindowLink() = default;
    virtual void showWindow() = 0;
    virtual void LoadHistory(std::span<const std::string> slots) = 0;
    virtual void GatherHistory(std::span<std::string> slots) = 0;
};

} // namespace kol
