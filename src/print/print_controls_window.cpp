// The print preview window's header and menus: the controls built and bound to the model.
#include "print/print_window.h"

#include "ui/qt_cell_painter.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kol::print {

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

QPushButton* PrintWindow::button(Button& state, Handler handler) {
    auto* b = new QPushButton(qs(state.Caption));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    // As wide as its caption in bold: the style's standard width would crowd the header.
    QFont bold = b->font();
    bold.setBold(true);
    b->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(b->text()) + 12);
    connect(b, &QPushButton::clicked, this, [this, handler] {
        run([this, handler] {
            if (handler) (model_.get()->*handler)();
        });
    });
    bindings_.button(b, state);
    buttons_.emplace_back(&state, b);
    return b;
}

QPushButton* PrintWindow::buttonFor(const Button& state) const {
    for (const auto& [bound, widget] : buttons_)
        if (bound == &state) return widget;
    return nullptr;
}

QGroupBox* PrintWindow::group(Panel& state) {
    auto* box = new QGroupBox(qs(state.Caption));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(5, 1, 5, 3);
    row->setSpacing(3);
    auto shown = std::make_shared<std::string>(state.Caption);
    bindings_.custom([box, &state, shown] {
        if (*shown != state.Caption) {
            box->setTitle(qs(state.Caption));
            *shown = state.Caption;
        }
        box->setEnabled(state.Enabled);
        box->setVisible(state.Visible);
    });
    return box;
}

void PrintWindow::bindLabel(QLabel* label, const Label& state) {
    bindings_.custom([label, &state] {
        label->setText(qs(state.Caption));
        label->setEnabled(state.Enabled);
        label->setVisible(state.Visible);
    });
}

QLineEdit* PrintWindow::pageField(std::string& text) {
    auto* edit = new QLineEdit;
    edit->setMaxLength(7);
    edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance("00000000") + 8);
    edit->installEventFilter(this);
    bindings_.lineEdit(edit, text);
    return edit;
}

