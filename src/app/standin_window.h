// Windows whose commands come later: created at start like the others and kept hidden.
#pragma once

#include <QWidget>

namespace kol {

class TFm_Kolumbra02 : public QWidget {
public:
    explicit TFm_Kolumbra02(QWidget* parent = nullptr) : QWidget(parent, Qt::Window) {
        setWindowTitle("Kolumbra");
    }
};

} // namespace kol
