#include "ui/resident_msg_window.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace kol {

TFm_ResidentMsg::TFm_ResidentMsg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8("Zimbrel メッセージ"));
    RichEdit = new QTextEdit(this);
    RichEdit->setReadOnly(true);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setStyleSheet("background: palette(button);");
    RichEdit->clear();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RichEdit);
    resize(420, 260);
}

} // namespace kol