QWidget* PrintWindow::buildHeader() {
    TfrmGridPrint_01& m = *model_;
    auto* header = new QWidget;
    setWindowColour(header, QApplication::palette().color(QPalette::Button));
    // Two rows: the settings of the page, then paging and the printer with room to spare.
    auto* rows = new QVBoxLayout(header);
    rows->setContentsMargins(4, 0, 4, 3);
    rows->setSpacing(0);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }
    auto add = [](QGroupBox* box, std::initializer_list<QWidget*> children) {
        for (QWidget* child : children) box->layout()->addWidget(child);
        return box;
    };
    auto narrow = [](QPushButton* b) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 14);
        return b;
    };
    auto label = [](const char* utf8) { return new QLabel(u(utf8)); };

    // Cell scale and creation.
    auto* cellScale = new QLabel;
    cellScale->setAlignment(Qt::AlignCenter);
    cellScale->setMinimumWidth(cellScale->fontMetrics().horizontalAdvance("1000 %") + 4);
    bindLabel(cellScale, m.Lbl_CellScale);
    auto* cellWay = new QComboBox;
    bindings_.combo(cellWay, m.Cmb_CellWay,
                    [this] { run([this] { model_->Cmb_CellWayChange(); }); });
    auto* create = new QStackedWidget;
    QPushButton* dataCreate = button(m.Btn_DataCreate, &TfrmGridPrint_01::Btn_DataCreateClick);
    QPushButton* createStop = button(m.Btn_CreateStop, &TfrmGridPrint_01::Btn_CreateStopClick);
    createStop->setFont(programFont(13, true));
    create->addWidget(dataCreate);
    create->addWidget(createStop);
    create->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* createSts = new QLabel;
    createSts->setAlignment(Qt::AlignCenter);
    createSts->setFrameShape(QFrame::Panel);
    createSts->setFrameShadow(QFrame::Sunken);
    createSts->setAutoFillBackground(true);
    createSts->setMinimumWidth(createSts->fontMetrics().horizontalAdvance(u("作成要→")) + 12);
    bindings_.custom([this, create, dataCreate, createStop, createSts] {
        const TfrmGridPrint_01& m = *model_;
        create->setCurrentWidget(m.Btn_CreateStop.Visible ? createStop : dataCreate);
        createSts->setText(qs(m.Lbl_CreateSts.Caption));
        createSts->setVisible(m.Lbl_CreateSts.Visible);
        QPalette pal = createSts->palette();
        pal.setColor(QPalette::Window, m.Lbl_CreateSts.Color
                                           ? qcolour(m.Lbl_CreateSts.Color)
                                           : QApplication::palette().color(QPalette::Button));
        pal.setColor(QPalette::WindowText, qcolour(m.Lbl_CreateSts.FontColor));
        createSts->setPalette(pal);
    });
    first->addWidget(add(group(m.grpCellRate),
                         {narrow(button(m.btnFontDw, &TfrmGridPrint_01::btnFontDwClick)), cellScale,
                          narrow(button(m.btnFontUp, &TfrmGridPrint_01::btnFontUpClick)), cellWay,
                          create, createSts}));

    // Margins.
    auto* mgnUp = new QComboBox;
    auto* mgnLeft = new QComboBox;
    setDropDownRows(mgnUp, 21);
    setDropDownRows(mgnLeft, 21);
    bindings_.combo(mgnUp, m.Cmb_MgnUp, [this] { run([this] { model_->Cmb_MgnUpChange(); }); });
    bindings_.combo(mgnLeft, m.Cmb_MgnLeft,
                    [this] { run([this] { model_->Cmb_MgnLeftChange(); }); });
    first->addWidget(add(group(m.grpMargin), {label("上"), mgnUp, label("左"), mgnLeft}));

    // Display scale.
    auto* scale = new QComboBox;
    auto* resetScl = new QComboBox;
    setDropDownRows(scale, 24);
    setDropDownRows(resetScl, 24);
    bindings_.combo(scale, m.Cmb_Scale, [this] { run([this] { model_->Cmb_ScaleChange(); }); });
    bindings_.combo(resetScl, m.Cmb_ResetScl,
                    [this] { run([this] { model_->Cmb_ResetSclChange(); }); });
    first->addWidget(
        add(group(m.grpScale),
            {scale, resetScl, button(m.Btn_DispMode, &TfrmGridPrint_01::Btn_DispModeClick)}));

    // Lines and grey.
    auto* lineKind = new QComboBox;
    auto* gray = new QComboBox;
    setDropDownRows(gray, 24);
    bindings_.combo(lineKind, m.Cmb_LineKind,
                    [this] { run([this] { model_->Cmb_LineKindChange(); }); });
    bindings_.combo(gray, m.Cmb_Gray, [this] { run([this] { model_->Cmb_GrayChange(); }); });
    first->addWidget(
        add(group(m.grpGray), {label("罫線"), lineKind,
                               narrow(button(m.btnGrayDw, &TfrmGridPrint_01::btnGrayDwClick)), gray,
                               narrow(button(m.btnGrayUp, &TfrmGridPrint_01::btnGrayUpClick))}));

    // Pages.
    edtPageMin_ = pageField(m.edtPageMin);
    edtPageMax_ = pageField(m.edtPageMax);
    scrPage_ = new QScrollBar(Qt::Horizontal);
    scrPage_->setMinimumWidth(240);
    connect(scrPage_, &QScrollBar::valueChanged, this, [this](int value) {
        model_->scrPage.Position = value;
        run([this] { model_->scrPageChange(); });
    });
    bindings_.custom([this] {
        const ScrollBar& s = model_->scrPage;
        QSignalBlocker block(scrPage_);
        scrPage_->setRange(s.Min, std::max(s.Min, s.Max));
        scrPage_->setValue(s.Position);
        scrPage_->setSingleStep(s.SmallChange);
        scrPage_->setPageStep(s.LargeChange);
        scrPage_->setEnabled(s.Enabled);
        scrPage_->setVisible(s.Visible);
    });
    QGroupBox* page = add(
        group(m.grpPage),
        {edtPageMin_, edtPageMax_, narrow(button(m.btnPageDw, &TfrmGridPrint_01::btnPageDwClick)),
         narrow(button(m.btnPageUp, &TfrmGridPrint_01::btnPageUpClick)), scrPage_});
    first->addStretch(1);
    second->addWidget(page);

    // Printer.
    auto* prtInf = new QLabel;
    prtInf->setMinimumWidth(80);
    prtInf->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bindLabel(prtInf, m.lblPrtInf);
    auto* print = new QStackedWidget;
    QPushButton* printExec = button(m.Btn_PrintExec, &TfrmGridPrint_01::Btn_PrintExecClick);
    QPushButton* printStop = button(m.Btn_PrintStop, &TfrmGridPrint_01::Btn_PrintStopClick);
    printStop->setFont(programFont(13, true));
    print->addWidget(printExec);
    print->addWidget(printStop);
    print->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    bindings_.custom([this, print, printExec, printStop] {
        print->setCurrentWidget(model_->Btn_PrintStop.Visible ? printStop : printExec);
    });
    QGroupBox* printer =
        add(group(m.grpPrinter),
            {prtInf, button(m.Btn_PrtSet, &TfrmGridPrint_01::Btn_PrtSetClick), print});
    static_cast<QHBoxLayout*>(printer->layout())->setStretch(0, 1);
    second->addWidget(printer, 1);

    bindings_.custom([this, header] {
        header->setEnabled(model_->pnlHed.Enabled);
        header->setVisible(model_->pnlHed.Visible && !model_->NoPrinter);
    });
    return header;
}

