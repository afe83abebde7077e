// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_units.h"

#include <QFontMetrics>

namespace quillet {

namespace {

// units * base / divisor, rounded half away from zero.
int scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The letters' average width rather than the font's own average, which for fonts with
    // wide ideographs would shrink the layout until the Chinese captions no longer fit.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    m_baseY = metrics.height();
    if (m_baseX < 1)
        m_baseX = 1;
    if (m_baseY < 1)
        m_baseY = 1;
}

int DialogUnits::toPixelsX(int units) const {
    return scale(units, m_baseX, 4);
}

int DialogUnits::toPixelsY(int units) const {
    return scale(units, m_baseY, 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const {
    return {toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height)};
}

QSize DialogUnits::size(int width, int height) const {
    return {toPixelsX(width), toPixelsY(height)};
}

} // namespace quillet
