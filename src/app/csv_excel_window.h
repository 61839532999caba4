// The Excel sheet chooser, shown modally over its model.
#pragma once

#include "app/csv_excel.h"
#include "ui/control_bindings.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kol {

class CsvExcelWindow : public QDialog {
    Q_OBJECT
public:
    CsvExcelWindow(TfrmCsvExcel& model, QWidget* parent);

    QListWidget* sheets() const { return lstSheet_; }
    QLineEdit* sheetName() const { return edtSheetName_; }
    QPushButton* okButton() const { return btnOK_; }
    QPushButton* closeButton() const { return btnClose_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(void (TfrmCsvExcel::*handler)()); // widgets → model, handler, model → widgets
    void sync();

    TfrmCsvExcel& model_;
    QLineEdit* edtMemo_;
    QLineEdit* edtSheetName_;
    QListWidget* lstSheet_;
    QPushButton* btnOK_;
    QPushButton* btnClose_;
    ControlBindings bindings_;
    bool shown_ = false;
    bool syncing_ = false;
};

} // namespace kol
