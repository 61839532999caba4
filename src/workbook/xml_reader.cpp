#include "workbook/xml_reader.h"

#include <cstring>
#include <expat.h>

namespace kol::workbook {

namespace {
XML_Parser P(void* p) {
    return static_cast<XML_Parser>(p);
}
} // namespace

XmlReader::XmlReader(XmlHandler& handler) : handler_(handler), parser_(XML_ParserCreate(nullptr)) {
    XML_SetUserData(P(parser_), this);
    XML_SetElementHandler(P(parser_), &XmlReader::onStart, &XmlReader::onEnd);
    XML_SetCharacterDataHandler(P(parser_), &XmlReader::onText);
    XML_SetStartDoctypeDeclHandler(P(parser_), &XmlReader::onDoctype);
}

XmlReader::~XmlReader() {
    XML_ParserFree(P(parser_));
}

std::string_view XmlReader::localName(const char* name) {
    // Prefixes are not resolved: every part we read uses one namespace for what we look at.
    const char* mark = std::strchr(name, ':');
    return mark ? std::string_view(mark + 1) : std::string_view(name);
}

const char* XmlReader::attribute(const char** attributes, std::string_view name) {
    for (const char** a = attributes; a && *a; a += 2)
        if (localName(a[0]) == name) return a[1];
    return nullptr;
}

void XmlReader::onStart(void* self, const char* name, const char** attributes) {
    static_cast<XmlReader*>(self)->handler_.start(localName(name), attributes);
}

void XmlReader::onEnd(void* self, const char* name) {
    static_cast<XmlReader*>(self)->handler_.end(localName(name));
}

void XmlReader::onText(void* self, const char* data, int length) {
    static_cast<XmlReader*>(self)->handler_.text(
        std::string_view(data, static_cast<std::size_t>(length)));
}

void XmlReader::onDoctype(void* self, const char*, const char*, const char*, int) {
    auto* reader = static_cast<XmlReader*>(self);
    reader->error_ = "document type declaration";
    XML_StopParser(P(reader->parser_), XML_FALSE);
}

bool XmlReader::feed(std::string_view data, bool last) {
    if (!error_.empty()) return false;
    // expat takes int lengths; feed large pieces in parts.
    do {
        const std::size_t n = std::min<std::size_t>(data.size(), 1 << 30);
        if (XML_Parse(P(parser_), data.data(), static_cast<int>(n), last && n == data.size()) !=
            XML_STATUS_OK) {
            if (error_.empty()) error_ = XML_ErrorString(XML_GetErrorCode(P(parser_)));
            return false;
        }
        data.remove_prefix(n);
    } while (!data.empty());
    return true;
}

} // namespace kol::workbook
