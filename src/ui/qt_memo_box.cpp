#include "ui/qt_memo_box.h"

#include "ui/qt_text.h"

#include <QPlainTextEdit>

namespace kol {

QString showMemoBox(QPlainTextEdit* memo, const std::string& text, const MemoView::Rect& where,
                    const QFont& font) {
    const QString shown = qs(text);
    memo->setFont(font);
    memo->setPlainText(shown);
    memo->moveCursor(QTextCursor::End); // typing adds to the text, as in any editor
    memo->setGeometry(where.left, where.top, where.width, where.height);
    memo->show();
    memo->raise();
    memo->setFocus(Qt::OtherFocusReason);
    return shown;
}

std::string memoBoxText(const QPlainTextEdit* memo, const QString& shown,
                        const std::string& original) {
    const QString text = memo->toPlainText();
    return text == shown ? original : fromQs(text);
}

} // namespace kol
