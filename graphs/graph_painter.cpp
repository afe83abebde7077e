// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/graph_painter.h"

#include "graphs/fonts.h"
#include "graphs/function_graphs.h"
#include "graphs/function_palette.h"
#include "graphs/graph_texts.h"

#include <QColor>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace quillet {

namespace {

const QColor kGraphBackground(232, 232, 248);
const QColor kLabelBackground(255, 255, 255);

constexpr int kTickLeft = 55;      // ticks of the vertical axis run from here to the axis
constexpr int kAxisOverhang = 5;   // the axes and the horizontal ticks reach 5 pixels past
constexpr int kCaptionRise = 14;   // the envelope caption's top is this far above the bottom
constexpr int kNarrowLabels = 100; // the end labels of the horizontal axis need w above this
constexpr int kWideLabels = 150;   // the middle one needs w above this
// Rows are clamped to this many pixels above and below the client area before they become
// integers: far enough that the visible part of a steep segment does not change noticeably,
// near enough that no value can overflow an int or the rasterizer.
constexpr double kRowBand = 1024.0;

// One-pixel solid pen.
QPen linePen(const QColor& colour) {
    QPen pen(colour);
    pen.setWidth(1);
    return pen;
}

// A straight line of the axes from one point up to, not including, another (both on one row
// or one column): Qt lines include their end pixel, so this one stops a pixel short.
void lineBefore(QPainter& painter, QPoint from, QPoint to) {
    if (from == to)
        return;
    const QPoint back((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    painter.drawLine(from, to - back);
}

// Writes text with its top-left corner at (x, y), on the painter's background when the
// background mode is opaque.
void textAt(QPainter& painter, int x, int y, const std::string& text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromStdString(text));
}

void drawAxesAndLabels(QPainter& painter, const FunctionGraphs& model, QSize client,
                       const PlotArea& area, bool envelopeMode) {
    const int clientWidth = client.width();
    const int w = area.width;
    const int h = area.height;
    const AxisLabels& labels = model.labels();
    const int left = PlotArea::kLeft;
    const int axisY = h + 20;

    // The axes.
    lineBefore(painter, QPoint(left, 0), QPoint(left, axisY + kAxisOverhang));
    lineBefore(painter, QPoint(left, axisY), QPoint(clientWidth, axisY));

    // The vertical labels and their ticks: top, middle and bottom of the plot.
    textAt(painter, 0, 5, labels.yMax);
    lineBefore(painter, QPoint(kTickLeft, PlotArea::kTop), QPoint(left, PlotArea::kTop));
    textAt(painter, 0, h / 2 + 5, labels.yMid);
    lineBefore(painter, QPoint(kTickLeft, h / 2 + PlotArea::kTop),
               QPoint(left, h / 2 + PlotArea::kTop));
    textAt(painter, 0, h + 3, labels.yMin);
    lineBefore(painter, QPoint(kTickLeft, h + PlotArea::kTop), QPoint(left, h + PlotArea::kTop));

    // The horizontal labels, left out where the plot is too narrow for them; the ticks stay.
    const int labelTop = axisY + kAxisOverhang;
    if (w > kNarrowLabels)
        textAt(painter, left, labelTop, labels.xMin);
    if (w > kWideLabels)
        textAt(painter, w / 2 + 35, labelTop, labels.xMid);
    lineBefore(painter, QPoint(w / 2 + left, axisY), QPoint(w / 2 + left, labelTop));
    if (w > kNarrowLabels)
        textAt(painter, w + 10, labelTop, labels.xMax);
    lineBefore(painter, QPoint(clientWidth - 2, axisY), QPoint(clientWidth - 2, labelTop));

    if (envelopeMode)
        textAt(painter, left, client.height() - kCaptionRise,
               std::string(graph_texts::kEnvelopeCaption));
}

// Collects a curve as line segments from vertex to vertex, in runs broken where samples are
// not finite. The segments include both end pixels, like every Qt line; each inner vertex
// is drawn anyway as the start of the next segment, so only a curve's very last pixel is
// drawn where a line to it would leave it out. A run of one vertex (a lone defined value)
// is drawn as a point.
class CurveBuilder {
public:
    void reset() {
        m_lines.clear();
        m_points.clear();
        m_open = false;
        m_runLength = 0;
    }
    void add(int x, int y) {
        const QPoint point(x, y);
        if (m_open)
            m_lines.emplace_back(m_last, point);
        m_last = point;
        m_open = true;
        ++m_runLength;
    }
    void gap() {
        if (m_open && m_runLength == 1)
            m_points.push_back(m_last);
        m_open = false;
        m_runLength = 0;
    }
    void draw(QPainter& painter) {
        gap();
        if (!m_lines.empty())
            painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
        if (!m_points.empty())
            painter.drawPoints(m_points.data(), static_cast<int>(m_points.size()));
    }

private:
    std::vector<QLine> m_lines;
    std::vector<QPoint> m_points;
    QPoint m_last;
    bool m_open = false;
    int m_runLength = 0;
};

void drawCurve(QPainter& painter, const FunctionSlot& slot, const VerticalScale& scale,
               const std::vector<ColumnSamples>& columns, bool envelopeMode, CurveBuilder& curve) {
    const FunctionSlot::Samples& samples = slot.samples();
    curve.reset();
    if (const std::optional<int> row = scale.rowOf(samples[0]))
        curve.add(PlotArea::kLeft, *row);
    int x = PlotArea::kLeft;
    for (const ColumnSamples& column : columns) {
        ++x;
        if (!envelopeMode) {
            if (const std::optional<int> row =
                    scale.rowOf(samples[static_cast<std::size_t>(column.first)]))
                curve.add(x, *row);
            else
                curve.gap();
            continue;
        }
        // The envelope of the column's finite samples: a stroke from the lowest to the
        // highest.
        double lowest = 0.0;
        double highest = 0.0;
        bool any = false;
        const auto begin = samples.begin() + column.first;
        for (auto it = begin; it != begin + column.count; ++it) {
            const double value = *it;
            if (!std::isfinite(value))
                continue;
            if (!any || value < lowest)
                lowest = value;
            if (!any || value > highest)
                highest = value;
            any = true;
        }
        if (!any) {
            curve.gap();
            continue;
        }
        curve.add(x, *scale.rowOf(lowest));
        curve.add(x, *scale.rowOf(highest));
    }
    curve.draw(painter);
}

} // namespace

PlotArea plotArea(QSize clientSize) {
    return PlotArea{clientSize.width() - PlotArea::kLeftMargin,
                    clientSize.height() - PlotArea::kBottomMargin};
}

VerticalScale::VerticalScale(double yMin, double yMax, int plotHeight, int clientHeight)
    : m_yMin(yMin), m_range(yMax - yMin), m_plotHeight(plotHeight), m_lowest(-kRowBand),
      m_highest(double(clientHeight) + kRowBand) {
    if (!std::isfinite(yMin) || !std::isfinite(yMax) || !(yMax > yMin)) {
        // All shown functions constant (or no usable range): nothing to scale.
        m_flat = true;
    } else if (std::isinf(m_range)) {
        // The extremes are finite but so far apart that their difference overflows: measure
        // with halves of the values.
        m_halved = true;
        m_range = yMax / 2.0 - yMin / 2.0;
    }
}

std::optional<int> VerticalScale::rowOf(double value) const {
    if (!std::isfinite(value))
        return std::nullopt;
    if (m_flat)
        return m_plotHeight / 2 + PlotArea::kTop;
    // The fraction of the range first: it is exactly 1 for yMax and 0 for yMin, so the
    // extremes land on the ticks whatever the rounding of h / (yMax - yMin) would be.
    const double offset = m_halved ? (value / 2.0 - m_yMin / 2.0) : (value - m_yMin);
    const double fraction = offset / m_range;
    const double row =
        double(m_plotHeight) - fraction * double(m_plotHeight) + double(PlotArea::kTop);
    if (std::isnan(row))
        return std::nullopt;
    return static_cast<int>(std::clamp(row, m_lowest, m_highest));
}

float columnStep(int plotWidth) {
    return static_cast<float>(double(FunctionSlot::kSampleCount) / double(plotWidth));
}

std::vector<ColumnSamples> columnSamples(int plotWidth) {
    std::vector<ColumnSamples> columns;
    if (plotWidth <= 1)
        return columns;
    const float step = columnStep(plotWidth);
    // The number of m = 0, 1, 2, ... with m < s.
    int span = 0;
    while (static_cast<float>(span) < step)
        ++span;
    constexpr int kLast = FunctionSlot::kSampleCount - 1;
    columns.reserve(static_cast<std::size_t>(plotWidth - 1));
    float position = 0.0f;
    for (int j = 1; j < plotWidth; ++j) {
        // Accumulated rounding of the running position may carry it past the last sample.
        const int first = std::min(static_cast<int>(position), kLast);
        columns.push_back({first, std::min(span, FunctionSlot::kSampleCount - first)});
        position += step;
    }
    return columns;
}

void paintGraph(QPainter& painter, const FunctionGraphs& model, QSize clientSize, bool envelopeMode,
                const GraphFonts& fonts) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), clientSize), kGraphBackground);

    const PlotArea area = plotArea(clientSize);
    if (!area.drawable()) {
        painter.restore();
        return;
    }

    painter.setFont(fonts.label);
    painter.setPen(linePen(Qt::black));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(kLabelBackground);
    drawAxesAndLabels(painter, model, clientSize, area, envelopeMode);

    const VerticalScale scale(model.yMin(), model.yMax(), area.height, clientSize.height());
    const std::vector<ColumnSamples> columns = columnSamples(area.width);
    CurveBuilder curve;
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i) {
        const FunctionSlot& slot = model.slot(i);
        // A slot without a finite sample has nothing to draw.
        if (!slot.isShownAndReady() || std::isnan(slot.maxValue()))
            continue;
        painter.setPen(linePen(FunctionPalette::colour(i)));
        drawCurve(painter, slot, scale, columns, envelopeMode, curve);
    }
    painter.restore();
}

} // namespace quillet