void PrintWindow::buildMenus() {
    TfrmGridPrint_01& m = *model_;
    QMenuBar* bar = menuBar();
    useProgramMenuBarLook(bar);
    auto item = [this](QMenu* menu, MenuItem& state, Handler handler, bool checkable) {
        QAction* a = menu->addAction(qs(state.Caption));
        a->setCheckable(checkable);
        // A check is the model's: the handler toggles it, the push shows it.
        connect(a, &QAction::triggered, this, [this, handler] {
            run([this, handler] {
                if (handler) (model_.get()->*handler)();
            });
        });
        bindings_.action(a, state);
        return a;
    };

    QMenu* file = bar->addMenu("File(&F)");
    item(file, m.mnExit1, &TfrmGridPrint_01::mnExit1Click, false);

    QMenu* save = bar->addMenu("Save(&S)");
    bindings_.action(save->menuAction(), m.Mn_Save);
    item(save, m.Mn_SaveCsv, &TfrmGridPrint_01::Mn_SaveCsvClick, false);
    QMenu* html = save->addMenu(qs(m.Mn_SaveHtmlMain.Caption));
    bindings_.action(html->menuAction(), m.Mn_SaveHtmlMain);
    item(html, m.Mn_ExecHtml, &TfrmGridPrint_01::Mn_ExecHtmlClick, false);
    item(html, m.Mn_SaveHtml, &TfrmGridPrint_01::Mn_SaveHtmlClick, false);

    QMenu* view = bar->addMenu("View(&V)");
    bindings_.action(view->menuAction(), m.Mn_View);
    item(view, m.Mn_FixedCenter, &TfrmGridPrint_01::Mn_FixedCenterClick, true);
    item(view, m.Mn_DataCenter, &TfrmGridPrint_01::Mn_DataCenterClick, true);
    item(view, m.Mn_TrimSpace, &TfrmGridPrint_01::Mn_TrimSpaceClick, true);
    item(view, m.Mn_DateEdit, &TfrmGridPrint_01::Mn_DateEditClick, true);
    item(view, m.Mn_BreakColor, &TfrmGridPrint_01::Mn_BreakColorClick, true);
    item(view, m.Mn_KaraGyoColor, &TfrmGridPrint_01::Mn_KaraGyoColorClick, true);
    item(view, m.Mn_KaraGyoBlack, &TfrmGridPrint_01::Mn_KaraGyoBlackClick, true);

    QMenu* view2 = bar->addMenu("View2(&W)");
    bindings_.action(view2->menuAction(), m.Mn_View2);
    item(view2, m.Mn_PrintRowNo, &TfrmGridPrint_01::Mn_PrintRowNoClick, true);
    item(view2, m.Mn_PrintColNo, &TfrmGridPrint_01::Mn_PrintColNoClick, true);
    item(view2, m.Mn_PrintPathName, &TfrmGridPrint_01::Mn_PrintPathNameClick, true);
    item(view2, m.Mn_PrintFileName, &TfrmGridPrint_01::Mn_PrintFileNameClick, true);
    item(view2, m.Mn_PrintDate, &TfrmGridPrint_01::Mn_PrintDateClick, true);
    item(view2, m.Mn_PrintPage, &TfrmGridPrint_01::Mn_PrintPageClick, true);

    QAction* count = bar->addAction(qs(m.Mn_RecCount.Caption));
    bindings_.action(count, m.Mn_RecCount);

    // Without a printer only File stays; the bound states above are pushed first.
    bindings_.custom([this, save, view, view2, count] {
        if (!model_->NoPrinter) return;
        for (QAction* a : {save->menuAction(), view->menuAction(), view2->menuAction(), count})
            a->setVisible(false);
    });
}

} // namespace kol::print
