// Message boxes, file dialogs and the clipboard in Qt, for every window model.
#pragma once

#include "platform/platform.h"

#include <QString>

class QWidget;

namespace kol {

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}
    Answer ask(const std::string& text, Buttons buttons) override;
    void inform(const std::string& text) override;
    void fail(const std::string& text) override;
    std::string openFileName(const FileDialogRequest& request) override;
    std::string saveFileName(const FileDialogRequest& request) override;

    // "(*.csv)|*.csv|(*.txt)|*.txt" → "(*.csv);;(*.txt)"
    static QString qtFilter(const std::string& filter);

private:
    QWidget* parent_;
};

class QtClipboard : public Clipboard {
public:
    bool hasText() override;
    std::string text() override;
    void setText(const std::string& text) override;
};

} // namespace kol
