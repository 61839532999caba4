#include "ui/control_bindings.h"

#include "ui/qt_text.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <memory>

namespace kol {

namespace {
void setBold(QWidget* widget, bool bold) {
    QFont f = widget->font();
    if (f.bold() == bold) return;
    f.setBold(bold);
    widget->setFont(f);
}
} // namespace

void ControlBindings::action(QAction* action, MenuItem& item) {
    actions_.emplace_back(&item, action);
    // Captions are converted only when they change: a menu holds many items.
    auto shown = std::make_shared<std::string>(item.Caption);
    bindings_.push_back({[&item, action, shown] {
                             action->setEnabled(item.Enabled);
                             action->setVisible(item.Visible);
                             action->setChecked(item.Checked);
                             if (*shown != item.Caption) {
                                 action->setText(qs(item.Caption));
                                 *shown = item.Caption;
                             }
                         },
                         {}});
}

void ControlBindings::button(QPushButton* button, Button& state) {
    bindings_.push_back({[button, &state] {
                             button->setEnabled(state.Enabled);
                             setBold(button, state.Bold);
                         },
                         {}});
}

void ControlBindings::combo(QComboBox* box, Combo& state, std::function<void()> chosen) {
    QObject::connect(box, QOverload<int>::of(&QComboBox::activated), box,
                     [&state, chosen](int index) {
                         state.ItemIndex = index;
                         if (chosen) chosen();
                     });
    auto shown = std::make_shared<std::vector<std::string>>();
    bindings_.push_back({[box, &state, shown] {
                             if (*shown != state.Items) {
                                 QSignalBlocker block(box);
                                 box->clear();
                                 for (const std::string& item : state.Items) box->addItem(qs(item));
                                 *shown = state.Items;
                             }
                             if (box->currentIndex() != state.ItemIndex) {
                                 QSignalBlocker block(box);
                                 box->setCurrentIndex(state.ItemIndex);
                             }
                             box->setEnabled(state.Enabled);
                         },
                         [box, &state] { state.ItemIndex = box->currentIndex(); }});
}

void ControlBindings::check(QCheckBox* box, CheckBox& state, std::function<void()> clicked) {
    QObject::connect(box, &QCheckBox::clicked, box, [&state, clicked](bool checked) {
        state.Checked = checked;
        if (clicked) clicked();
    });
    bindings_.push_back({[box, &state] {
                             box->setChecked(state.Checked);
                             setBold(box, state.Bold);
                         },
                         {}});
}

void ControlBindings::label(QLabel* label, const std::string& text) {
    bindings_.push_back({[label, &text] { label->setText(qs(text)); }, {}});
}

void ControlBindings::lineEdit(QLineEdit* edit, std::string& text) {
    bindings_.push_back({[edit, &text] {
                             if (fromQs(edit->text()) != text) edit->setText(qs(text));
                         },
                         [edit, &text] { text = fromQs(edit->text()); }});
}

void ControlBindings::checkBox(QCheckBox* box, bool& checked, const std::string& caption) {
    bindings_.push_back({[box, &checked, &caption] {
                             box->setText(qs(caption));
                             box->setChecked(checked);
                         },
                         [box, &checked] { checked = box->isChecked(); }});
}

void ControlBindings::enabled(QWidget* widget, const bool& enabled) {
    bindings_.push_back({[widget, &enabled] { widget->setEnabled(enabled); }, {}});
}

void ControlBindings::push() const {
    for (const Bound& b : bindings_) b.push();
}

void ControlBindings::pull() const {
    for (const Bound& b : bindings_)
        if (b.pull) b.pull();
}

QAction* ControlBindings::actionFor(const MenuItem& item) const {
    for (const auto& [state, action] : actions_)
        if (state == &item) return action;
    return nullptr;
}

} // namespace kol
