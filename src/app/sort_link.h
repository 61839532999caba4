// The sort window's way into the main window: the column-name choice, the row labels, the
// history and popup cell before a sort, the refresh after it, and hiding or showing columns.
#pragma once

#include "app/kolumbra01.h"
#include "sort/csv_func.h"

namespace kol {

class MainSortLink : public CsvFuncMain {
public:
    explicit MainSortLink(TFm_Kolumbra01& main) : main_(main) {}

    int columnNameRow() const override;
    std::string columnNameChoice() const override;
    RowLabelRule rowLabels() const override;
    void sortStarting() override;
    void setTableVisible(bool visible) override;
    void sortFinished(bool rowsSorted) override;
    void unsetPopupCell() override;
    void setColumnShown(int column, bool shown) override;
    void activate() override;

private:
    TFm_Kolumbra01& main_;
};

} // namespace kol
