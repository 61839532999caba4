// The memo box the grids edit long cells in: shown over the cell with its text, the cursor at
// the end; what it gives back keeps the cell's own bytes while the text is untouched.
#pragma once

#include "edit/memo_editor.h"

#include <QString>

#include <string>

class QFont;
class QPlainTextEdit;

namespace kol {

// Shows `text` in `memo` over `where`; returns the text as shown, for memoBoxText.
QString showMemoBox(QPlainTextEdit* memo, const std::string& text, const MemoView::Rect& where,
                    const QFont& font);

// The memo's text as CP932: `original` itself while the memo still shows `shown`, so bytes that
// do not decode are kept as they were.
std::string memoBoxText(const QPlainTextEdit* memo, const QString& shown,
                        const std::string& original);

} // namespace kol
