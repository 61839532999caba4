#include "print/page_table.h"

namespace kol::print {

std::vector<PageRecord> buildPageTable(const PlacementStore& store, int pages, int lastRow,
                                       const std::function<bool(int, int)>& everyTenthPage) {
    // One scan for all pages: a cell's page and band say where it counts, and the scan order
    // is the one each page's own scan would have.
    struct Seen {
        CellPos first, last;
    };
    std::vector<Seen> pageSeen(static_cast<std::size_t>(std::max(pages, 0)));
    std::vector<std::vector<Seen>> bandSeen(pageSeen.size());
    store.forEachSpan(lastRow, [&](const PlacementStore::RowSpan& s) {
        if (s.page > pages) return;
        const auto p = static_cast<std::size_t>(s.page - 1);
        Seen& page = pageSeen[p];
        if (page.first.row < 0) page.first = {s.firstColumn, s.row};
        page.last = {s.lastColumn, s.row};
        auto& bands = bandSeen[p];
        if (static_cast<int>(bands.size()) < s.band) bands.resize(static_cast<std::size_t>(s.band));
        Seen& band = bands[static_cast<std::size_t>(s.band - 1)];
        if (band.first.row < 0) band.first = {s.firstColumn, s.row};
        band.last = {s.lastColumn, s.row};
    });
    std::vector<PageRecord> table;
    table.reserve(pageSeen.size());
    for (int p = 1; p <= pages; ++p) {
        if (p % 10 == 0 && everyTenthPage && everyTenthPage(p, pages)) break;
        const auto i = static_cast<std::size_t>(p - 1);
        PageRecord record{pageSeen[i].first, pageSeen[i].last, {}};
        for (const Seen& band : bandSeen[i]) {
            if (band.first.row < 0 || record.bandCount() == kMaxBandsPerPage) break;
            record.bands.push_back({band.first, band.last});
        }
        table.push_back(std::move(record));
    }
    return table;
}

} // namespace kol::print
