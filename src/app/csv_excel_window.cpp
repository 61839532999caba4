#include "app/csv_excel_window.h"

#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kol {

namespace {
QColor bgr(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

CsvExcelWindow::CsvExcelWindow(TfrmCsvExcel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    auto* menu = new QMenuBar(this);
    QAction* close = menu->addAction(qs(model.mnClose.Caption));

    auto* guide = new QLabel(this);
    guide->setFrameShape(QFrame::Panel);
    guide->setFrameShadow(QFrame::Raised);
    edtMemo_ = new QLineEdit(this);
    edtMemo_->setReadOnly(true);
    edtMemo_->setMinimumWidth(420);
    auto* opeGuide = new QLabel(this);
    lstSheet_ = new QListWidget(this);
    lstSheet_->setMinimumHeight(200);
    lstSheet_->setFont(programFont(13)); // fixed pitch, so the right-justified numbers line up
    edtSheetName_ = new QLineEdit(this);
    btnOK_ = new QPushButton(qs(model.btnOK.Caption), this);
    btnClose_ = new QPushButton(qs(model.btnClose.Caption), this);
    btnOK_->setAutoDefault(false);
    btnClose_->setAutoDefault(false);
    btnOK_->setDefault(true); // Enter chooses the sheet, wherever the focus is

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(guide);
    pathRow->addWidget(edtMemo_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edtSheetName_, 1);
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addLayout(pathRow);
    layout->addWidget(opeGuide);
    layout->addWidget(lstSheet_, 1);
    layout->addLayout(buttons);

    bindings_.label(guide, model.pnlPathGuide.Caption);
    bindings_.label(opeGuide, model.labOpeGuide.Caption);
    bindings_.button(btnOK_, model.btnOK);
    bindings_.custom([this] {
        setWindowTitle(qs(model_.Caption));
        edtMemo_->setText(qs(model_.edtMemo.Text));
        edtSheetName_->setText(qs(model_.edtSheetName.Text));
        edtSheetName_->setReadOnly(model_.edtSheetName.ReadOnly);
        QPalette pal = edtSheetName_->palette();
        if (model_.edtSheetName.Color) pal.setColor(QPalette::Base, bgr(model_.edtSheetName.Color));
        if (model_.edtSheetName.FontColor)
            pal.setColor(QPalette::Text, bgr(model_.edtSheetName.FontColor));
        edtSheetName_->setPalette(pal);
        if (lstSheet_->count() != static_cast<int>(model_.lstSheet.Items.size())) {
            lstSheet_->clear();
            for (const std::string& item : model_.lstSheet.Items) lstSheet_->addItem(qs(item));
        }
        lstSheet_->setCurrentRow(model_.lstSheet.ItemIndex);
    });

    connect(lstSheet_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_ || row < 0) return;
        model_.lstSheet.ItemIndex = row;
        run(&TfrmCsvExcel::lstSheetClick);
    });
    connect(lstSheet_, &QListWidget::itemDoubleClicked, this,
            [this] { run(&TfrmCsvExcel::btnOKClick); });
    connect(btnOK_, &QPushButton::clicked, this, [this] { run(&TfrmCsvExcel::btnOKClick); });
    connect(btnClose_, &QPushButton::clicked, this, [this] { run(&TfrmCsvExcel::mnCloseClick); });
    connect(close, &QAction::triggered, this, [this] { run(&TfrmCsvExcel::mnCloseClick); });
    sync();
}

void CsvExcelWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    model_.FormShow();
    sync();
}

void CsvExcelWindow::sync() {
    syncing_ = true;
    bindings_.push();
    syncing_ = false;
}

void CsvExcelWindow::run(void (TfrmCsvExcel::*handler)()) {
    (model_.*handler)();
    sync();
    if (model_.Closed) {
        if (model_.OK)
            accept();
        else
            reject();
    }
}

} // namespace kol
