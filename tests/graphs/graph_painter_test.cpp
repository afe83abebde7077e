// Drawing of the graph and function list windows, checked pixel by pixel on QImage renders,
// and the geometry behind it: plot area, rows of values, samples of columns, list clicks.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "graphs/function_list_painter.h"
#include "graphs/function_palette.h"
#include "graphs/graph_fonts.h"
#include "graphs/graph_painter.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace quillet {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const QColor kGraphFill(232, 232, 248);
const QColor kListFill(160, 160, 160);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

QColor pixelAt(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Pixels of colour in the rectangle [x0, x1) x [y0, y1).
int countColour(const QImage& image, const QColor& colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (pixelAt(image, x, y) == colour)
                ++count;
    return count;
}

// Pixels that are not the fill colour in the rectangle [x0, x1) x [y0, y1).
int countNot(const QImage& image, const QColor& fill, int x0, int y0, int x1, int y1) {
    return (x1 - x0) * (y1 - y0) - countColour(image, fill, x0, y0, x1, y1);
}

// The rows of column x that have colour, top to bottom.
std::set<int> rowsOf(const QImage& image, const QColor& colour, int x) {
    std::set<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (pixelAt(image, x, y) == colour)
            rows.insert(y);
    return rows;
}

class Painter : public ::testing::Test {
protected:
    // Defines slot from the text after the command word, shown; fails the test on an error.
    void define(const std::string& text, int slot) {
        try {
            ASSERT_TRUE(graphs.defineFunction(text, slot, true)) << text;
        } catch (const CalcError& error) {
            FAIL() << text << ": " << error.message();
        }
        graphs.refreshTitle();
    }
    // Defines slot and expects the definition to fail.
    void defineFailing(const std::string& text, int slot) {
        EXPECT_THROW(graphs.defineFunction(text, slot, true), CalcError) << text;
    }

    QImage renderGraph(QSize size, bool envelope = false) const {
        QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::magenta); // anything the painter leaves shows up
        QPainter painter(&image);
        paintGraph(painter, graphs, size, envelope, fonts);
        return image;
    }
    QImage renderList(QSize size = QSize(300, 260), bool captions = true) const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        paintFunctionList(painter, graphs, size, captions, fonts);
        return image;
    }

    ExpressionEngine engine;
    FunctionGraphs graphs{engine};
    GraphFonts fonts = GraphFonts::standard();
};

// ---------------------------------------------------------------------------------------
// Geometry

TEST(PlotGeometry, PlotAreaLeavesLabelMargins) {
    const PlotArea area = plotArea(QSize(400, 300));
    EXPECT_EQ(area.width, 340);
    EXPECT_EQ(area.height, 250);
    EXPECT_TRUE(area.drawable());
    EXPECT_FALSE(plotArea(QSize(60, 300)).drawable());
    EXPECT_FALSE(plotArea(QSize(400, 50)).drawable());
    EXPECT_TRUE(plotArea(QSize(61, 51)).drawable());
}

TEST(PlotGeometry, ScaleMapsExtremesToTheTicksAndTruncates) {
    struct Case {
        double yMin;
        double yMax;
        double value;
        int row;
    };
    const Case cases[] = {
        {0.0, 1.0, 1.0, 10},          {0.0, 1.0, 0.0, 260},           {0.0, 1.0, 0.5, 135},
        {-1.0, 1.0, 0.0, 135},        {0.0, 1.0, 0.999, 10},          {0.0, 1.0, 0.001, 259},
        {0.1, 0.7, 0.7, 10},          {0.1, 0.7, 0.1, 260},           {-3e-7, 5e-7, 5e-7, 10},
        {-3e-7, 5e-7, -3e-7, 260},    {1e10, 1e10 + 3, 1e10 + 3, 10}, {-1e308, 1e308, 1e308, 10},
        {-1e308, 1e308, -1e308, 260}, {-1e308, 1e308, 0.0, 135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yMin << " to " << c.yMax << ": " << c.value);
        const VerticalScale scale(c.yMin, c.yMax, 250, 300);
        EXPECT_FALSE(scale.flat());
        EXPECT_EQ(scale.rowOf(c.value), c.row);
    }
}

