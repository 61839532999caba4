#include "viewer/browse_window.h"

#include "table/source_text.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kol {

TFm_Browse::TFm_Browse(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(titleBase_);
    pane_ = new QPlainTextEdit(this);
    pane_->setReadOnly(true);
    pane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane_->setFont(programFont(14));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane_);
    resize(760, 560);
}

void TFm_Browse::showDocumentFile(const std::string& path, const std::string& extraTitle) {
    SourceText source;
    if (SourceText::readFile(path, source) == SourceText::ReadStatus::Ok) {
        pane_->setPlainText(qs(std::string(source.text())));
    } else {
        pane_->setPlainText(qs(sj("ファイルが見つかりません。\r\n\r\n   PATH = ")) + qpath(path));
    }
    setWindowTitle(titleBase_ + "  " + qs(extraTitle) + qpath(path));
    show();
    raise();
}

void TFm_Browse::showDocumentText(const std::string& text) {
    pane_->setPlainText(qs(text));
    setWindowTitle(titleBase_);
    show();
    raise();
}

QString TFm_Browse::shownText() const {
    return pane_->toPlainText();
}

} // namespace kol
