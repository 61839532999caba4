// Paints a decided cell look with Qt.
#pragma once

#include "view/cell_display.h"

#include <QColor>

class QPainter;
class QRect;

namespace kol {

QColor qcolour(std::uint32_t bgr);

// letterWidth/letterHeight: the size of "A" in the painter's font; frameShadow: the
// bottom-right colour of a fixed cell's frame.
void drawCellLook(QPainter& p, const QRect& rect, const CellLook& look, int letterWidth,
                  int letterHeight, const QColor& frameShadow);

} // namespace kol
