// Windows whose commands come later: created at start like the others and kept hidden.
#pragma once

#include <QWidget>

namespace kol {

class TFm_CsvFunc : public QWidget {
public:
    explicit TFm_CsvFunc(QWidget* parent = nullptr) : QWidget(parent, Qt::Window) {
        setWindowTitle("Kolumbra");
    }
};

} // namespace kol