TEST(PlotGeometry, ScaleOfAnEmptyRangeIsFlatThroughTheMiddle) {
    for (const double y : {0.0, 5.0, -1e300}) {
        const VerticalScale scale(y, y, 250, 300);
        EXPECT_TRUE(scale.flat());
        EXPECT_EQ(scale.rowOf(y), 135);
    }
    EXPECT_TRUE(VerticalScale(kNaN, 1.0, 250, 300).flat());
    EXPECT_TRUE(VerticalScale(0.0, kInf, 250, 300).flat());
    EXPECT_TRUE(VerticalScale(2.0, 1.0, 250, 300).flat());
}

TEST(PlotGeometry, ScaleGivesNoRowForInfiniteOrNaNValues) {
    const VerticalScale scale(0.0, 1.0, 250, 300);
    EXPECT_EQ(scale.rowOf(kInf), std::nullopt);
    EXPECT_EQ(scale.rowOf(-kInf), std::nullopt);
    EXPECT_EQ(scale.rowOf(kNaN), std::nullopt);
    EXPECT_EQ(VerticalScale(1.0, 1.0, 250, 300).rowOf(kNaN), std::nullopt);
}

TEST(PlotGeometry, ScaleClampsRowsFarOutsideTheWindow) {
    const VerticalScale scale(0.0, 1.0, 250, 300);
    const int above = *scale.rowOf(1e300);
    const int below = *scale.rowOf(-1e300);
    EXPECT_LT(above, 0);
    EXPECT_GE(above, -2000);
    EXPECT_GT(below, 300);
    EXPECT_LE(below, 2300);
    EXPECT_EQ(scale.rowOf(std::numeric_limits<double>::max()), above);
}

TEST(PlotGeometry, ColumnStepIsSinglePrecision) {
    EXPECT_EQ(columnStep(340), static_cast<float>(998.0 / 340.0));
    EXPECT_EQ(columnStep(499), 2.0f);
}

TEST(PlotGeometry, ColumnsFollowTheRunningSinglePrecisionPosition) {
    for (const int w : {2, 7, 100, 340, 499, 997, 998, 999, 1860, 5000, 100000}) {
        SCOPED_TRACE(w);
        const std::vector<ColumnSamples> columns = columnSamples(w);
        ASSERT_EQ(columns.size(), static_cast<std::size_t>(w - 1));
        const float step = columnStep(w);
        float position = 0.0f;
        int previous = 0;
        for (const ColumnSamples& column : columns) {
            EXPECT_EQ(column.first, std::min(static_cast<int>(position), 997));
            EXPECT_GE(column.first, previous);
            EXPECT_GE(column.count, 1);
            EXPECT_LE(column.first + column.count, 998);
            previous = column.first;
            position += step;
        }
        EXPECT_EQ(columns.front().first, 0);
    }
}

TEST(PlotGeometry, ColumnSpansCountEveryOffsetBelowTheStep) {
    struct Case {
        int width;
        int span; // the number of m = 0, 1, ... with m < 998 / w
    };
    const Case cases[] = {{340, 3}, {499, 2}, {500, 2}, {998, 1}, {1860, 1}, {2, 499}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const std::vector<ColumnSamples> columns = columnSamples(c.width);
        EXPECT_EQ(columns.front().count, c.span);
    }
}

TEST(PlotGeometry, NoColumnsForAPlotOnePixelWide) {
    EXPECT_TRUE(columnSamples(1).empty());
    EXPECT_TRUE(columnSamples(0).empty());
    EXPECT_TRUE(columnSamples(-5).empty());
}

// ---------------------------------------------------------------------------------------
// Graph window drawing

