// The environment definition window, shown modally over its model.
#pragma once

#include "app/csv_etc.h"
#include "ui/control_bindings.h"

#include <QDialog>

class QComboBox;

namespace kol {

class CsvEtcWindow : public QDialog {
    Q_OBJECT
public:
    CsvEtcWindow(TFm_CsvEtc& model, QWidget* parent);

    QComboBox* zoneSign() const { return Cmb_ZoneSign; }

private:
    void run(void (TFm_CsvEtc::*handler)()); // widgets → model, handler, model → widgets

    TFm_CsvEtc& model_;
    QComboBox* Cmb_ZoneSign;
    ControlBindings bindings_;
};

} // namespace kol
