// The worksheet scanner held against expat: the same events for random sheets fed in random
// pieces, and both refuse the same damage.
#include "workbook/sheet_xml_scanner.h"
#include "workbook/xml_reader.h"

#include <gtest/gtest.h>

#include <random>

namespace kol::workbook {
namespace {

struct Recorder : XmlHandler {
    std::string log, pending;
    void flush() {
        if (!pending.empty()) log += "T[" + pending + "]";
        pending.clear();
    }
    void start(std::string_view name, const char** a) override {
        flush();
        log += "<" + std::string(name);
        for (; a && *a; a += 2) log += std::string(" ") + a[0] + "=" + a[1];
        log += ">";
    }
    void end(std::string_view name) override {
        flush();
        log += "</" + std::string(name) + ">";
    }
    void text(std::string_view data) override { pending += data; } // expat splits text freely
};

template <class Reader> std::string events(const std::string& xml, std::mt19937& rng, bool& ok) {
    Recorder rec;
    Reader reader(rec);
    ok = true;
    for (std::size_t at = 0; at < xml.size() && ok;) {
        const std::size_t n = std::min<std::size_t>(xml.size() - at, 1 + rng() % 40);
        ok = reader.feed(std::string_view(xml).substr(at, n));
        at += n;
    }
    ok = ok && reader.finish();
    rec.flush();
    return rec.log;
}

std::string randomText(std::mt19937& rng) {
    static const char* pieces[] = {"a",    "Z",      "1",      " ",     "&amp;",    "&lt;",
                                   "&gt;", "&quot;", "&apos;", "&#65;", "&#x3042;", "\xE6\x9D\xB1",
                                   "\r\n", "\n",     "\r",     "\t",    "'",        "\"",
                                   ">",    "]x"};
    std::string s;
    for (int n = rng() % 8; n > 0; --n) s += pieces[rng() % std::size(pieces)];
    return s;
}

std::string randomSheet(std::mt19937& rng) {
    std::string x = rng() % 4 ? "" : "\xEF\xBB\xBF";
    x += rng() % 2 ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" : "";
    x += "<worksheet xmlns=\"urn:x\" xmlns:r=\"urn:r\"><sheetData>";
    for (int r = rng() % 5; r > 0; --r) {
        x += "<row r=\"" + std::to_string(rng() % 100) + "\"" +
             (rng() % 3 ? "" : "\n spans='1:3'") + ">";
        for (int c = rng() % 5; c > 0; --c) {
            x +=
                "<c r=\"B" + std::to_string(r) + "\" t=\"" + (rng() % 2 ? "s" : "inlineStr") + "\"";
            switch (rng() % 5) {
            case 0:
                x += "/>";
                continue;
            case 1:
                x += "><v>" + randomText(rng) + "</v></c>";
                continue;
            case 2:
                x += "><is><t xml:space=\"preserve\">" + randomText(rng) + "<![CDATA[" +
                     "a<b>&amp;\r\n]" + "]]></t><!-- note --></is></c>";
                continue;
            case 3:
                x += " s='" + randomText(rng).substr(0, 0) + "3'><is><r><t>" + randomText(rng) +
                     "</t></r><rPh><t>x</t></rPh></is></c>";
                continue;
            default:
                x += "><x:v  >" + randomText(rng) + "</x:v ></c>";
            }
        }
        x += "</row>";
    }
    return x + "</sheetData></worksheet>\n";
}

TEST(SheetXmlScanner, SameEventsAsExpatOnRandomSheets) {
    std::mt19937 rng(12);
    for (int i = 0; i < 3000; ++i) {
        const std::string xml = randomSheet(rng);
        bool expatOk = false, scannerOk = false;
        const std::string expected = events<XmlReader>(xml, rng, expatOk);
        const std::string got = events<SheetXmlScanner>(xml, rng, scannerOk);
        ASSERT_TRUE(expatOk) << xml;
        ASSERT_TRUE(scannerOk) << xml;
        ASSERT_EQ(got, expected) << xml;
    }
}

TEST(SheetXmlScanner, AVastTagInSmallPiecesIsScannedOnce) {
    // 16 MB of attribute value in 1 KB pieces: rescanning the held bytes on every piece would
    // take minutes.
    Recorder rec;
    SheetXmlScanner scanner(rec);
    ASSERT_TRUE(scanner.feed("<a><c v=\""));
    const std::string piece(1024, 'x');
    for (int i = 0; i < 16 * 1024; ++i) ASSERT_TRUE(scanner.feed(piece));
    ASSERT_TRUE(scanner.feed("\"/>&amp;"));
    for (int i = 0; i < 16 * 1024; ++i) ASSERT_TRUE(scanner.feed(piece));
    ASSERT_TRUE(scanner.feed("</a>"));
    ASSERT_TRUE(scanner.finish());
    rec.flush();
    EXPECT_EQ(rec.log.size(), 2 * 16 * 1024 * 1024 + 21);
}

TEST(SheetXmlScanner, RefusesWhatExpatRefuses) {
    std::mt19937 rng(7);
    for (const char* bad :
         {"", "<a>", "<a></b>", "<a><b></a></b>", "<a x=1/>", "<a x='1' x='2'/>", "<a>&bogus;</a>",
          "<a>&#0;</a>", "<a>&#xD800;</a>", "<a x='<'/>", "<a/><b/>", "text<a/>", "<a/>text",
          "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>", "<a><![CDATA[x</a>", "<a><!-- x</a>",
          "<a>&amp</a>"}) {
        bool expatOk = true, scannerOk = true;
        (void)events<XmlReader>(bad, rng, expatOk);
        (void)events<SheetXmlScanner>(bad, rng, scannerOk);
        EXPECT_FALSE(expatOk) << bad;
        EXPECT_FALSE(scannerOk) << bad;
    }
}

} // namespace
} // namespace kol::workbook
