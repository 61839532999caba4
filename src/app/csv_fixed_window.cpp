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

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(Chk_LastRecNo, &QCheckBox::clicked, this, [this] {
        pull();
        model_.Chk_LastRecNoClick();
        push();
    });
    connect(Btn_Exec, &QPushButton::clicked, this, [this] {
        pull();
        Btn_Exec->setEnabled(false);
        model_.Btn_ExecClick();
        push();
    });
}

void CsvFixedWindow::showEvent(QShowEvent* event) {
    model_.FormShow();
    push();
    QDialog::showEvent(event);
}

void CsvFixedWindow::pull() {
    model_.Edt_RecNoMin = fromQs(Edt_RecNoMin->text());
    model_.Edt_RecNoMax = fromQs(Edt_RecNoMax->text());
    model_.Chk_LastRecNo = Chk_LastRecNo->isChecked();
}

void CsvFixedWindow::push() {
    Lab_Title->setText(qs(model_.Lab_Title));
    Edt_RecNoMin->setText(qs(model_.Edt_RecNoMin));
    Edt_RecNoMax->setText(qs(model_.Edt_RecNoMax));
    Chk_LastRecNo->setText(qs(model_.Chk_LastRecNoCaption));
    Chk_LastRecNo->setChecked(model_.Chk_LastRecNo);
    Lab_OutRecNo->setText(qs(model_.Lab_OutRecNo));
    Btn_Exec->setEnabled(model_.Btn_ExecEnabled);
}

} // namespace kol
