// What the main window and the range output ask of the shared document viewer. Texts are
// CP932; a sender is the name of the menu item that asked (empty: none).
#pragma once

#include "print/print_settings.h"

#include <functional>
#include <string>

namespace kol {

class DocumentViewer {
public:
    virtual ~DocumentViewer() = default;
    virtual void SetTitleBase(const std::string& base) = 0;
    // Adds a list entry for a menu item: running `command` shows its document again.
    virtual void RegisterDocument(const std::string& sender, const std::string& caption,
                                  std::function<void()> command) = 0;
    virtual void ShowDocumentFile(const std::string& sender, const std::string& extraTitle,
                                  bool numberLines, const std::string& path) = 0;
    virtual void ShowDocumentText(const std::string& sender, const std::string& extraTitle,
                                  const std::string& text) = 0;
    virtual void SetPrintSettings(const print::PrintSettings& settings) = 0;
    virtual print::PrintSettings GetPrintSettings() const = 0;
    // Where the HTML help and the editor's copy of a shown text are written.
    virtual void SetDataFolder(const std::string& folder) = 0;
};

} // namespace kol
