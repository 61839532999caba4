// Kolumbra: start-up. Creates the five windows in order, then runs the event loop.
#include "app/kolumbra01_window.h"
#include "app/standin_window.h"
#include "viewer/browse_window.h"
#include "ui/resident_msg_window.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <filesystem>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kolumbra");
    QApplication::setApplicationDisplayName("Kolumbra");

    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string programDir = ec ? std::string(".") : exe.parent_path().string();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

    kol::TFm_Browse browse;
    kol::Kolumbra01Window main(programDir, arguments, &browse, nullptr, nullptr, true);
    kol::TFm_ResidentMsg resident;
    kol::TFm_CsvFunc csvFunc;
    kol::TFm_Kolumbra02 search;
    QIcon icon = app.style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    main.setWindowIcon(icon);
    for (QWidget* w : {static_cast<QWidget*>(&resident), static_cast<QWidget*>(&csvFunc),
                       static_cast<QWidget*>(&search), static_cast<QWidget*>(&browse)})
        w->setWindowIcon(icon);
    browse.setTitleBase("Kolumbra Browse");
    main.show();
    return app.exec();
}
