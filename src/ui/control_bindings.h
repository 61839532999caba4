// Binds a window model's control state (plain structs and fields) to Qt widgets: push() mirrors
// the model into the widgets after every handler, pull() takes what the user typed back into
// the model before one. Every Qt window binds its controls through one of these, so none keeps
// its own copy of the state.
#pragma once

#include "platform/controls.h"

#include <QObject>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kol {

class ControlBindings {
public:
    // A menu item: enabled, visible, checked and caption.
    void action(QAction* action, MenuItem& item);
    void button(QPushButton* button, Button& state); // enabled and bold
    // Items, index and enabled; a choice the user makes is written into the state first, then
    // `chosen` runs.
    void combo(QComboBox* box, Combo& state, std::function<void()> chosen);
    // Checked and bold; a click is written into the state first, then `clicked` runs.
    void check(QCheckBox* box, CheckBox& state, std::function<void()> clicked);
    // Plain fields of models that keep them so.
    void label(QLabel* label, const std::string& text);
    void lineEdit(QLineEdit* edit, std::string& text); // both ways
    void checkBox(QCheckBox* box, bool& checked, const std::string& caption);
    void enabled(QWidget* widget, const bool& enabled);
    // Anything else, mirrored by the given function.
    void custom(std::function<void()> push) { bindings_.push_back({std::move(push), {}}); }

    void push() const;
    void pull() const;
    QAction* actionFor(const MenuItem& item) const; // nullptr when not bound

private:
    struct Bound {
        std::function<void()> push, pull;
    };
    std::vector<Bound> bindings_;
    std::vector<std::pair<const MenuItem*, QAction*>> actions_;
};

} // namespace kol
