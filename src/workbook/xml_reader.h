// A streaming XML reader on expat that reports local names only (so "x:t" and "t" are one;
// prefixes are not resolved), refuses document type declarations (no entity expansion), and
// stops on the first error.
#pragma once

#include <string>
#include <string_view>

namespace kol::workbook {

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // attributes: name, value pairs with local names, ending in nullptr.
    virtual void start(std::string_view name, const char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view data) {}
};

class XmlReader {
public:
    explicit XmlReader(XmlHandler& handler);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;
    [[nodiscard]] bool feed(std::string_view data, bool last = false);
    [[nodiscard]] bool finish() { return feed({}, true); }
    const std::string& error() const { return error_; }

    // The value of a local-named attribute, or nullptr.
    static const char* attribute(const char** attributes, std::string_view name);
    static std::string_view localName(const char* name);

private:
    static void onStart(void* self, const char* name, const char** attributes);
    static void onEnd(void* self, const char* name);
    static void onText(void* self, const char* data, int length);
    static void onDoctype(void* self, const char*, const char*, const char*, int);

    XmlHandler& handler_;
    void* parser_;
    std::string error_;
};

} // namespace kol::workbook
