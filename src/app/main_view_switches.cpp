#include "app/main_view_switches.h"

#include "app/kolumbra01.h"

namespace kol {

RowLabelRule MainViewSwitches::rowLabelRule() const {
    return RowLabelRule{main_.Mn_FixedRowSEQ.Checked, main_.fixedRowsIndex()};
}
int MainViewSwitches::titleRowsChoice() const {
    return main_.Cmb_FixedRows.ItemIndex;
}
int MainViewSwitches::keyColumnChoice() const {
    return main_.Cmb_FixedCol.ItemIndex;
}
int MainViewSwitches::keyColumnLetters() const {
    return main_.Cmb_FixedKeta.ItemIndex;
}
bool MainViewSwitches::breakColours() const {
    return main_.Mn_BreakColor.Checked;
}

DisplaySwitches MainViewSwitches::displaySwitches() const {
    DisplaySwitches v;
    v.fixedCenter = main_.Mn_FixedCenter.Checked;
    v.dataCenter = main_.Mn_DataCenter.Checked;
    v.trimSpace = main_.Mn_TrimSpace.Checked;
    v.dateEdit = main_.Mn_DateEdit.Checked;
    v.breakColor = main_.Mn_BreakColor.Checked;
    v.karaGyoColor = main_.Mn_KaraGyoColor.Checked;
    v.karaGyoBlack = main_.Mn_KaraGyoBlack.Checked;
    v.folding = main_.Cmb_Fold.ItemIndex != 1;
    return v;
}

int MainViewSwitches::foldChoice() const {
    return main_.Cmb_Fold.ItemIndex;
}
double MainViewSwitches::columnLimit() const {
    return main_.ColumnLimit;
}
unsigned char MainViewSwitches::separator() const {
    return main_.CurrentSeparator;
}
GridMetrics MainViewSwitches::metrics() const {
    return {main_.LetterWidth, main_.LetterHeight, main_.KijyunHeight};
}

} // namespace kol
