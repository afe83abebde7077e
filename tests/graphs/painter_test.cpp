// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the graph and function list windows, checked pixel by pixel on QImage renders,
// and the geometry behind it: rows of values, samples of columns, list clicks. Runs in the
// widget tests' program, whose application object the fonts need.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/fonts.h"
#include "graphs/function_graphs.h"
#include "graphs/function_list_painter.h"
#include "graphs/function_palette.h"
#include "graphs/graph_painter.h"
#include "tests/graphs/pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <tuple>

namespace quillet {
namespace {

using namespace test;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const QColor kListFill(160, 160, 160), kBlack(0, 0, 0), kWhite(255, 255, 255);

// Whether area of image shows fill with text written as the painters write theirs: its
// top-left corner at `at`, in font and pen colour on an opaque background.
bool shows(const QImage& image, QRect area, const QColor& fill, const QColor& background,
           const QFont& font, const QColor& pen, QPoint at, const char* text) {
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(fill);
    QPainter painter(&expected);
    painter.setFont(font);
    painter.setPen(pen);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background);
    painter.drawText(at + QPoint(0, painter.fontMetrics().ascent()), QString::fromUtf8(text));
    return image.copy(area) == expected.copy(area);
}

class Painter : public ::testing::Test {
protected:
    // Defines slot from the text after the command word, shown.
    void define(const std::string& text, int slot) {
        EXPECT_TRUE(graphs.defineFunction(text, slot, true)) << text;
    }
    // Either painter, with its own flag: envelope mode for the graph, captions for the list.
    using Paint = void (*)(QPainter&, const FunctionGraphs&, QSize, bool, const GraphFonts&);
    // Paints onto magenta, so that anything the painter leaves shows up.
    QImage render(QSize size, bool flag = false, Paint paint = paintGraph) const {
        QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        paint(painter, graphs, size, flag, fonts);
        EXPECT_EQ(painter.backgroundMode(), Qt::TransparentMode); // the caller's state is back
        return image;
    }

