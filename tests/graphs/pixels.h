// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel counts on rendered images, shared by the painter tests and the graph window tests.
#pragma once

#include <QColor>
#include <QImage>

namespace quillet::test {

// The graph window's background.
inline const QColor kGraphFill(232, 232, 248);

// Pixels of colour in the rectangle [x0, x1) x [y0, y1).
inline int countColour(const QImage& image, const QColor& colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += QColor(image.pixel(x, y)) == colour;
    return count;
}

// Pixels that are not the fill colour in the rectangle [x0, x1) x [y0, y1).
inline int countNot(const QImage& image, const QColor& fill, int x0, int y0, int x1, int y1) {
    return (x1 - x0) * (y1 - y0) - countColour(image, fill, x0, y0, x1, y1);
}

} // namespace quillet::test
