// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog units: fixed layouts are written in quarters of the window font's average character
// width and eighths of its height (the fonts are chosen in graphs/fonts.h), and converted to
// pixels here.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace quillet {

class DialogUnits {
public:
    // Measures the font: the average width of the letters A-Z and a-z, and the line height.
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    int averageCharWidth() const { return m_baseX; }
    int charHeight() const { return m_baseY; }

private:
    int m_baseX;
    int m_baseY;
};

} // namespace quillet
