#include "workbook/code_page.h"

#include "text/cp932.h"

#include <unicode/ucnv.h>

#include <memory>

namespace kol::workbook {

namespace {

bool isShiftJis(std::uint16_t page) {
    return page == 932 || page == 10001; // Windows and Mac Japanese
}

// The converter name for a Windows code page number; empty to read Latin-1.
std::string converterName(std::uint16_t page) {
    switch (page) {
    case 367:
        return "US-ASCII";
    case 10000:
    case 32768:
        return "macintosh";
    case 32769:
        return "windows-1252";
    case 874:
    case 936:
    case 949:
    case 950:
        return "windows-" + std::to_string(page);
    default:
        if (page >= 1250 && page <= 1258) return "windows-" + std::to_string(page);
        if (page >= 437 && page <= 869) return "ibm-" + std::to_string(page); // DOS pages
        return {};
    }
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

} // namespace

std::u16string codePageToUtf16(std::string_view bytes, std::uint16_t codePage) {
    if (isShiftJis(codePage)) return cp932::toUtf16(bytes);
    const std::string name = converterName(codePage);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(
        name.empty() ? nullptr : ucnv_open(name.c_str(), &status));
    std::u16string wide;
    if (!converter || U_FAILURE(status) || bytes.size() > 0x3FFFFFFF) {
        wide.reserve(bytes.size());
        for (unsigned char c : bytes) wide += static_cast<char16_t>(c);
        return wide;
    }
    // Bytes the page does not assign come out as U+FFFD, which CP932 then shows as '?'.
    wide.resize(2 * bytes.size() + 2);
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()),
                                    bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) {
        wide.clear();
        for (unsigned char c : bytes) wide += static_cast<char16_t>(c);
        return wide;
    }
    wide.resize(static_cast<std::size_t>(n));
    return wide;
}

std::string codePageToCp932(std::string_view bytes, std::uint16_t codePage) {
    if (isShiftJis(codePage)) return std::string(bytes);
    return cp932::fromUtf16(codePageToUtf16(bytes, codePage));
}

} // namespace kol::workbook
