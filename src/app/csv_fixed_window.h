// The range output window, shown modally over its model.
#pragma once

#include "app/csv_fixed.h"
#include "ui/control_bindings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kol {

class CsvFixedWindow : public QDialog {
    Q_OBJECT
public:
    CsvFixedWindow(TFm_CsvFixed& model, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFm_CsvFixed& model_;
    QLabel* Lab_Title;
    QLineEdit* Edt_RecNoMin;
    QLineEdit* Edt_RecNoMax;
    QCheckBox* Chk_LastRecNo;
    QLabel* Lab_OutRecNo;
    QPushButton* Btn_Exec;
    ControlBindings bindings_;
};

} // namespace kol
