// What every window of the program looks like: Japanese standard dialogs and one typeface.
#pragma once

#include <QFont>

class QApplication;
class QComboBox;
class QMenuBar;

namespace kol {

// The program's typeface (IPA Mincho, the fixed-pitch stand-in for "ＭＳ 明朝") at a pixel size.
QFont programFont(int pixels);

// The program's typeface made bold.
QFont programFont(int pixels, bool bold);

// A menu bar drawn as the main window's, whatever colours the window it sits in has.
void useProgramMenuBarLook(QMenuBar* bar);

// A drop-down list that opens `rows` rows tall (fewer when it holds fewer), also in styles that
// would open it as a menu as tall as its items.
void setDropDownRows(QComboBox* combo, int rows);

// Japanese for Qt's own texts (dialog buttons, file dialogs) whatever the user's locale, and
// the program's typeface at 13 pixels for every widget. Call before any window is made.
void applyProgramLook(QApplication& app);

} // namespace kol
