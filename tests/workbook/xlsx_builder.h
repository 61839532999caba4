// Small .xlsx files for tests, written with libzip: a workbook of named sheets whose sheet XML
// (the inside of <sheetData>) and shared strings are given.
#pragma once

#include <string>
#include <utility>
#include <vector>
#include <zip.h>

namespace kol::test {

struct XlsxPart {
    std::string name, bytes;
};

// Writes the parts as a zip archive (deflated). Returns false on failure.
inline bool writeZip(const std::string& path, const std::vector<XlsxPart>& parts,
                     const char* password = nullptr) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) return false;
    for (const XlsxPart& p : parts) {
        zip_source_t* s = zip_source_buffer(z, p.bytes.data(), p.bytes.size(), 0);
        zip_int64_t i = zip_file_add(z, p.name.c_str(), s, ZIP_FL_OVERWRITE);
        if (i < 0) return false;
        if (password)
            zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, password);
    }
    return zip_close(z) == 0;
}

struct SheetSpec {
    std::string name;  // UTF-8
    std::string data;  // the inside of <sheetData>
    std::string extra; // before <sheetData>, e.g. a <dimension>
};

inline std::vector<XlsxPart> xlsxParts(const std::vector<SheetSpec>& sheets,
                                       const std::vector<std::string>& strings = {},
                                       const std::string& numFmts = {},
                                       const std::string& cellXfs = "<xf numFmtId=\"0\"/>",
                                       bool date1904 = false) {
    const std::string ns = "http://schemas.openxmlformats.org/";
    std::vector<XlsxPart> parts;
    parts.push_back({"[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>"});
    parts.push_back(
        {"_rels/.rels", "<?xml version=\"1.0\"?><Relationships xmlns=\"" + ns +
                            "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns +
                            "officeDocument/2006/relationships/officeDocument\" "
                            "Target=\"xl/workbook.xml\"/></Relationships>"});
    std::string book = "<?xml version=\"1.0\"?><workbook xmlns=\"" + ns +
                       "spreadsheetml/2006/main\" xmlns:r=\"" + ns +
                       "officeDocument/2006/relationships\"><workbookPr" +
                       (date1904 ? " date1904=\"1\"" : "") + "/><sheets>";
    std::string rels =
        "<?xml version=\"1.0\"?><Relationships xmlns=\"" + ns + "package/2006/relationships\">";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        book +=
            "<sheet name=\"" + sheets[i].name + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + ns +
                "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet" + n +
                ".xml\"/>";
        parts.push_back({"xl/worksheets/sheet" + n + ".xml",
                         "<?xml version=\"1.0\"?><worksheet xmlns=\"" + ns +
                             "spreadsheetml/2006/main\">" + sheets[i].extra + "<sheetData>" +
                             sheets[i].data + "</sheetData></worksheet>"});
    }
    rels += "<Relationship Id=\"rS\" Type=\"" + ns +
            "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
            "<Relationship Id=\"rT\" Type=\"" +
            ns +
            "officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/></Relationships>";
    book += "</sheets></workbook>";
    std::string sst = "<?xml version=\"1.0\"?><sst xmlns=\"" + ns + "spreadsheetml/2006/main\">";
    for (const std::string& s : strings) sst += "<si><t xml:space=\"preserve\">" + s + "</t></si>";
    sst += "</sst>";
    parts.push_back({"xl/workbook.xml", book});
    parts.push_back({"xl/_rels/workbook.xml.rels", rels});
    parts.push_back({"xl/sharedStrings.xml", sst});
    parts.push_back({"xl/styles.xml", "<?xml version=\"1.0\"?><styleSheet xmlns=\"" + ns +
                                          "spreadsheetml/2006/main\"><numFmts>" + numFmts +
                                          "</numFmts><cellXfs>" + cellXfs +
                                          "</cellXfs></styleSheet>"});
    return parts;
}

} // namespace kol::test
