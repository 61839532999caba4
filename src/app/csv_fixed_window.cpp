#include "app/csv_fixed_window.h"

#include "ui/qt_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kol {

CsvFixedWindow::CsvFixedWindow(TFm_CsvFixed& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(qs(model.Caption));
    auto* menu = new QMenuBar(this);
    menu->addMenu("File(&F)")->addAction(QString::fromUtf8("終了(&X)"), this, &QDialog::reject);

    Lab_Title = new QLabel(this);
    auto* group = new QGroupBox(QString::fromUtf8("出力範囲"), this);
    Edt_RecNoMin = new QLineEdit(group);
    Edt_RecNoMax = new QLineEdit(group);
    Chk_LastRecNo = new QCheckBox(group);
    Lab_OutRecNo = new QLabel(group);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QString::fromUtf8("開始 Rec.No"), group), 0, 0);
    grid->addWidget(Edt_RecNoMin, 0, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("～"), group), 0, 2);
    grid->addWidget(Edt_RecNoMax, 0, 3);
    grid->addWidget(Chk_LastRecNo, 1, 3);
    grid->addWidget(Lab_OutRecNo, 2, 0, 1, 4);

    Btn_Exec = new QPushButton(QString::fromUtf8("実行"), this);
    auto* close = new QPushButton(QString::fromUtf8("終了"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Exec);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(Lab_Title);
    layout->addWidget(group);
    layout->addLayout(buttons);

    bindings_.label(Lab_Title, model_.Lab_Title);
    bindings_.lineEdit(Edt_RecNoMin, model_.Edt_RecNoMin);
    bindings_.lineEdit(Edt_RecNoMax, model_.Edt_RecNoMax);
    bindings_.checkBox(Chk_LastRecNo, model_.Chk_LastRecNo, model_.Chk_LastRecNoCaption);
    bindings_.label(Lab_OutRecNo, model_.Lab_OutRecNo);
    bindings_.enabled(Btn_Exec, model_.Btn_ExecEnabled);

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(Chk_LastRecNo, &QCheckBox::clicked, this, [this] {
        bindings_.pull();
        model_.Chk_LastRecNoClick();
        bindings_.push();
    });
    connect(Btn_Exec, &QPushButton::clicked, this, [this] {
        bindings_.pull();
        Btn_Exec->setEnabled(false);
        model_.Btn_ExecClick();
        bindings_.push();
    });
}

void CsvFixedWindow::showEvent(QShowEvent* event) {
    model_.FormShow();
    bindings_.push();
    QDialog::showEvent(event);
}

} // namespace kol