TEST_F(Painter, AxesAndTicksOfA400By300Area) {
    define(" -1,1,x*x", 0);
    graphs.toggleShown(0); // the labels stay, the curve goes
    const QImage image = renderGraph(QSize(400, 300));
    // Fill.
    EXPECT_EQ(pixelAt(image, 300, 200), kGraphFill);
    // The horizontal axis at y h + 20 = 270 runs to the right edge.
    for (const int x : {61, 200, 300, 399})
        EXPECT_EQ(pixelAt(image, x, 270), kBlack) << x;
    EXPECT_NE(pixelAt(image, 300, 269), kBlack);
    EXPECT_NE(pixelAt(image, 300, 271), kBlack);
    // The vertical axis at x 60 from the top to y h + 24 (its end pixel h + 25 left out).
    for (const int y : {0, 100, 200, 274})
        EXPECT_EQ(pixelAt(image, 60, y), kBlack) << y;
    // The left ticks at y 10, 135 and 260, from x 55 to the axis.
    for (const int y : {10, 135, 260}) {
        SCOPED_TRACE(y);
        for (int x = 55; x <= 60; ++x)
            EXPECT_EQ(pixelAt(image, x, y), kBlack) << x;
        EXPECT_NE(pixelAt(image, 54, y), kBlack);
        EXPECT_NE(pixelAt(image, 57, y - 1), kBlack);
        EXPECT_NE(pixelAt(image, 57, y + 1), kBlack);
    }
    // The middle tick at x w/2 + 60 = 230 and the last at x W - 2 = 398, y 270 to 274.
    for (const int x : {230, 398}) {
        SCOPED_TRACE(x);
        for (int y = 270; y <= 274; ++y)
            EXPECT_EQ(pixelAt(image, x, y), kBlack) << y;
        EXPECT_NE(pixelAt(image, x - 1, 272), kBlack);
        EXPECT_NE(pixelAt(image, x + 1, 272), kBlack);
    }
    // The three vertical labels are written left of the ticks, on white.
    for (const int top : {5, 130, 253})
        EXPECT_GT(countColour(image, kWhite, 0, top, 55, top + 10), 0) << top;
    EXPECT_EQ(countColour(image, Qt::magenta, 0, 0, 400, 300), 0);
}

TEST_F(Painter, HorizontalLabelsNeedRoomWhileTheirTicksStay) {
    define(" -1,1,x*x", 0);
    struct Case {
        int clientWidth;
        bool ends;   // xMinLabel and xMaxLabel
        bool middle; // xMidLabel
    };
    const Case cases[] = {
        {400, true, true},  {211, true, true},   {210, true, false},
        {161, true, false}, {160, false, false}, {130, false, false},
    };
    const int clientHeight = 300;
    const int h = clientHeight - 50;
    const int labelTop = h + 25;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clientWidth);
        const QImage image = renderGraph(QSize(c.clientWidth, clientHeight));
        const int w = c.clientWidth - 60;
        // A drawn label leaves its white box (and its glyphs) below the axis.
        const auto labelDrawn = [&](int left) {
            return countNot(image, kGraphFill, left, labelTop, left + 12, labelTop + 10) > 0;
        };
        EXPECT_EQ(labelDrawn(60), c.ends);
        EXPECT_EQ(labelDrawn(w / 2 + 35), c.middle);
        EXPECT_EQ(labelDrawn(w + 10), c.ends);
        // The ticks of the middle and the end of the axis are always drawn.
        EXPECT_EQ(pixelAt(image, w / 2 + 60, h + 22), kBlack);
        EXPECT_EQ(pixelAt(image, c.clientWidth - 2, h + 22), kBlack);
    }
}

TEST_F(Painter, AFunctionShownAloneSpansFromTheUpperToTheLowerTick) {
    // Functions whose extremes lie among the samples that the columns draw (the last few
    // samples fall into no column).
    struct Case {
        const char* definition;
        bool envelope;
    };
    const Case cases[] = {{" -1,1,x*x", false},
                          {" -1,1,x*x", true},
                          {" -1,1,1-x*x", true},
                          {" 0,360,sin(x)", true},
                          {" 0,720,cos(x)+sin(2*x)", true},
                          {" -3,2,x*x*x-2*x-x*x*x*x/10", true}};
    const QSize client(400, 300);
    const int h = 250;
    const QColor colour = FunctionPalette::colour(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.definition << (c.envelope ? " envelope" : ""));
        define(c.definition, 0);
        const QImage image = renderGraph(client, c.envelope);
        int top = client.height();
        int bottom = -1;
        for (int x = 60; x < client.width(); ++x) {
            const std::set<int> rows = rowsOf(image, colour, x);
            if (rows.empty())
                continue;
            top = std::min(top, *rows.begin());
            bottom = std::max(bottom, *rows.rbegin());
        }
        EXPECT_EQ(top, 10);
        EXPECT_EQ(bottom, h + 10);
    }
}

