#include "viewer/browse_text.h"

#include "text/text_utils.h"

#include <cmath>

namespace kol {

std::string browseListText(std::string_view caption) {
    const std::size_t amp = caption.find('&');
    if (amp == std::string_view::npos) return " " + std::string(caption);
    const std::size_t keep = amp >= 1 ? amp - 1 : 0;
    return " " + Trim(caption.substr(0, keep));
}

std::vector<std::string_view> documentLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        lines.push_back(bytes.substr(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

std::string documentPaneText(std::string_view bytes, bool numberLines) {
    const std::vector<std::string_view> lines = documentLines(bytes);
    std::string text;
    text.reserve(bytes.size() + lines.size() * (numberLines ? 8 : 2));
    std::size_t i = 0;
    for (std::string_view line : lines) {
        ++i;
        if (numberLines) text += PadLeftTo('0', std::to_string(i), 5) + " ";
        const std::size_t at = text.size();
        text.append(line);
        for (std::size_t k = at; k < text.size(); ++k)
            if (text[k] == '\0') text[k] = ' ';
        text += "\r\n";
    }
    return text;
}

int wideWidth(int clicks, const WideGeometry& g) {
    switch (clicks % 3) {
    case 1:
        return g.listRight + g.buttonWidth / 2;
    case 2:
        return static_cast<int>(std::lround(0.7 * g.listWidth));
    default:
        return g.startWidth;
    }
}

bool launchParameterGiven(std::string_view parameter) {
    std::string bare;
    for (char c : parameter)
        if (c != '"') bare += c;
    return !Trim(bare).empty();
}

} // namespace kol
