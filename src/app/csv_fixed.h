// The range output window's model: writes a range of records (grid rows) of a grid as CSV.
// It is also the main window's row writer for every save (table/save_rows.h underneath).
#pragma once

#include "platform/busy_cursor.h"
#include "platform/platform.h"
#include "table/csv_file_inf.h"
#include "table/io_status.h"
#include "table/string_grid.h"

#include <string>

namespace kol {

class CsvFixedHost : public BusyIndicator {
public:
    virtual void repaintStatus() = 0;
    virtual void showDocumentFile(const std::string& path, const std::string& extraTitle) = 0;
};

class TFm_CsvFixed {
public:
    TFm_CsvFixed(Prompts& prompts, CsvFixedHost& host, const StringGrid& source,
                 const TCsvFileInf& descriptor, int firstRow, int lastRow, unsigned char separator,
                 std::string programDir);

    // The common row writer: rows 1 … last of the source grid. A failure is reported in an
    // error box with its reason.
    [[nodiscard]] bool WriteRows(const std::string& fileName);

    void FormShow();
    void Chk_LastRecNoClick();
    void Btn_ExecClick();
    std::string defaultFileName() const;

    std::string Caption, Lab_Title, Edt_RecNoMin, Edt_RecNoMax, Lab_OutRecNo, Chk_LastRecNoCaption;
    bool Chk_LastRecNo = false;
    bool Btn_ExecEnabled = true;
    int LastRecNo = 0;

private:
    void outputRange(int first, int last);

    Prompts& prompts_;
    CsvFixedHost& host_;
    const StringGrid& source_;
    const TCsvFileInf& descriptor_;
    int firstRow_, lastRow_;
    unsigned char separator_;
    std::string programDir_;
    bool firstShow_ = true;
};

} // namespace kol
