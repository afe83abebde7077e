// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the graph window: axes, labels, ticks and the curves of the shown functions,
// from the stored samples of the model. Draws the same on the screen and on a QImage.
#pragma once

#include <QSize>

#include <optional>
#include <vector>

class QPainter;

namespace quillet {

class FunctionGraphs;
struct GraphFonts;

// The plot area: the client area less the label margin on the left (60 pixels) and the
// label band at the bottom (50 pixels). Nothing of the plot is drawn when it is empty.
struct PlotArea {
    static constexpr int kLeft = 60; // x of the vertical axis
    static constexpr int kTop = 10;  // y of the upper tick
    static constexpr int kLeftMargin = 60;
    static constexpr int kBottomMargin = 50;

    int width = 0;  // w
    int height = 0; // h

    bool drawable() const { return width > 0 && height > 0; }
};

PlotArea plotArea(QSize clientSize);

// Maps function values to pixel rows: yMax to the upper tick (y 10), yMin to the lower tick
// (y h + 10), truncated toward zero. An empty vertical range (all shown functions constant)
// puts every value on the middle row. Values that are infinite or NaN have no row; rows far
// outside the window are clamped to a band a little beyond it.
class VerticalScale {
public:
    VerticalScale(double yMin, double yMax, int plotHeight, int clientHeight);

    std::optional<int> rowOf(double value) const;
    bool flat() const { return m_flat; }

private:
    double m_yMin;
    double m_range;
    bool m_flat = false;
    bool m_halved = false; // the range overflows a double: scale halves of the values
    int m_plotHeight;
    double m_lowest;  // smallest row before clamping
    double m_highest; // largest row before clamping
};

// The samples that pixel column j (1 to w - 1) of a plot w pixels wide stands for: they start
// at the single-precision running position (j - 1) * s, s = 998 / w, and span every m with
// m < s. first + count never passes the last sample.
struct ColumnSamples {
    int first = 0;
    int count = 1;
};

// The single-precision horizontal step 998 / w.
float columnStep(int plotWidth);
// The samples of columns 1 to w - 1, in order (element j - 1 for column j).
std::vector<ColumnSamples> columnSamples(int plotWidth);

// Paints the graph window's client area of clientSize: fill, axes, labels and ticks, the
// envelope caption, and each shown, ready slot's curve in its palette colour (an ordinary
// polyline with one sample per column, or the envelope of each column's samples).
void paintGraph(QPainter& painter, const FunctionGraphs& model, QSize clientSize, bool envelopeMode,
                const GraphFonts& fonts);

} // namespace quillet
