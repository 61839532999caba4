#include "text/html_escape.h"

namespace kol {

std::string escapeHtml(std::string_view cp932, HtmlQuotes quotes) {
    std::string out;
    out.reserve(cp932.size());
    for (char ch : cp932) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += quotes == HtmlQuotes::Escaped ? "&quot;" : "\"";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

} // namespace kol
