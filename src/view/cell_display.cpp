#include "view/cell_display.h"

#include "text/text_utils.h"

namespace kol {

namespace {

std::string_view trimmedView(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
    return text.substr(b, e - b);
}

// The date form of a 6- or 8-byte text with exactly 6 or 8 digits; empty when it has none.
std::string dateForm(std::string_view text) {
    if (text.size() != 6 && text.size() != 8) return {};
    std::string d = DigitsOnly(text);
    if (d.size() == 6) return d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4, 2);
    if (d.size() == 8) return d.substr(0, 4) + "/" + d.substr(4, 2) + "/" + d.substr(6, 2);
    return {};
}

bool breakBit(const RowFlag& flag, int c) {
    return TestBit(flag.Bits, kBreakBitsHighByte, c);
}

} // namespace

std::string DisplayText(std::string_view text, const DisplaySwitches& view) {
    if (view.trimSpace) text = trimmedView(text);
    if (view.dateEdit) {
        std::string date = dateForm(text);
        if (!date.empty()) return date;
    }
    return std::string(text);
}

std::size_t displayLength(std::string_view text, const DisplaySwitches& view) {
    if (view.trimSpace) text = trimmedView(text);
    if (view.dateEdit && (text.size() == 6 || text.size() == 8)) {
        std::size_t digits = 0;
        for (char ch : text) digits += ch >= '0' && ch <= '9';
        if (digits == 6 || digits == 8) return digits + 2;
    }
    return text.size();
}

CellLook GridDrawCell(const CellScene& scene, int c, int r) {
    const StringGrid& g = scene.grid;
    const DisplaySwitches& view = scene.view;
    const bool rowMarked = r < static_cast<int>(scene.rowFlags.size()) && scene.rowFlags[r].Mark;
    const bool colMarked = c < static_cast<int>(scene.colInfo.size()) && scene.colInfo[c].Marked;
    CellLook look;
    look.text = DisplayText(g.cell(c, r), view);
    look.folded = view.folding;

    if (c < g.fixedCols() || r < g.fixedRows()) {
        look.ownerDrawn = look.fixed = true;
        look.background = rowMarked || colMarked ? colour::Green : colour::Grey;
        look.textColour = colour::White;
        if (c == 1 && r != 0)
            look.centred = false;
        else
            look.centred = !(r > 0 && r < g.fixedRows() && c >= g.fixedCols() && !view.fixedCenter);
        const CellHighlights& h = scene.highlights;
        look.whiteFrame = (h.popupKind == 2 && r == 0 && c == h.popupCol) ||
                          (h.popupKind == 1 && c == 0 && r == h.popupRow);
        return look;
    }

    look.centred = view.dataCenter;
    if (scene.highlights.undo.contains(c, r)) {
        look.ownerDrawn = true;
        look.background = colour::Black;
        look.textColour = colour::White;
        return look;
    }
    const bool selected = scene.at.selection.contains(c, r);
    auto paint = [&](std::uint32_t background, std::uint32_t text) {
        look.ownerDrawn = true;
        look.background = background;
        look.textColour = text;
    };
    if (view.breakColor && c <= kLastBreakColumn && !selected &&
        r < static_cast<int>(scene.rowFlags.size()))
        paint(breakBit(scene.rowFlags[r], c) ? colour::BreakShade : colour::Silver,
              colour::GridText);
    if ((view.karaGyoColor || view.karaGyoBlack) && g.rowEmptyFrom(r, g.fixedCols()))
        paint(view.karaGyoColor ? colour::EmptyLight : colour::EmptyDark, colour::GridText);
    if (!selected && rowMarked && !(scene.markedColumns > 0 && !colMarked))
        paint(colour::Green, colour::White);
    if (scene.highlights.clip.contains(c, r)) paint(colour::Blue, colour::White);
    if (c == scene.at.col && r == scene.at.row) paint(colour::Navy, colour::White);
    if (selected) paint(colour::Navy, colour::White);
    if (scene.highlights.confirm.contains(c, r))
        paint(scene.highlights.confirmColour, colour::White);
    // Folding and centring need the text drawn here even where no colour rule applied.
    if (!look.ownerDrawn && (view.folding || view.dataCenter))
        paint(colour::Silver, colour::GridText);
    return look;
}

std::vector<std::string> foldedLines(std::string_view text, int width, int letterWidth) {
    int n = letterWidth > 0 ? width / letterWidth : 1;
    if (n < 1) n = 1;
    std::string folded = FoldText(text, n, false);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < folded.size(); at += static_cast<std::size_t>(n)) {
        std::string line = folded.substr(at, static_cast<std::size_t>(n));
        lines.push_back(std::move(line));
    }
    // Drawing ends where only blanks remain.
    while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
    return lines;
}

} // namespace kol
