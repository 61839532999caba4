#include "edit/memo_editor.h"

#include <algorithm>
#include <cmath>

namespace kol {

std::string withoutLineBreaks(std::string_view text) {
    // CR and LF never occur inside a CP932 double-byte character, so bytes can go one by one.
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != '\r' && ch != '\n') out += ch;
    return out;
}

namespace {
bool isDataCell(const StringGrid& g, int c, int r) {
    return c >= g.fixedCols() && r >= g.fixedRows() && c < g.colCount() && r < g.rowCount();
}
} // namespace

void MemoEditor::open(int c, int r, std::string_view typed) {
    if (Visible) return;
    StringGrid& g = host_.memoGrid();
    if (!isDataCell(g, c, r)) return;
    view_.scrollToCell(c, r);
    const MemoView::Rect cell = view_.cellRect(c, r);
    if (cell.empty()) return;
    MemoView::Rect place{
        cell.left, cell.top, g.colWidth(c) + 1,
        std::max(g.rowHeight(r), static_cast<int>(std::lround(3.0 * g.rowHeight(0) + 3)))};
    const int bottom = view_.gridHeight();
    if (place.bottom() > bottom) place.top = std::max(0, bottom - place.height);
    Text = std::string(g.cell(c, r));
    Col = c;
    Row = r;
    Place = place;
    Visible = true;
    view_.showMemo(Text, place);
    if (!typed.empty()) view_.typeInMemo(std::string(typed));
}

void MemoEditor::close() {
    if (!Visible) return;
    const std::string text = view_.memoText();
    Visible = false; // first: hiding moves the focus, which reports a second exit
    view_.hideMemo();
    host_.focusGrid();
    commit(text);
}

void MemoEditor::commit(const std::string& memoText) {
    StringGrid& g = host_.memoGrid();
    // The cell the memo was opened on, even if the cursor has moved since; the grid may have
    // lost it meanwhile.
    if (!isDataCell(g, Col, Row)) return;
    const std::string text = withoutLineBreaks(memoText);
    if (text == g.cell(Col, Row)) return;
    host_.commitMemo(Col, Row, text);
}

bool MemoEditor::mouseDown(int x, int y) {
    // Every press is shown to the test, so that the next one can be its second.
    if (!host_.isDoubleClick(x, y) || !Visible) return false;
    close();
    return true;
}

} // namespace kol
