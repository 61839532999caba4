#include "print/print_layout.h"

#include <algorithm>
#include <unordered_map>

namespace kol::print {

namespace {

// Rectangles while laying out: sums of many rows may pass what an int holds before a test
// rejects them.
struct Box {
    long long left, top, right, bottom;
};

CellRect toCellRect(const Box& b) {
    return {static_cast<int>(b.left), static_cast<int>(b.top), static_cast<int>(b.right),
            static_cast<int>(b.bottom)};
}

long long sumOf(const std::vector<std::int32_t>& sizes, int count) {
    long long sum = 0;
    const int n = std::clamp(count, 0, static_cast<int>(sizes.size()));
    for (int i = 0; i < n; ++i) sum += sizes[static_cast<std::size_t>(i)];
    return sum;
}

long long fixedRowsHeight(const PlacementStore& store, int fixedRows) {
    long long sum = 0;
    for (int r = 0; r < fixedRows && r < store.rowCount(); ++r) sum += store.rowHeight(r);
    return sum;
}

} // namespace

// One fresh layout over the state of a PrintLayout.
class PrintLayout::Run {
public:
    Run(PrintLayout& layout, const LayoutInput& in, const LayoutHooks& hooks)
        : out_(layout), in_(in), hooks_(hooks), rows_(layout.store_.rowCount()),
          cols_(static_cast<int>(layout.widths_.size())),
          fixedHeight_(fixedRowsHeight(layout.store_, in.fixedRows)),
          fixedWidth_(sumOf(layout.widths_, in.fixedColumns)) {}

    // False when a stop was requested.
    bool layOut();
    int pages() const { return page_; }

private:
    bool stop() const { return in_.creatingAll && hooks_.stopRequested && hooks_.stopRequested(); }

    bool bottomFits(long long bottom) const {
        // A page without usable width gives no factor above 0: nothing fits on it.
        if (in_.sizeMode == CellSizeMode::OnePage)
            return in_.onePageFactor > 0 &&
                   static_cast<long long>(static_cast<long double>(bottom) * in_.onePageFactor) <=
                       in_.usableHeight;
        return bottom <= in_.usableHeight;
    }
    bool fits(const Box& b) const { return b.right <= in_.usableWidth && bottomFits(b.bottom); }
    bool placeable(const Box& b) const {
        return in_.sizeMode == CellSizeMode::OnePage ? bottomFits(b.bottom) : fits(b);
    }
    CellRect placed(int c, int r) const { return out_.store_.placement(c, r).rect; }

    // Lays out band `band` of page `page` from column c0, rows s.. from y0. False on a stop.
    bool layOutBand(int c0, int s, long long y0);

    PrintLayout& out_;
    const LayoutInput& in_;
    const LayoutHooks& hooks_;
    const int rows_, cols_;
    const long long fixedHeight_, fixedWidth_;

