#include "ui/qt_prompts.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kol {

namespace {
QString confirmCaption() {
    return QString::fromUtf8("確認");
}
} // namespace

Answer QtPrompts::ask(const std::string& text, Buttons buttons) {
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

static QFileDialog* makeDialog(QWidget* parent, const FileDialogRequest& request) {
    auto* dialog = new QFileDialog(parent, qs(request.title), qpath(request.directory));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setNameFilters(QtPrompts::qtFilter(request.filter).split(";;"));
    QString name = qpath(request.fileName);
    int slash = name.lastIndexOf('/');
    if (slash >= 0) name = name.mid(slash + 1);
    if (!name.contains('*')) dialog->selectFile(name);
    return dialog;
}

std::string QtPrompts::openFileName(const FileDialogRequest& request) {
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent_, request));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
    return fromQpath(dialog->selectedFiles().front());
}

std::string QtPrompts::saveFileName(const FileDialogRequest& request) {
    std::unique_ptr<QFileDialog> dialog(makeDialog(parent_, request));
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
