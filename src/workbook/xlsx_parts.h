// The XML parts of an .xlsx other than the sheets: relationships, the workbook's sheet list,
// shared strings and the cell styles' number formats.
#pragma once

#include "workbook/cell_format.h"
#include "workbook/xml_reader.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kol::workbook {

// Decodes the _xHHHH_ escapes of OOXML text (_x000D_ is a CR).
std::string decodeEscapes(std::string_view text);

// A part's path from a relationship target, relative to the part's folder.
std::string resolveTarget(const std::string& folder, const std::string& target);

struct Relationship {
    std::string id, type, target;
};

class RelationshipsHandler : public XmlHandler {
public:
    std::vector<Relationship> list;
    void start(std::string_view name, const char** a) override;
    void end(std::string_view) override {}
};

struct SheetEntry {
    std::string name; // UTF-8
    std::string relId;
};

class WorkbookHandler : public XmlHandler {
public:
    std::vector<SheetEntry> sheets;
    DateSystem dates = DateSystem::From1900;
    void start(std::string_view name, const char** a) override;
    void end(std::string_view) override {}
};

// Shared strings as CP932: the text runs of each item joined, phonetic runs left out.
class SharedStringsHandler : public XmlHandler {
public:
    std::string strings;               // all strings, one after the other
    std::vector<std::uint64_t> starts; // string i is [starts[i], starts[i + 1])
    void start(std::string_view name, const char** a) override;
    void end(std::string_view name) override;
    void text(std::string_view data) override;
    std::string_view at(std::size_t i) const;

private:
    std::string item_;
    int phonetic_ = 0;
    bool inText_ = false, inItem_ = false;
};

class StylesHandler : public XmlHandler {
public:
    std::map<int, std::string> customFormats; // id → code (UTF-8)
    std::vector<int> cellFormats;             // style index → format id
    void start(std::string_view name, const char** a) override;
    void end(std::string_view name) override;
    // The format code of a style index; empty for General.
    std::string_view formatOf(std::size_t style) const;

private:
    bool inCellXfs_ = false, inNumFmts_ = false;
};

} // namespace kol::workbook
