#include "ui/qt_prompts.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <memory>

namespace kol {

namespace {
QString confirmCaption() {
    return QString::fromUtf8("確認");
}
} // namespace

Answer QtPrompts::ask(const std::string& text, Buttons buttons) {
    if (buttons == Buttons::OkCancel)
        return QMessageBox::information(parent_, confirmCaption(), qs(text),
                                        QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
                   ? Answer::Ok
                   : Answer::Cancel;
    QMessageBox::StandardButtons set = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) set |= QMessageBox::Cancel;
    if (buttons == Buttons::Ok) set = QMessageBox::Ok;
    auto answer = QMessageBox::question(parent_, confirmCaption(), qs(text), set);
    switch (answer) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

void QtPrompts::inform(const std::string& text) {
    QMessageBox::information(parent_, confirmCaption(), qs(text));
}

void QtPrompts::fail(const std::string& text) {
    QMessageBox::critical(parent_, QString::fromUtf8("エラー"), qs(text));
}

QString QtPrompts::qtFilter(const std::string& filter) {
    QStringList parts = qs(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1];
        const bool bare = description == "(" + patterns + ")"; // "(*.csv)|*.csv"
        patterns.replace(';', ' ');
        patterns = patterns.simplified();
        entries << (bare ? "(" + patterns + ")" : description + " (" + patterns + ")");
    }
    return entries.join(";;");
}

namespace {
// Qt names folders and the root in English whatever the language; files keep their kind's
// name, which comes in the user's language.
class JapaneseFileKinds : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override {
        if (info.isFile()) return QFileIconProvider::type(info);
        return QString::fromUtf8(info.isRoot() ? "ドライブ" : "フォルダー");
    }
};

// Sizes and times in the program's language: Qt's file list writes them in the system's.
class JapaneseFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const int column = index.column();
        if (role == Qt::DisplayRole && (column == 1 || column == 3)) {
            const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
            const QModelIndex source = mapToSource(index);
            if (files && source.isValid()) {
                if (column == 3)
                    return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
                if (!files->isDir(source)) return QLocale().formattedDataSize(files->size(source));
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The detail columns as wide as their longest text, the name column taking the rest, and the
// dialog wide enough for a name beside them, within the screen.
void sizeColumns(QFileDialog* dialog) {
    auto* tree = dialog->findChild<QTreeView*>("treeView");
    if (!tree) return;
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    const QFontMetrics metrics(tree->font());
    const QLocale locale;
    // The widest texts the columns show: a size, a kind, a time.
    const QString samples[] = {
        locale.formattedDataSize(1023LL * 1024 * 1024 * 1024), QString::fromUtf8("フォルダー"),
        locale.toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58)), QLocale::ShortFormat)};
    const int padding = 4 * tree->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int details = 0;
    for (int c = 1; c < header->count() && c <= 3; ++c) {
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        details += std::max(metrics.horizontalAdvance(samples[c - 1]), header->sectionSizeHint(c)) +
                   padding;
    }
    const QScreen* screen = dialog->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const int sidebar = 160;
    const int name = metrics.horizontalAdvance(QString(24, QChar(0x3042))); // 24 full-width
    const int wanted = sidebar + details + name;
    dialog->resize(std::min(std::max(wanted, dialog->sizeHint().width()), area.width() * 9 / 10),
                   std::min(std::max(480, dialog->sizeHint().height()), area.height() * 9 / 10));
}
} // namespace

static QFileDialog* makeDialog(QWidget* parent, const FileDialogRequest& request,
                               QFileIconProvider& kinds) {
    auto* dialog = new QFileDialog(parent, qs(request.title), qpath(request.directory));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setIconProvider(&kinds);
    dialog->setProxyModel(new JapaneseFileDetails(dialog)); // the dialog owns it
    sizeColumns(dialog);
    dialog->setNameFilters(QtPrompts::qtFilter(request.filter).split(";;"));
    QString name = qpath(request.fileName);
    int slash = name.lastIndexOf('/');
    if (slash >= 0) name = name.mid(slash + 1);
    if (!name.contains('*')) dialog->selectFile(name);
    return dialog;
}

std::string QtPrompts::openFileName(const FileDialogRequest& request) {
    JapaneseFileKinds kinds; // outlives the dialog
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent_, request, kinds));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return fromQpath(dialog->selectedFiles().front());
}

std::string QtPrompts::saveFileName(const FileDialogRequest& request) {
    JapaneseFileKinds kinds; // outlives the dialog
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent_, request, kinds));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.askOverwrite);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return fromQpath(dialog->selectedFiles().front());
}

bool QtClipboard::hasText() {
    return !QApplication::clipboard()->text().isEmpty();
}

std::string QtClipboard::text() {
    return fromQs(QApplication::clipboard()->text());
}

void QtClipboard::setText(const std::string& text) {
    QApplication::clipboard()->setText(qs(text));
}

} // namespace kol
