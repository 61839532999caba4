// The main window's switches as the shown table reads them: the View menu's checks and the top
// panels' choices, read afresh at every call so no copy can lag behind a control.
#pragma once

#include "view/table_view.h"

namespace kol {

class TFm_Kolumbra01;

class MainViewSwitches : public TableViewSwitches {
public:
    explicit MainViewSwitches(const TFm_Kolumbra01& main) : main_(main) {}

    RowLabelRule rowLabelRule() const override;
    int titleRowsChoice() const override;
    int keyColumnChoice() const override;
    int keyColumnLetters() const override;
    bool breakColours() const override;
    DisplaySwitches displaySwitches() const override;
    int foldChoice() const override;
    double columnLimit() const override;
    unsigned char separator() const override;
    GridMetrics metrics() const override;

private:
    const TFm_Kolumbra01& main_;
};

} // namespace kol
