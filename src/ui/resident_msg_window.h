// A small always-on-top window with one read-only text pane; nothing writes to it yet.
#pragma once

#include <QWidget>

class QTextEdit;

namespace kol {

class TFm_ResidentMsg : public QWidget {
    Q_OBJECT
public:
    explicit TFm_ResidentMsg(QWidget* parent = nullptr);
    QTextEdit* RichEdit;
};

} // namespace kol
