// What every window of the program looks like: Japanese standard dialogs and one typeface.
#pragma once

#include <QFont>

class QApplication;

namespace kol {

// The program's typeface (IPA Mincho, the fixed-pitch stand-in for "ＭＳ 明朝") at a pixel size.
QFont programFont(int pixels);

// Japanese for Qt's own texts (dialog buttons, file dialogs) whatever the user's locale, and
// the program's typeface at 13 pixels for every widget. Call before any window is made.
void applyProgramLook(QApplication& app);

} // namespace kol
