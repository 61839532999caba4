// What the window models need from the platform, as small interfaces: the Qt windows supply
// the real ones, the tests scripted ones. Texts are CP932; paths are native bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kol {

enum class Answer { Yes, No, Cancel, Ok };
// OkCancel: a notice the user may still decline (information icon).
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };

struct FileDialogRequest {
    std::string title;      // CP932
    std::string filter;     // "(*.csv)|*.csv|(*.txt)|*.txt|..." pairs of text and patterns
    std::string directory;  // initial folder
    std::string fileName;   // proposed name (may hold a pattern such as "*.csv")
    bool mustExist = false; // open: the file must exist
    bool askOverwrite = false;
};

// Modal questions and notices. Questions and information carry the caption "確認",
// failures the caption "エラー".
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer ask(const std::string& text, Buttons buttons) = 0;       // question icon
    virtual void inform(const std::string& text) = 0;                       // information icon, OK
    virtual void fail(const std::string& text) = 0;                         // error box
    virtual std::string openFileName(const FileDialogRequest& request) = 0; // empty: cancelled
    virtual std::string saveFileName(const FileDialogRequest& request) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool hasText() = 0;
    virtual std::string text() = 0; // CP932
    virtual void setText(const std::string& text) = 0;
    virtual void clear() { setText(std::string()); }
};

// A monotonic clock in milliseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
};

} // namespace kol