TEST_F(Painter, CurvesUseThePaletteColourOfTheirSlot) {
    define(" 0,1,x", 0);
    define("1-x", 3);
    define("x*0+0.25", 7);
    const QImage image = renderGraph(QSize(400, 300));
    for (const int slot : {0, 3, 7})
        EXPECT_GT(countColour(image, FunctionPalette::colour(slot), 61, 0, 400, 270), 100) << slot;
    for (const int slot : {1, 2, 4, 5, 6, 8, 9})
        EXPECT_EQ(countColour(image, FunctionPalette::colour(slot), 0, 0, 400, 300), 0) << slot;
    // The constant 0.25 of slot 7 lies a quarter up the plot: y = 250 - 62.5 + 10, truncated.
    EXPECT_EQ(rowsOf(image, FunctionPalette::colour(7), 200), std::set<int>{197});
}

TEST_F(Painter, HiddenAndFailedSlotsAreNotDrawn) {
    define(" 0,1,x", 0);
    define("1-x", 1);
    graphs.toggleShown(1);
    defineFailing("sqrt(x-2)", 2);
    const QImage image = renderGraph(QSize(400, 300));
    EXPECT_GT(countColour(image, FunctionPalette::colour(0), 61, 0, 400, 270), 100);
    EXPECT_EQ(countColour(image, FunctionPalette::colour(1), 0, 0, 400, 300), 0);
    EXPECT_EQ(countColour(image, FunctionPalette::colour(2), 0, 0, 400, 300), 0);
}

TEST_F(Painter, EnvelopeDrawingShowsANarrowSpikeThatOrdinaryDrawingMisses) {
    // Over 0 to 997 the sample points are the integers, so cpx(k,k+1) is 1 at sample k alone.
    // Pick k among the samples that no column of a 340-pixel plot picks.
    const std::vector<ColumnSamples> columns = columnSamples(340);
    std::set<int> picked;
    for (const ColumnSamples& column : columns)
        picked.insert(column.first);
    int spike = 400;
    while (picked.count(spike) != 0)
        ++spike;
    define(" 0,997,cpx(" + std::to_string(spike) + "," + std::to_string(spike + 1) + ")", 0);
    const QColor colour = FunctionPalette::colour(0);

    const QImage ordinary = renderGraph(QSize(400, 300));
    EXPECT_EQ(countColour(ordinary, colour, 61, 0, 400, 250), 0);
    EXPECT_GT(countColour(ordinary, colour, 61, 260, 400, 261), 300); // the zero line

    const QImage envelope = renderGraph(QSize(400, 300), true);
    int strokeColumn = -1;
    for (int x = 61; x < 400; ++x)
        if (rowsOf(envelope, colour, x).count(135) != 0)
            strokeColumn = x;
    ASSERT_NE(strokeColumn, -1);
    // A vertical stroke from the zero line up to the peak on the upper tick.
    const std::set<int> rows = rowsOf(envelope, colour, strokeColumn);
    for (int y = 11; y < 260; ++y)
        EXPECT_EQ(rows.count(y), 1u) << y;
    EXPECT_EQ(countColour(envelope, colour, 61, 10, 400, 11), 1);
}

TEST_F(Painter, EnvelopeCaptionOnlyInEnvelopeMode) {
    define(" -1,1,x*x", 0);
    // Below the label row: the caption's top is at H - 14.
    const auto captionPixels = [](const QImage& image) {
        return countNot(image, kGraphFill, 60, 289, 160, 300);
    };
    EXPECT_EQ(captionPixels(renderGraph(QSize(400, 300))), 0);
    EXPECT_GT(captionPixels(renderGraph(QSize(400, 300), true)), 20);
}

