#include "ui/qt_cell_painter.h"

#include "text/text_utils.h"
#include "ui/qt_text.h"

#include <QPainter>
#include <QRect>

namespace kol {

QColor qcolour(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

namespace {

// The first `limit` bytes or a little less, never cutting a double-byte character.
std::string_view head(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t i = 0;
    while (i < limit) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t step = IsLeadByte(b) && i + 1 < text.size() &&
                                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))
                               ? 2
                               : 1;
        if (i + step > limit) break;
        i += step;
    }
    return text.substr(0, i);
}

} // namespace

void drawCellLook(QPainter& p, const QRect& rect, const CellLook& look, int letterWidth,
                  int letterHeight, const QColor& frameShadow) {
    if (!look.ownerDrawn) return;
    p.fillRect(rect, qcolour(look.background));
    p.setPen(look.textColour == colour::GridText ? QColor(Qt::black) : qcolour(look.textColour));
    const int w = std::max(letterWidth, 1);
    const int h = std::max(letterHeight, 1);
    const Qt::Alignment horizontal = look.centred ? Qt::AlignHCenter : Qt::AlignLeft;
    if (look.folded) {
        QRect area = rect.adjusted(2, look.fixed ? 5 : 2, 0, 0);
        // Only the lines that can show are folded and decoded.
        const std::size_t perLine = static_cast<std::size_t>(std::max(area.width() / w, 1));
        const std::size_t maxLines = static_cast<std::size_t>(std::max(area.height() / h, 0) + 1);
        std::vector<std::string> lines =
            foldedLines(head(look.text, perLine * (maxLines + 1)), area.width(), w);
        int top = area.top();
        for (const std::string& line : lines) {
            QRect lineRect(area.left(), top, area.width(), h);
            if (lineRect.bottom() >= area.bottom()) break;
            p.drawText(lineRect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, qs(line));
            top += h;
        }
    } else {
        QRect area = rect.adjusted(2, 2, 0, 0);
        const std::size_t fits = static_cast<std::size_t>(area.width() / std::max(w / 2, 1) + 2);
        p.drawText(area, horizontal | Qt::AlignVCenter | Qt::TextSingleLine,
                   qs(std::string(head(look.text, fits))));
    }
    if (look.fixed) {
        p.setPen(qcolour(colour::Silver));
        p.drawLine(rect.topLeft(), rect.topRight());
        p.drawLine(rect.topLeft(), rect.bottomLeft());
        p.setPen(frameShadow);
        p.drawLine(rect.bottomLeft(), rect.bottomRight());
        p.drawLine(rect.topRight(), rect.bottomRight());
    }
    if (look.whiteFrame) {
        p.setPen(Qt::white);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

} // namespace kol