    ExpressionEngine engine;
    FunctionGraphs graphs{engine};
    GraphFonts fonts = GraphFonts::standard();
};

// Values map to rows from the upper tick (y 10) to the lower one (y h + 10), truncated.
// Without a usable range every value lies on the middle row; values that are not finite
// have no row, and rows far outside the window are clamped to a band a little beyond it.
TEST(PlotGeometry, ScaleMapsValuesToRows) {
    // clang-format off
    const std::tuple<double, double, double, std::optional<int>, bool> cases[] = {
        // yMin, yMax, value, row, flat
        {0, 1, 1, 10, false}, {0, 1, 0, 260, false}, {0, 1, 0.5, 135, false},
        {-1, 1, 0, 135, false}, {0, 1, 0.999, 10, false}, {0, 1, 0.001, 259, false},
        {0.1, 0.7, 0.7, 10, false}, {0.1, 0.7, 0.1, 260, false}, {-3e-7, 5e-7, 5e-7, 10, false},
        {-3e-7, 5e-7, -3e-7, 260, false}, {1e10, 1e10 + 3, 1e10 + 3, 10, false},
        {-1e308, 1e308, -1e308, 260, false}, {-1e308, 1e308, 0, 135, false},
        {0, 1, kInf, {}, false}, {0, 1, -kInf, {}, false}, {0, 1, kNaN, {}, false},
        {0, 0, 0, 135, true}, {5, 5, 5, 135, true}, {-1e300, -1e300, -1e300, 135, true},
        {kNaN, 1, 0.5, 135, true}, {0, kInf, 0.5, 135, true}, {2, 1, 0.5, 135, true},
        {0, 0, kNaN, {}, true},
    };
    // clang-format on
    for (const auto& [yMin, yMax, value, row, flat] : cases) {
        const VerticalScale scale(yMin, yMax, 250, 300);
        EXPECT_EQ(scale.flat(), flat) << yMin << " to " << yMax;
        EXPECT_EQ(scale.rowOf(value), row) << yMin << " to " << yMax << ": " << value;
    }
    const VerticalScale scale(0.0, 1.0, 250, 300);
    const int above = *scale.rowOf(1e300), below = *scale.rowOf(-1e300);
    EXPECT_TRUE(above < 0 && above >= -2000 && below > 300 && below <= 2300) << above << below;
    EXPECT_EQ(scale.rowOf(std::numeric_limits<double>::max()), above);
}

// Column j starts at the single-precision running position (j - 1) * s, s = 998 / w, and
// spans every m < s, never past the last sample.
TEST(PlotGeometry, ColumnsFollowTheRunningSinglePrecisionPosition) {
    EXPECT_EQ(columnStep(340), static_cast<float>(998.0 / 340.0));
    for (const int width : {1, 0, -5})
        EXPECT_TRUE(columnSamples(width).empty()) << width;
    const std::pair<int, int> cases[] = {{2, 499}, {7, 143},  {100, 10}, {340, 3},
                                         {499, 2}, {500, 2},  {997, 2},  {998, 1},
                                         {999, 1}, {1860, 1}, {5000, 1}, {100000, 1}};
    for (const auto& [width, span] : cases) {
        const std::vector<ColumnSamples> columns = columnSamples(width);
        ASSERT_EQ(columns.size(), static_cast<std::size_t>(width - 1));
        float position = 0.0f;
        for (const ColumnSamples& column : columns) {
            ASSERT_EQ(column.first, std::min(static_cast<int>(position), 997)) << width;
            ASSERT_EQ(column.count, std::min(span, 998 - column.first)) << width;
            position += columnStep(width);
        }
    }
}

TEST_F(Painter, AxesTicksAndLabelsWhereThereIsRoom) {
    define(" -1,1,x*x", 0);
    graphs.toggleShown(0); // the labels stay, the curve goes
    const QImage image = render(QSize(400, 300));
    // The envelope caption under the labels (its top at H - 14) shows in envelope mode only.
    EXPECT_EQ(countNot(image, kGraphFill, 60, 289, 160, 300), 0);
    EXPECT_GT(countNot(render(QSize(400, 300), true), kGraphFill, 60, 289, 160, 300), 20);
    // The horizontal axis at y h + 20 = 270 to the right edge; the vertical one at x 60 from
    // the top to y h + 24 (a line leaves out its end pixel).
    EXPECT_EQ(countColour(image, kBlack, 61, 270, 400, 271), 339);
    EXPECT_EQ(countColour(image, kBlack, 61, 269, 400, 270), 0);
    EXPECT_EQ(countColour(image, kBlack, 60, 0, 61, 275), 275);
    // The left ticks at y 10, 135 and 260 from x 55 to the axis.
    for (const int y : {10, 135, 260})
        EXPECT_EQ(countColour(image, kBlack, 54, y - 1, 60, y + 2), 5) << y;
    // The labels are written in the label font, black on white: the upper one at (0, 5).
    EXPECT_TRUE(
        shows(image, {0, 0, 54, 60}, kGraphFill, kWhite, fonts.label, kBlack, {0, 5}, "        1"));
    // Each label's white box starts at its corner: x 0, y 5, h/2 + 5 and h + 3 on the left;
    // y h + 25, x 60, w/2 + 35 and w + 10 below.
    const auto white = [&](int x, int y) { return x >= 0 && QColor(image.pixel(x, y)) == kWhite; };
    for (const QPoint c : {QPoint(0, 5), {0, 130}, {0, 253}, {60, 275}, {205, 275}, {350, 275}})
        EXPECT_TRUE(white(c.x(), c.y()) && !white(c.x() - 1, c.y()) && !white(c.x(), c.y() - 1))
            << c.x() << "," << c.y();
    // Narrower plots drop the labels below, the middle one first; their ticks at x w/2 + 60
    // and W - 2, y 270 to 274, stay.
    // client width, xMinLabel xMidLabel xMaxLabel drawn (1) or not (0)
    const std::pair<int, std::string> widths[] = {{400, "111"}, {211, "111"}, {210, "101"},
                                                  {161, "101"}, {160, "000"}, {130, "000"}};
    for (const auto& [clientWidth, drawn] : widths) {
        const QImage narrow = render(QSize(clientWidth, 300));
        const int w = clientWidth - 60;
        std::string seen; // a drawn label leaves its white box (and glyphs) at y h + 25
        for (const int left : {60, w / 2 + 35, w + 10})
            seen += countNot(narrow, kGraphFill, left, 275, left + 12, 285) > 0 ? "1" : "0";
        for (const int x : {w / 2 + 60, clientWidth - 2}) // pixels of tick and axis
            seen += ' ' + std::to_string(countColour(narrow, kBlack, x - 1, 270, x + 2, 275));
        EXPECT_EQ(seen, drawn + " 7 7") << clientWidth;
    }
    // A client area without room for a plot (61 x 51 at least) gets the fill only.
    for (const auto& [width, height, plot] :
         {std::tuple(0, 0, false), {60, 300, false}, {400, 50, false}, {61, 51, true}})
        for (const bool envelope : {false, true})
            EXPECT_EQ(plot, countNot(render({width, height}, envelope), kGraphFill, 0, 0, width,
                                     height) > 0)
                << width << " x " << height;
}

// Shown alone, a curve's largest sample lies on the upper tick (y 10) and its smallest on
// the lower one (y 260), even when their difference overflows a double; a constant is a flat
// line through the middle. Ordinary drawing shows the sample each column starts at, so it may
// miss extremes in between (top row 0: not checked). Samples that are not finite leave gaps;
// huge values are clamped.
TEST_F(Painter, CurvesRunFromTickToTickWithGapsWhereSamplesAreNotFinite) {
    const std::tuple<const char*, int, int, int> cases[] = {
        // definition, top row of ordinary drawing, top row of envelope drawing, bottom row
        {" 0,1,5", 135, 135, 135},
        {" -1,1,x*x", 10, 10, 260},
        {" 0,1,1e308*(2*x-1)", 11, 10, 260}, // no column starts at the last sample
        {" -3,2,x*x*x-2*x-x*x*x*x/10", 0, 10, 260},
        {" 0,1,ln(x)", 0, 10, 260},                  // -inf at 0: nothing in the first column
        {" 0,180,tan(x)", 0, 10, 260},               // a pole at 90 degrees (the default unit)
        {" 0,1,x+1e300*cpx(0.5,0.501)", 0, 10, 260}, // a huge spike among small values
        {" 0,1,ln(x*0)-ln(x*0)", 300, 300, -1},      // no finite sample: nothing drawn
        // Samples 0 to 997: cpx(400,401) is 1 at sample 400 alone, which no column of a
        // 340-pixel plot starts at (they start at 399 and 402).
        {" 0,997,cpx(400,401)", 260, 10, 260},
    };
    const QColor colour = FunctionPalette::colour(0);
    for (const auto& [definition, ordinaryTop, envelopeTop, bottom] : cases) {
        define(definition, 0);
        for (const bool envelope : {false, true}) {
            SCOPED_TRACE(testing::Message() << definition << (envelope ? " envelope" : ""));
            const QImage image = render(QSize(400, 300), envelope);
            EXPECT_EQ(countColour(image, colour, 61, 0, 400, 270) > 330, bottom > 0);
            const bool gap = std::string(definition) == " 0,1,ln(x)" || bottom < 0;
            EXPECT_EQ(countColour(image, colour, 60, 0, 61, 300) == 0, gap); // the first column
            std::pair<int, int> rows(300, -1); // the first and last rows with the colour
            for (int y = 0; y < 300; ++y)
                if (countColour(image, colour, 0, y, 400, y + 1) > 0)
                    rows = {std::min(rows.first, y), y};
            const int top = envelope ? envelopeTop : ordinaryTop;
            EXPECT_TRUE(top == 0 || rows == std::pair(top, bottom))
                << rows.first << "-" << rows.second;
        }
    }
    // The envelope strokes the spike's column, x 197 (samples 399 to 401), from the zero line
    // up to the peak, the only pixel on the upper tick.
    const QImage spike = render(QSize(400, 300), true);
    EXPECT_EQ(countColour(spike, colour, 197, 10, 198, 260), 250);
    EXPECT_EQ(countColour(spike, colour, 61, 10, 400, 11), 1);
    // A value alone between gaps is a point, drawn by its own curve only: sample 399 of 0 to
    // 997, at x 197, on the lower tick once slot 1 shows a 1.
    define(" 0,997,ln(cpx(399,400))", 0);
    define("1", 1);
    const QImage lone = render(QSize(400, 300));
    EXPECT_EQ(countColour(lone, colour, 0, 0, 400, 300), 1);
    EXPECT_EQ(QColor(lone.pixel(197, 260)), colour);
    // A plot one pixel wide has no columns: the first sample alone, a point.
    EXPECT_EQ(countColour(render(QSize(61, 300)), FunctionPalette::colour(1), 0, 0, 61, 300), 1);
}

// Only shown, Ready slots are drawn, each in its palette colour, and set the vertical range.
// In the list, they get a lightened, raised swatch and black text; hidden, failed and empty
// rows a plain, sunken one and dark grey text. A failed row shows its message in either mode.
// A click in the swatch column hits a Ready row strictly inside its swatch (hidden rows
// too); right of x 25 it flips the row texts. Gaps, failed and empty rows do nothing.
TEST_F(Painter, ShownReadySlotsAreDrawnListedRaisedAndClickable) {
    define(" 0,1,x", 0);
    define("2*x", 1);
    graphs.toggleShown(1);
    EXPECT_THROW(graphs.defineFunction("sqr(x-2)", 2, true), CalcError);
    define("1-x", 3); // shown after a hidden and a failed row
    define("x*0+0.25", 4);
    const QImage graph = render(QSize(400, 300));
    for (int slot = 0; slot < 10; ++slot) // over 100 pixels of a drawn slot, none of another
        EXPECT_EQ(std::min(countColour(graph, FunctionPalette::colour(slot), 0, 0, 400, 300), 101),
                  slot == 0 || slot == 3 || slot == 4 ? 101 : 0)
            << slot;

    const QImage captions = render({300, 260}, true, paintFunctionList),
                 results = render({300, 260}, false, paintFunctionList);
    EXPECT_EQ(countColour(captions, Qt::magenta, 0, 0, 300, 260), 0);
    // clang-format off
    const std::tuple<int, bool, QRgb> swatches[] = { // row, raised, fill
        {0, true, qRgb(48, 48, 248)}, {1, false, qRgb(0, 200, 0)}, {2, false, qRgb(200, 0, 0)},
        {3, true, qRgb(48, 248, 248)}, {5, false, qRgb(0, 0, 100)}, {9, false, qRgb(100, 100, 0)}};
    // clang-format on
    for (const auto& [row, raised, fill] : swatches) {
        SCOPED_TRACE(row);
        const int top = 20 * row + 5;
        EXPECT_EQ(countColour(captions, fill, 5, top, 20, top + 15), 15 * 15);
        // The frame around it: 31 pixels on the top and left edges, 33 on the bottom and
        // right ones with the two outer corners, and the list's fill just outside.
        EXPECT_EQ(countColour(captions, raised ? kWhite : kBlack, 4, top - 1, 21, top + 16), 31);
        EXPECT_EQ(countColour(captions, raised ? kBlack : kWhite, 4, top - 1, 21, top + 16), 33);
        EXPECT_EQ(countColour(captions, kListFill, 3, top - 2, 22, top + 17), 19 * 19 - 17 * 17);
    }
    // A row's caption is written at (28, 20 * row + 4) in the list row font: black on a shown
    // row, dark grey on the others.
    const QColor grey(96, 96, 96);
    const std::tuple<int, QColor, const char*> texts[] = {{0, kBlack, "y = x     "},
                                                          {1, grey, "y = 2*x     "},
                                                          {2, grey, "y = sqr(x-2)     复数值错误"},
                                                          {3, kBlack, "y = 1-x     "}};
    for (const auto& [row, pen, text] : texts)
        EXPECT_TRUE(shows(captions, {22, 20 * row, 278, 20}, kListFill, kListFill, fonts.listRow,
                          pen, {28, 20 * row + 4}, text))
            << row;
    for (const QImage& image : {captions, results}) {
        EXPECT_GT(countNot(image, kListFill, 28, 44, 300, 60), 20);  // the failed row's message
        EXPECT_EQ(countNot(image, kListFill, 22, 100, 300, 200), 0); // empty rows
    }
    // Row 0's integral line is longer than its caption.
    EXPECT_GT(countNot(results, kListFill, 100, 4, 300, 20), 20);

    const std::tuple<int, int, std::optional<int>, bool> clicks[] = {
        {10, 10, 0, false},   {6, 6, 0, false},     {19, 19, 0, false}, {10, 5, {}, false},
        {10, 20, {}, false},  {10, 25, {}, false},  {10, 30, 1, false}, {10, 50, {}, false},
        {10, 110, {}, false}, {10, 205, {}, false}, {5, 10, {}, false}, {20, 10, {}, false},
        {25, 10, {}, false},  {26, 10, {}, true},   {100, 3, {}, true}, {250, 250, {}, true},
        {-1, 10, {}, false}};
    for (const auto& [x, y, toggle, flip] : clicks) {
        const ListClick c = hitTestFunctionList(graphs, QPoint(x, y));
        EXPECT_EQ(std::pair(c.toggleSlot, c.flipCaptions), std::pair(toggle, flip))
            << x << "," << y;
    }
}

} // namespace
} // namespace quillet
