// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/function_list_painter.h"

#include "graphs/fonts.h"
#include "graphs/function_graphs.h"
#include "graphs/function_palette.h"

#include <QColor>
#include <QPainter>
#include <QString>

namespace quillet {

namespace {

const QColor kListBackground(160, 160, 160);
const QColor kShownText(0, 0, 0);
const QColor kHiddenText(96, 96, 96);
const QColor kLight(255, 255, 255);
const QColor kDark(0, 0, 0);

// A one-pixel frame just around square: topLeft on its top and left edges, bottomRight on
// its bottom and right edges (which take the two outer corners).
void frame3d(QPainter& painter, const QRect& square, const QColor& topLeft,
             const QColor& bottomRight) {
    const QRect outer = square.adjusted(-1, -1, 1, 1);
    const int x = outer.x();
    const int y = outer.y();
    const int cx = outer.width() - 1; // the right and bottom edges lie at x + cx, y + cy
    const int cy = outer.height() - 1;
    painter.fillRect(x, y, cx, 1, topLeft);
    painter.fillRect(x, y, 1, cy, topLeft);
    painter.fillRect(x + cx, y, 1, cy + 1, bottomRight);
    painter.fillRect(x, y + cy, cx + 1, 1, bottomRight);
}

} // namespace

QRect swatchRect(int row) {
    using namespace function_list;
    return QRect(kSwatchLeft, kRowPitch * row + kSwatchLeft, kSwatchSize, kSwatchSize);
}

ListClick hitTestFunctionList(const FunctionGraphs& model, QPoint point) {
    using namespace function_list;
    ListClick click;
    const int x = point.x();
    const int y = point.y();
    if (x > kSwatchLeft && x < kSwatchLeft + kSwatchSize) {
        for (int i = 0; i < FunctionGraphs::kSlotCount; ++i) {
            const int top = kRowPitch * i + kSwatchLeft;
            if (y > top && y < top + kSwatchSize && model.slot(i).isReady()) {
                click.toggleSlot = i;
                break;
            }
        }
    }
    if (x > kTextSide)
        click.flipCaptions = true;
    return click;
}

void paintFunctionList(QPainter& painter, const FunctionGraphs& model, QSize clientSize,
                       bool showCaptions, const GraphFonts& fonts) {
    using namespace function_list;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), clientSize), kListBackground);
    painter.setFont(fonts.listRow);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(kListBackground);
    const int ascent = painter.fontMetrics().ascent();

    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i) {
        const FunctionSlot& slot = model.slot(i);
        const QRect square = swatchRect(i);
        if (slot.isShownAndReady()) {
            painter.fillRect(square, FunctionPalette::lightened(i));
            frame3d(painter, square, kLight, kDark);
            painter.setPen(kShownText);
        } else {
            painter.fillRect(square, FunctionPalette::colour(i));
            frame3d(painter, square, kDark, kLight);
            painter.setPen(kHiddenText);
        }
        painter.drawText(QPoint(kTextLeft, kRowPitch * i + kTextTop + ascent),
                         QString::fromStdString(model.rowText(i, showCaptions)));
    }
    painter.restore();
}

} // namespace quillet
