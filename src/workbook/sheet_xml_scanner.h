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
    const std::string& error() const { return error_; }

private:
    enum class Step { Done, NeedMore, Failed };
    Step markup(std::size_t& at);
    Step tag(std::size_t& at);
    bool text(std::string_view raw, bool cdata);
    bool decode(std::string_view raw, std::string& out, bool attribute);
    bool fail(std::string reason);

    XmlHandler& handler_;
    std::string pending_, decoded_;
    std::size_t held_ = 0; // bytes left unscanned by the last piece
    std::vector<std::string> open_, attrStore_;
    std::vector<const char*> attrs_;
    bool rootSeen_ = false, failed_ = false, bomChecked_ = false;
    std::string error_;
};

} // namespace kol::workbook
