// A small XML scanner for worksheet parts, in place of expat where most of the time goes: tags,
// attributes in either quote, the five named entities and character references, CDATA,
// comments and processing instructions; document type declarations are refused. It reports the
// same events as XmlReader (local element names) and checks that tags nest, but it does not
// validate names or UTF-8: the sheet handler needs neither.
#pragma once

#include "workbook/xml_reader.h"

#include <string>
#include <string_view>
#include <vector>

namespace kol::workbook {

class SheetXmlScanner {
public:
    explicit SheetXmlScanner(XmlHandler& handler) : handler_(handler) {}
    [[nodiscard]] bool feed(std::string_view data, bool last = false);
    [[nodiscard]] bool finish() { return feed({}, true); }
    // The same on a piece of a buffer the caller owns, read in place without a copy; the bytes
    // are changed during the handler's calls and restored before this returns.
    [[nodiscard]] bool feedInPlace(char* buffer, std::size_t from, std::size_t to,
                                   bool last = false);
    [[nodiscard]] bool feedInPlace(std::string& buffer, std::size_t from, std::size_t to,
                                   bool last = false) {
        return feedInPlace(buffer.data(), from, to, last);
    }

    // Everything fed so far has been scanned: no markup or text is held for the next piece.
    bool idle() const { return pending_.empty() && !failed_; }
    // The elements open now, outermost first, as written (with any prefix).
    std::vector<std::string> openElements() const;
    // Continues a document another scanner began, with `open` the elements open where it starts.
    void resumeInside(std::vector<std::string> open);
    const std::string& error() const { return error_; }

private:
    enum class Step { Done, NeedMore, Failed };
    bool scan(std::size_t& at);
    bool finished();
    Step markup(std::size_t& at);
    Step tag(std::size_t& at);
    bool text(std::string_view raw, bool cdata);
    bool decode(std::string_view raw, std::string& out, bool attribute);
    bool fail(std::string reason);

    XmlHandler& handler_;
    std::string pending_, decoded_;
    char* buf_ = nullptr; // what is being scanned: pending_ or the caller's buffer
    std::size_t size_ = 0;
    std::size_t held_ = 0; // bytes left unscanned by the last piece
    struct Span {          // an attribute's name and value as offsets into pending_
        std::size_t name, nameEnd, value, valueEnd;
        int stored;                     // index into attrStore_ when decoded, else -1
        char nameEndByte, valueEndByte; // put back after the handler's call
    };
    std::vector<std::string> open_, attrStore_; // open_[0, depth_) are the open elements
    std::size_t depth_ = 0;
    std::vector<Span> spans_;
    std::vector<const char*> attrs_;
    bool rootSeen_ = false, failed_ = false, bomChecked_ = false;
    std::string error_;
};

} // namespace kol::workbook
