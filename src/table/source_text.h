// The raw text of a source (a file read in one go, or clipboard text) and its line rules:
// lines break at CR LF, CR or LF, a final break adds no empty line, and a NUL byte ends the text.
#pragma once

#include "table/map_guard.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kol {

class SourceText {
public:
    SourceText() = default;
    explicit SourceText(std::string text); // owned text (clipboard, workbook)
    ~SourceText();
    SourceText(SourceText&& other) noexcept;
    SourceText& operator=(SourceText&& other) noexcept;
    SourceText(const SourceText&) = delete;
    SourceText& operator=(const SourceText&) = delete;

    // The text up to (not including) its first NUL byte.
    std::string_view text() const { return text_; }
    // Bytes from the first NUL on, which text() leaves out (a binary file, a damaged one).
    std::size_t bytesFromNul() const { return fromNul_; }
    // Every byte, NULs and what follows them included.
    std::string_view bytes() const { return {text_.data(), text_.size() + fromNul_}; }
    // Whether another program shortened the mapped file while it was read: the text then
    // holds NUL bytes in place of what was cut, and what was made of it is not the file.
    bool changedWhileReading() const { return guard_.cut(); }
    void release();
    // Gives the pages of [begin, end) back to the system once they have been read (mapped files).
    void dropPages(std::size_t begin, std::size_t end) const;

    // NotAFile: a device or socket, which could be read forever (/dev/zero). A named pipe is
    // read up to its end or its first NUL byte, and reads as empty when no program writes to
    // it. TooLarge: more than memory can hold (ENOMEM). Changed: the file was shortened while
    // it was read (kChangedWhileReading). `error` receives the errno.
    enum class ReadStatus { Ok, NotFound, IsDirectory, NotAFile, Unreadable, TooLarge, Changed };
    [[nodiscard]] static ReadStatus readFile(const std::string& path, SourceText& out,
                                             int* error = nullptr);
    // Whether readFile would open `path`, without reading anything: a named pipe keeps its
    // text for the read that follows.
    [[nodiscard]] static ReadStatus checkFile(const std::string& path, int* error = nullptr);

private:
    void setText(std::string_view whole);

    std::string owned_;
    void* map_ = nullptr;
    std::size_t mapSize_ = 0;
    MapGuard guard_; // watches map_
    std::string_view text_;
    std::size_t fromNul_ = 0;
};

// Walks the lines of a text in one pass, also for texts broken by lone CRs only.
class LineCursor {
public:
    explicit LineCursor(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    std::size_t position() const { return pos_; }
    std::string_view next(); // the next line without its break; call while !atEnd()

private:
    std::string_view text_;
    std::size_t pos_;
};

std::size_t countLines(std::string_view text);
// countLines of a source a slice at a time, each slice's mapped pages handed back once counted,
// so that counting a large file does not hold all of it.
std::size_t countSourceLines(const SourceText& source);
// The position just past the first line break that ends at or after `from` (a CR LF pair is one
// break), or the text's end: where a text can be cut into parts of whole lines.
std::size_t lineStartAfter(std::string_view text, std::size_t from);

} // namespace kol
