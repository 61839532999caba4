#include "app/csv_etc_window.h"

#include "ui/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kol {

CsvEtcWindow::CsvEtcWindow(TFm_CsvEtc& model, QWidget* parent) : QDialog(parent), model_(model) {
    setWindowTitle(qs(model.Caption));
    auto* menu = new QMenuBar(this);
    QAction* exit = menu->addMenu(qs(model.Mn_File.Caption))->addAction(qs(model.Mn_Exit.Caption));

    auto* pages = new QTabWidget(this);
    auto* page = new QWidget(pages);
    auto* group = new QGroupBox(qs(model.GroupCaption), page);
    Cmb_ZoneSign = new QComboBox(group);
    bindings_.combo(Cmb_ZoneSign, model.Cmb_ZoneSign, {});
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(qs(model.Lab_ZonePack.Caption), group), 0, 0);
    grid->addWidget(new QLabel(qs(model.Lab_SignForm.Caption), group), 1, 0);
    grid->addWidget(Cmb_ZoneSign, 1, 1);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
    pageLayout->addStretch();
    pages->addTab(page, qs(model.PageCaption));
    pages->setCurrentWidget(page);

    auto* update = new QPushButton(qs(model.Btn_Update.Caption), this);
    auto* close = new QPushButton(qs(model.Btn_Close.Caption), this);
    update->setAutoDefault(false);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(update);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a small form of fixed size

    connect(update, &QPushButton::clicked, this, [this] { run(&TFm_CsvEtc::Btn_UpdateClick); });
    connect(close, &QPushButton::clicked, this, [this] { run(&TFm_CsvEtc::Btn_CloseClick); });
    connect(exit, &QAction::triggered, this, [this] { run(&TFm_CsvEtc::Mn_ExitClick); });
    bindings_.push();
}

void CsvEtcWindow::run(void (TFm_CsvEtc::*handler)()) {
    bindings_.pull();
    (model_.*handler)();
    bindings_.push();
    if (model_.Closed) reject();
}

} // namespace kol
