#include "ui/qt_program_look.h"
#include "view/table_view.h"

#include <QApplication>
#include <QComboBox>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

namespace kol {

QFont programFont(int pixels) {
    QFont font("IPAMincho");
    font.setPixelSize(pixels);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont programFont(int pixels, bool bold) {
    QFont font = programFont(pixels);
    font.setBold(bold);
    return font;
}

void useProgramMenuBarLook(QMenuBar* bar) {
    // Every role set explicitly, so none of the window's own colours reaches the bar.
    const QPalette app = QApplication::palette();
    QPalette look;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            look.setBrush(group, role, app.brush(group, role));
        }
    bar->setPalette(look);
    bar->setAutoFillBackground(true);
}

namespace {
// The application's style, except that a combo box's list opens below it with its visible
// rows rather than as a menu.
class ListPopupStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};
} // namespace

void setDropDownRows(QComboBox* combo, int rows) {
    combo->setMaxVisibleItems(rows);
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    if (!base) return;
    auto* style = new ListPopupStyle(base); // owns base
    style->setParent(combo);
    combo->setStyle(style);
}

void applyProgramLook(QApplication& app) {
    // The program speaks Japanese to a Japanese user; Qt's dialogs must not switch to English
    // because the session happens to run in a C or English locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    QApplication::setFont(programFont(kGridFontPixels));
}

} // namespace kol
