// The Excel sheet chooser's model: lists the workbook's sheets and transfers the chosen one
// into the load descriptor as comma lines.
#pragma once

#include "platform/busy_cursor.h"
#include "platform/controls.h"
#include "table/csv_file_inf.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <string>

namespace kol {

// A one-line text box.
struct EditBox : Control {
    std::string Text;
    bool ReadOnly = false;
    std::uint32_t Color = 0;     // 0xBBGGRR; 0 = the platform's default
    std::uint32_t FontColor = 0; // 0xBBGGRR
};

class TfrmCsvExcel {
public:
    enum class Mode { Read };
    TfrmCsvExcel(BusyIndicator& busy, Mode mode, std::string path, workbook::Workbook& book,
                 TCsvFileInf& target);

    void FormCreate(); // run by the constructor
    void FormShow();
    void lstSheetClick();
    void btnOKClick();   // also a double click on a sheet
    void mnCloseClick(); // also btnClose

    std::string Caption;
    EditBox edtMemo, edtSheetName;
    Panel pnlPathGuide;
    Label labOpeGuide;
    Combo lstSheet; // the list box: items and the selected index
    Button btnOK, btnClose;
    MenuItem mnClose;

    bool OK = false;
    std::string SheetName;           // the chosen sheet's trimmed name (CP932)
    workbook::WorkbookResult Result; // what the transfer met; OK stays false on a failure
    bool Closed = false;             // a close was asked for; the window closes itself

private:
    BusyIndicator& busy_;
    Mode mode_;
    std::string path_;
    workbook::Workbook& book_;
    TCsvFileInf& target_;
};

} // namespace kol
