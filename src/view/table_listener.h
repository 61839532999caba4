// What a view of a table hears when the table changes under it. The main window, the search
// results and any later window over the same table subscribe to one TableView, so none of them
// has to be told by name.
#pragma once

#include "table/string_grid.h"

#include <algorithm>
#include <vector>

namespace kol {

// Why a table was reshaped: listeners that keep per-row results drop them on any reshape, but
// a window that lists the columns only needs to refill when columns or their names changed.
enum class Reshape {
    Replaced, // a load, clearing, a sort: nothing of the old table can be trusted
    Rows,     // rows added, removed or moved, or their labels renumbered
    Columns,  // columns added, removed, moved, shown or hidden, or their names changed
};

class TableListener {
public:
    virtual ~TableListener() = default;
    virtual void tableReshaped(Reshape how) = 0;
    // Only the text of these cells changed; the shape is as it was.
    virtual void cellsChanged(const GridRect& cells) {}
};

// The listeners of one table, told in the order they subscribed. A listener unsubscribes
// before it goes; one may unsubscribe another (or itself) while being told.
class TableListeners {
public:
    void add(TableListener& listener) {
        if (std::find(list_.begin(), list_.end(), &listener) == list_.end())
            list_.push_back(&listener);
    }
    void remove(TableListener& listener) {
        auto it = std::find(list_.begin(), list_.end(), &listener);
        if (it != list_.end()) *it = nullptr;
        if (depth_ == 0) prune();
    }
    void reshaped(Reshape how) {
        tell([how](TableListener& l) { l.tableReshaped(how); });
    }
    void cellsChanged(const GridRect& cells) {
        tell([&cells](TableListener& l) { l.cellsChanged(cells); });
    }
    std::size_t size() const {
        return static_cast<std::size_t>(
            std::count_if(list_.begin(), list_.end(), [](auto* l) { return l != nullptr; }));
    }

private:
    template <class F> void tell(F&& f) {
        ++depth_;
        // Indexes, not iterators: a listener may subscribe another while it is told.
        for (std::size_t i = 0; i < list_.size(); ++i)
            if (list_[i]) f(*list_[i]);
        if (--depth_ == 0) prune();
    }
    void prune() { std::erase(list_, nullptr); }

    std::vector<TableListener*> list_;
    int depth_ = 0;
};

// A listener's place in a table's list for as long as this lives.
class TableSubscription {
public:
    TableSubscription(TableListeners& listeners, TableListener& listener)
        : listeners_(listeners), listener_(listener) {
        listeners_.add(listener_);
    }
    ~TableSubscription() { listeners_.remove(listener_); }
    TableSubscription(const TableSubscription&) = delete;
    TableSubscription& operator=(const TableSubscription&) = delete;

private:
    TableListeners& listeners_;
    TableListener& listener_;
};

} // namespace kol
