#include "ui/qt_program_look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kol {

QFont programFont(int pixels) {
    QFont font("IPAMincho");
    font.setPixelSize(pixels);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void applyProgramLook(QApplication& app) {
    // The program speaks Japanese to a Japanese user; Qt's dialogs must not switch to English
    // because the session happens to run in a C or English locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setFont(programFont(13));
}

} // namespace kol
