// Kolumbra: start-up. Creates the five windows in order, then runs the event loop.
#include "app/kolumbra01_window.h"
#include "app/settings_location.h"
#include "app/version.h"
#include "search/search_window.h"
#include "sort/csv_func_window.h"
#include "ui/qt_program_look.h"
#include "ui/resident_msg_window.h"
#include "viewer/browse_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string programFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

// Answered before Qt starts, so they work without a display.
bool answerOption(const char* arg, const std::string& programDir) {
    if (std::strcmp(arg, "--version") == 0) {
        std::printf("kolumbra %s\n", kol::kVersion);
        return true;
    }
    if (std::strcmp(arg, "--help") != 0) return false;
    std::printf(
        "Usage: kolumbra [FILE[,KEY=VALUE]...]\n"
        "View and edit CSV, TSV and other delimited text tables in Shift-JIS (CP932).\n"
        "\n"
        "FILE is opened at start; it may be followed, separated by commas, by the start keys\n"
        "  Key:FixedRows=N       the number of title rows\n"
        "  Key:FixedRowSEQ=True  number the rows from the title rows\n"
        "  Key:BNR=NAME          the separator (\",\" or Comma, TAB, ...)\n"
        "  Key:Caption=TEXT      the window caption\n"
        "  Key:ClipBoard         open the clipboard text instead of a file\n"
        "  Key:ClipCaption=TEXT  the name shown for the clipboard text\n"
        "\n"
        "  --help     display this help and exit\n"
        "  --version  output version information and exit\n"
        "\n"
        "Help documents: %s\n",
        kol::HelpFolder(programDir).c_str());
    return true;
}

// The installed icon (the user's theme first), else the one the build renders beside the program.
QIcon programIcon(const std::string& programDir, QStyle* style) {
    if (QIcon::hasThemeIcon("kolumbra")) return QIcon::fromTheme("kolumbra");
    QIcon icon;
    for (const char* root : {"/../share/icons/hicolor/", "/icons/hicolor/"})
        for (const char* size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
            QString file = QString::fromStdString(programDir + root + size + "/apps/kolumbra.png");
            if (QFileInfo::exists(file)) icon.addFile(file);
        }
    return icon.isNull() ? style->standardIcon(QStyle::SP_FileDialogDetailedView) : icon;
}

} // namespace

int main(int argc, char** argv) {
    std::string programDir = programFolder();
    if (argc > 1 && answerOption(argv[1], programDir)) return 0;

    QApplication app(argc, argv);
    // No display name: Qt would add it to every window title, and the titles are the program's.
    QApplication::setApplicationName("Kolumbra");
    kol::applyProgramLook(app);
    QGuiApplication::setDesktopFileName("org.kolumbra.Kolumbra");

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

    kol::BrowseWindow browse;
    kol::Kolumbra01Window main(programDir, arguments, &browse, nullptr, nullptr, true);
    kol::TFm_ResidentMsg resident;
    kol::CsvFuncWindow& csvFunc = main.createSortWindow();
    kol::SearchWindow& search = main.createSearchWindow();
    QIcon icon = programIcon(programDir, app.style());
    main.setWindowIcon(icon);
    for (QWidget* w : {static_cast<QWidget*>(&resident), static_cast<QWidget*>(&csvFunc),
                       static_cast<QWidget*>(&search), static_cast<QWidget*>(&browse)})
        w->setWindowIcon(icon);
    main.show();
    return app.exec();
}