TEST_F(Painter, ConstantFunctionsAreAFlatLineThroughTheMiddle) {
    struct Case {
        const char* definition;
        int slot;
    };
    // A constant, and x over the range 0 to 0 that slots 1 to 9 use before slot 0 is defined.
    // (The range stays 0 to 0 until slot 0 is defined; clearing does not reset it.)
    const Case cases[] = {{"x", 1}, {" 0,1,5", 0}, {" 0,1,x*0-1e300", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        graphs.clearFunctions();
        define(c.definition, c.slot);
        for (const bool envelope : {false, true}) {
            const QImage image = renderGraph(QSize(400, 300), envelope);
            const QColor colour = FunctionPalette::colour(c.slot);
            EXPECT_GT(countColour(image, colour, 61, 135, 400, 136), 330);
            EXPECT_EQ(countColour(image, colour, 0, 0, 400, 300),
                      countColour(image, colour, 0, 135, 400, 136));
        }
    }
}

TEST_F(Painter, InfiniteAndNaNSamplesLeaveGaps) {
    const QColor colour = FunctionPalette::colour(0);
    // ln(x) is -inf at 0: the first columns have no curve, the rest has.
    define(" 0,1,ln(x)", 0);
    for (const bool envelope : {false, true}) {
        SCOPED_TRACE(envelope);
        const QImage image = renderGraph(QSize(400, 300), envelope);
        EXPECT_TRUE(rowsOf(image, colour, 60).empty());
        EXPECT_GT(countColour(image, colour, 62, 0, 400, 270), 300);
    }
    // tan(x) in degrees has a pole at 90 (no value or a huge one) and NaN nowhere.
    engine.setDegrees(true);
    define(" 0,180,tan(x)", 0);
    for (const bool envelope : {false, true}) {
        const QImage image = renderGraph(QSize(400, 300), envelope);
        EXPECT_GT(countColour(image, colour, 61, 0, 400, 270), 100);
    }
    // No finite sample at all: nothing drawn, nothing crashes.
    define(" 0,1,ln(x*0)-ln(x*0)", 0);
    for (const bool envelope : {false, true}) {
        const QImage image = renderGraph(QSize(400, 300), envelope);
        EXPECT_EQ(countColour(image, colour, 0, 0, 400, 300), 0);
    }
}

TEST_F(Painter, HugeFiniteValuesStayInsideThePlot) {
    // The range of the values overflows a double; the line still runs from the lower to
    // the upper tick.
    define(" 0,1,1e308*(2*x-1)", 0);
    const QImage image = renderGraph(QSize(400, 300));
    const QColor colour = FunctionPalette::colour(0);
    EXPECT_EQ(rowsOf(image, colour, 61).count(260), 1u);
    EXPECT_GT(countColour(image, colour, 61, 10, 400, 20), 0);
    EXPECT_EQ(countColour(image, colour, 0, 0, 400, 10), 0);
    // A huge spike among small values is clamped, not overflowed.
    define(" 0,1,x+1e300*cpx(0.5,0.501)", 0);
    for (const bool envelope : {false, true}) {
        const QImage spiky = renderGraph(QSize(400, 300), envelope);
        EXPECT_GT(countColour(spiky, colour, 61, 0, 400, 300), 100);
    }
}

TEST_F(Painter, TinyAreasGetTheFillOnly) {
    define(" -1,1,x*x", 0);
    struct Case {
        int width;
        int height;
        bool plot;
    };
    const Case cases[] = {{1, 1, false},  {60, 300, false}, {400, 50, false}, {59, 49, false},
                          {61, 51, true}, {62, 52, true},   {61, 400, true},  {400, 51, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        for (const bool envelope : {false, true}) {
            const QImage image = renderGraph(QSize(c.width, c.height), envelope);
            const int other = countNot(image, kGraphFill, 0, 0, c.width, c.height);
            EXPECT_EQ(other > 0, c.plot);
        }
    }
    // An empty client area is no error either.
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    paintGraph(painter, graphs, QSize(0, 0), true, fonts);
}

// ---------------------------------------------------------------------------------------
// Function list drawing and clicks

TEST_F(Painter, ListSwatchesAreRaisedForShownFunctionsAndSunkenOtherwise) {
    define(" 0,1,x*x", 0);
    define("x", 1);
    graphs.toggleShown(1); // defined but hidden
    const QImage image = renderList();
    struct Case {
        int row;
        bool raised;
        QColor fill;
    };
    const Case cases[] = {
        {0, true, QColor(48, 48, 248)},
        {1, false, QColor(0, 200, 0)},
        {5, false, QColor(0, 0, 100)}, // an empty slot
        {9, false, QColor(100, 100, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const int top = 20 * c.row + 5;
        EXPECT_EQ(countColour(image, c.fill, 5, top, 20, top + 15), 15 * 15);
        const QColor topLeft = c.raised ? kWhite : kBlack;
        const QColor bottomRight = c.raised ? kBlack : kWhite;
        for (int i = 0; i < 15; ++i) {
            EXPECT_EQ(pixelAt(image, 5 + i, top - 1), topLeft) << i;      // top edge
            EXPECT_EQ(pixelAt(image, 4, top + i), topLeft) << i;          // left edge
            EXPECT_EQ(pixelAt(image, 5 + i, top + 15), bottomRight) << i; // bottom edge
            EXPECT_EQ(pixelAt(image, 20, top + i), bottomRight) << i;     // right edge
        }
        // Outside the frame: the grey of the list.
        EXPECT_EQ(pixelAt(image, 3, top + 7), kListFill);
        EXPECT_EQ(pixelAt(image, 21, top + 7), kListFill);
    }
    EXPECT_EQ(countColour(image, Qt::magenta, 0, 0, 300, 260), 0);
}

TEST_F(Painter, ListTextIsBlackForShownFunctionsAndDarkGreyOtherwise) {
    define(" 0,1,x*x", 0);
    define("x", 1);
    graphs.toggleShown(1);
    const QImage image = renderList();
    const auto darkest = [&](int row) {
        int gray = 255;
        for (int y = 20 * row + 4; y < 20 * row + 20; ++y)
            for (int x = 28; x < 300; ++x)
                gray = std::min(gray, qGray(image.pixel(x, y)));
        return gray;
    };
    EXPECT_LT(darkest(0), 60);
    EXPECT_GE(darkest(1), 90);
    EXPECT_LT(darkest(1), 130);
    EXPECT_EQ(countNot(image, kListFill, 22, 40, 300, 200), 0); // empty rows: no text
}

TEST_F(Painter, ListShowsCaptionsOrResultTexts) {
    define(" 0,1,x*x", 0);
    const QImage captions = renderList(QSize(300, 260), true);
    const QImage results = renderList(QSize(300, 260), false);
    // The caption "y = x*x" is shorter than the integral line.
    const auto rightmostText = [](const QImage& image) {
        int right = -1;
        for (int y = 4; y < 20; ++y)
            for (int x = 28; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) != kListFill)
                    right = std::max(right, x);
        return right;
    };
    EXPECT_GT(rightmostText(captions), 40);
    EXPECT_GT(rightmostText(results), rightmostText(captions) + 20);
}

TEST_F(Painter, ListClicksHitReadySwatchesAndTheTextSide) {
    define(" 0,1,x*x", 0);         // row 0 Ready
    defineFailing("sqrt(x-2)", 1); // row 1 Failed
    define("x", 3);                // row 3 Ready; row 2 Empty
    graphs.toggleShown(3);         // hidden rows stay clickable
    struct Case {
        int x;
        int y;
        std::optional<int> toggle;
        bool flip;
    };
    const Case cases[] = {
        {10, 10, 0, false},  {6, 6, 0, false},    {19, 19, 0, false},   {10, 3, {}, false},
        {10, 5, {}, false},  {10, 20, {}, false}, {10, 22, {}, false},  {10, 25, {}, false},
        {10, 30, {}, false}, // failed row 1
        {10, 50, {}, false}, {10, 70, 3, false},  {10, 190, {}, false}, {5, 10, {}, false},
        {20, 10, {}, false}, {22, 10, {}, false}, {25, 10, {}, false},  {26, 10, {}, true},
        {100, 3, {}, true},  {100, 30, {}, true}, {250, 250, {}, true}, {-1, 10, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const ListClick click = hitTestFunctionList(graphs, QPoint(c.x, c.y));
        EXPECT_EQ(click.toggleSlot, c.toggle);
        EXPECT_EQ(click.flipCaptions, c.flip);
        EXPECT_EQ(click.changesNothing(), !c.toggle && !c.flip);
    }
}

TEST_F(Painter, AFailedSlotShowsItsMessageSunken) {
    defineFailing("sqrt(x-2)", 1);
    ASSERT_EQ(graphs.slot(1).state(), SlotState::Failed);
    for (const bool captions : {true, false}) {
        SCOPED_TRACE(captions);
        const QImage image = renderList(QSize(300, 260), captions);
        EXPECT_EQ(pixelAt(image, 4, 24), kBlack); // sunken: black top-left
        EXPECT_GT(countNot(image, kListFill, 28, 24, 300, 40), 20);
        EXPECT_EQ(countNot(image, kListFill, 28, 44, 300, 60), 0); // row 2 is empty
    }
}

} // namespace
} // namespace quillet
