// The hourglass while a command works: shown for the life of a scope, so every way out of the
// command takes it away again.
#pragma once

namespace kol {

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void setBusy(bool busy) = 0;
};

class BusyCursor {
public:
    explicit BusyCursor(BusyIndicator& indicator) : indicator_(indicator) {
        indicator_.setBusy(true);
    }
    ~BusyCursor() { indicator_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BusyIndicator& indicator_;
};

} // namespace kol