    int page_ = 0, band_ = 0;
    int lastRow_ = -1, lastCol_ = -1; // the last placed cell
    bool examined_ = false;
    Box lastExamined_{};
    long long rowsLaidOut_ = 0;
};

bool PrintLayout::Run::layOutBand(int c0, int s, long long y0) {
    State& st = out_.state_;
    const int n = st.rowsToLayOut;
    int group = -1;
    long long y = y0;
    for (int r = s; r < n; ++r) {
        if (stop()) return false;
        const long long rowBottom = y + out_.store_.rowHeight(r);
        const long long dy = r > st.boundary.row ? fixedHeight_ : 0;
        long long x = 0;
        for (int c = c0; c < cols_; ++c) {
            const long long width = out_.widths_[static_cast<std::size_t>(c)];
            const long long dx = c > st.boundary.column ? fixedWidth_ : 0;
            const Box cell{x + dx, y + dy, x + width + dx, rowBottom + dy};
            examined_ = true;
            lastExamined_ = cell;
            if (!placeable(cell)) {
                if (!bottomFits(cell.bottom)) return true; // the row overflows: the band ends
                break;                                     // the rest of the row is too wide
            }
            if (group < 0) group = out_.store_.groupFor(c0);
            out_.store_.place(group, c, r, page_, band_, toCellRect(cell));
            ++st.placementsMade;
            lastRow_ = r;
            lastCol_ = c;
            st.rowsCreated = r;
            x += width;
        }
        y = rowBottom;
        if (++rowsLaidOut_ % 5000 == 0 && hooks_.rowProgress) hooks_.rowProgress(lastRow_, n - 1);
    }
    return true;
}

bool PrintLayout::Run::layOut() {
    State& st = out_.state_;
    const int n = st.rowsToLayOut;
    std::unordered_map<long long, int> bandStarts; // the placed count of the cells that had any
    bool boundarySet = false;
    long long firstBandHeight = 0; // H1: page 1's first band
    while (lastRow_ < n - 1) {
        if (stop()) return false;
        const int s = lastRow_ + 1;
        lastCol_ = -1;
        bool firstOfStrip = true;
        long long stripBandHeight = 0;
        while (lastCol_ < cols_ - 1) {
            if (stop()) return false;
            const int c0 = lastCol_ + 1;
            if (++bandStarts[static_cast<long long>(s) * cols_ + c0] == 2) {
                st.tooLarge = true;
                return true;
            }
            bool newPage = page_ == 0 || band_ == kMaxBandsPerPage;
            if (!newPage && firstOfStrip) {
                newPage = !examined_ || !fits(lastExamined_);
            } else if (!newPage) {
                const CellRect last = placed(lastCol_, lastRow_);
                const long long top = static_cast<long long>(last.bottom) + in_.bandGap;
                const Box test{last.left, top, last.right,
                               top + std::max(firstBandHeight, stripBandHeight)};
                newPage = !fits(test);
            }
            long long y0 = 0;
            if (newPage) {
                ++page_;
                band_ = 0;
            } else {
                y0 = static_cast<long long>(placed(lastCol_, lastRow_).bottom) + in_.bandGap;
            }
            ++band_;
            if (!layOutBand(c0, s, y0)) return false;
            const bool placedAny = lastRow_ >= s;
            if (page_ == 1 && band_ == 1 && !boundarySet) {
                boundarySet = true;
                st.boundary = {lastCol_, lastRow_};
                if (placedAny)
                    firstBandHeight = static_cast<long long>(placed(lastCol_, lastRow_).bottom) -
                                      placed(0, 0).top;
            }
            if (firstOfStrip && placedAny)
                stripBandHeight = static_cast<long long>(placed(lastCol_, lastRow_).bottom) - y0;
            firstOfStrip = false;
        }
    }
    return true;
}

PrintLayout::PrintLayout() = default;
PrintLayout::~PrintLayout() = default;
PrintLayout::PrintLayout(PrintLayout&&) noexcept = default;
PrintLayout& PrintLayout::operator=(PrintLayout&&) noexcept = default;

LayoutStatus PrintLayout::run(LayoutInput input, const LayoutHooks& hooks) {
    const int rows = static_cast<int>(input.rowHeights.size());
    const int cols = static_cast<int>(input.columnWidths.size());
    // The last finished layout is the snapshot: nothing changes a finished layout (the printer
    // conversion is applied as pages are drawn), so a run builds beside it and either replaces
    // it or, stopped, is dropped for it. No second copy of the placements is ever held.
    Finished previous{state_, std::move(store_), std::move(widths_), std::move(pages_),
                      pagesLaidOut_};
    widths_ = std::move(input.columnWidths);
    // Columns wider than a page beside the fixed columns are narrowed to fit; never below 0,
    // where fixed columns alone are wider than the page.
    const long long fixedWidth = sumOf(widths_, input.fixedColumns);
    const long long narrowest = std::max<long long>(input.usableWidth - fixedWidth, 0);
    for (int c = std::max(input.fixedColumns, 0); c < cols; ++c) {
        auto& w = widths_[static_cast<std::size_t>(c)];
        if (w + fixedWidth > input.usableWidth) w = static_cast<std::int32_t>(narrowest);
    }
    state_ = State{};
    state_.rowsToLayOut = rows;
    state_.partialCreation = input.partialCreation;
    if (input.mode == PrintMode::Table && !input.creatingAll && input.partialCreation &&
        input.initialRowLimit > 0)
        state_.rowsToLayOut = std::min(rows, input.initialRowLimit + 1);
    pages_.clear();
    pagesLaidOut_ = 0;
    store_.reset(cols, std::move(input.rowHeights), state_.rowsToLayOut);

    Run layout(*this, input, hooks);
    const bool finished = layout.layOut();
    pagesLaidOut_ = layout.pages();
    bool stopped = !finished;
    if (!stopped) {
        finish();
        pages_ = buildPageTable(store_, pagesLaidOut_, state_.rowsCreated, [&](int p, int pages) {
            if (hooks.pageProgress) hooks.pageProgress(p, pages);
            if (input.creatingAll && hooks.stopRequested && hooks.stopRequested()) {
                stopped = true;
                return true;
            }
            return false;
        });
    }
    if (stopped) {
        if (finished_) {
            state_ = previous.state;
            store_ = std::move(previous.store);
            widths_ = std::move(previous.widths);
            pages_ = std::move(previous.pages);
            pagesLaidOut_ = previous.pagesLaidOut;
        } else {
            *this = PrintLayout{};
        }
        return LayoutStatus::Stopped;
    }
    if (input.creatingAll && !state_.tooLarge) state_.partialCreation = false;
    finished_ = true;
    return state_.tooLarge ? LayoutStatus::TooLarge : LayoutStatus::Complete;
}

void PrintLayout::finish() {
    LayoutExtents e;
    store_.forEachSpan(state_.rowsCreated, [&](const PlacementStore::RowSpan& s) {
        e.right = std::max(e.right, s.right);
        e.bottom = std::max(e.bottom, s.bottom);
    });
    state_.extents = e;
}

CellPos PrintLayout::bandOrigin(int page, int band) const {
    if (page < 1 || page > pageCount()) return {};
    const PageRecord& rec = pages_[static_cast<std::size_t>(page - 1)];
    if (band < 1 || band > rec.bandCount() || rec.bands.empty()) return {};
    const CellPos first = rec.bands.front().first;
    const CellPos bandFirst = rec.bands[static_cast<std::size_t>(band - 1)].first;
    const int d = placement(bandFirst.column, bandFirst.row).rect.top -
                  placement(first.column, first.row).rect.top;
    const CellRect corner = placement(0, 0).rect;
    return {corner.left, corner.top + d};
}

std::size_t PrintLayout::memoryBytes() const {
    std::size_t bytes = sizeof(*this) + store_.memoryBytes() + widths_.capacity() * 4 +
                        pages_.capacity() * sizeof(PageRecord);
    for (const PageRecord& p : pages_) bytes += p.bands.capacity() * sizeof(BandRecord);
    return bytes;
}

} // namespace kol::print
