// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window and the function list window as widgets: layout, titles, envelope clicks,
// swatch clicks, Esc and the close box.
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "graphs/function_palette.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

const QColor kGraphFill(232, 232, 248);

int countColour(const QImage& image, const QColor& colour, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (QColor(image.pixel(x, y)) == colour)
                ++count;
    return count;
}

class GraphWindowTest : public ::testing::Test {
protected:
    GraphWindowTest() { window.resize(400, 300); }

    // A definition from the worksheet with the show flag, as the line processor makes it.
    void define(const std::string& text, int slot) {
        ASSERT_TRUE(graphs.defineFunction(text, slot, true)) << text;
        graphs.showGraphWindow();
    }

    QImage graphImage() { return window.grab().toImage(); }
    QImage listImage() { return list().grab().toImage(); }
    FunctionListWindow& list() { return *window.functionListWindow(); }

    // The envelope caption's pixels: below the label row, right of the button.
    int captionPixels() {
        const QImage image = graphImage();
        const QRect area(60, image.height() - 11, 100, 11);
        return area.width() * area.height() - countColour(image, kGraphFill, area);
    }

    ExpressionEngine engine;
    FunctionGraphs graphs{engine};
    int focusCalls = 0;
    GraphWindow window{graphs, [this] { ++focusCalls; }};
};

TEST_F(GraphWindowTest, StartsHiddenWithTheFunctionListAsAHiddenFixedSizeToolWindow) {
    GraphWindow fresh(graphs, [] {});
    EXPECT_FALSE(fresh.isVisible() || fresh.envelopeMode());
    EXPECT_EQ(fresh.minimumSize(), QSize(130, 100));
    EXPECT_EQ(fresh.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    EXPECT_TRUE(fresh.testAttribute(Qt::WA_ShowWithoutActivating)); // keeps the worksheet focus
    FunctionListWindow& functions = *fresh.functionListWindow();
    EXPECT_EQ(functions.windowType(), Qt::Tool);
    EXPECT_FALSE(functions.isVisible());
    EXPECT_EQ(functions.minimumSize(), functions.maximumSize());
    EXPECT_GT(functions.height(), 200); // 126 dialog units: room for the ten rows
}

TEST_F(GraphWindowTest, ButtonStaysInTheBottomLeftCorner) {
    QPushButton* button = window.functionsButton();
    EXPECT_EQ(button->text(), QStringLiteral("函数"));
    window.showWindow();
    for (const QSize size : {QSize(640, 480), QSize(130, 100)}) {
        SCOPED_TRACE(size.width());
        window.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(button->geometry(), QRect(5, size.height() - 27, 45, 22));
    }
}

TEST_F(GraphWindowTest, TitlesFollowADefinitionAndClearingEmptiesThePlotAndTitle) {
    define(" -1,1,x*x", 0);
    const QString title = window.windowTitle();
    EXPECT_EQ(title.toStdString(), graphs.slot(0).caption() + graphs.slot(0).resultText());
    EXPECT_EQ(list().windowTitle(), QStringLiteral("自变量范围:  -1 -->         1"));
    graphs.clearFunctions();
    EXPECT_EQ(window.windowTitle(), QString());
    EXPECT_EQ(countColour(graphImage(), FunctionPalette::colour(0), QRect(0, 0, 400, 300)), 0);
}

TEST_F(GraphWindowTest, ButtonShowsTheListAndTwoClicksOnThePlotReturnToOrdinaryDrawing) {
    define(" -1,1,x*x", 0);
    QTest::mouseClick(window.functionsButton(), Qt::LeftButton);
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(list().pos(), window.mapToGlobal(QPoint(0, 0)));
    EXPECT_FALSE(window.envelopeMode()); // the button takes its own click
    EXPECT_EQ(captionPixels(), 0);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_TRUE(window.envelopeMode());
    EXPECT_GT(captionPixels(), 20);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(captionPixels(), 0);
}

TEST_F(GraphWindowTest, SwatchClickHidesTheCurveSecondClickBringsItBackTextClickFlipsTheRows) {
    define(" -1,1,x*x+5", 0);
    define("x", 1);
    QTest::mouseClick(window.functionsButton(), Qt::LeftButton);
    const QColor colour0 = FunctionPalette::colour(0);
    const QRect plot(61, 0, 339, 270);
    ASSERT_GT(countColour(graphImage(), colour0, plot), 100);
    ASSERT_EQ(graphs.labels().yMax, "        6");
    const QString bothTitle = window.windowTitle();

    QTest::mouseClick(&list(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(graphs.slot(0).shown());
    EXPECT_EQ(countColour(graphImage(), colour0, plot), 0);
    EXPECT_EQ(graphs.labels().yMax, "        1"); // recomputed from x alone
    EXPECT_EQ(window.windowTitle().toStdString(),
              graphs.slot(1).caption() + graphs.slot(1).resultText());
    EXPECT_EQ(QColor(listImage().pixel(10, 10)), colour0); // the swatch is repainted sunken

    QTest::mouseClick(&list(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(graphs.slot(0).shown());
    EXPECT_GT(countColour(graphImage(), colour0, plot), 100);
    EXPECT_EQ(window.windowTitle(), bothTitle);
    EXPECT_EQ(QColor(listImage().pixel(10, 10)), FunctionPalette::lightened(0));
    // A click beside the swatches changes nothing; one on the text side flips the rows.
    QTest::mouseClick(&list(), Qt::LeftButton, {}, QPoint(22, 10));
    EXPECT_TRUE(graphs.slot(0).shown() && list().showCaptions());
    QTest::mouseClick(&list(), Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(graphs.slot(0).shown() && !list().showCaptions());
}

TEST_F(GraphWindowTest, EscAndTheCloseBoxHideBothWindowsAndFocusTheWorksheet) {
    define(" -1,1,x*x", 0);
    QTest::mouseClick(window.functionsButton(), Qt::LeftButton);
    window.resize(500, 350);
    window.move(40, 30);
    const QRect geometry = window.geometry();
    ASSERT_TRUE(list().isVisible());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible() || list().isVisible());
    EXPECT_EQ(focusCalls, 1);
    // A later definition brings the window back where it was, with its definitions.
    define("x", 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), geometry);
    EXPECT_TRUE(graphs.slot(0).isReady());
    QTest::mouseClick(window.functionsButton(), Qt::LeftButton);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible() || list().isVisible());
    EXPECT_EQ(focusCalls, 2);
    EXPECT_TRUE(graphs.slot(0).shown());
}

} // namespace
} // namespace quillet
