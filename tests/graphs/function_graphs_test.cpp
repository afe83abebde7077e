// SPDX-License-Identifier: GPL-3.0-or-later
// The function graphs model: the sample points of one slot, and definitions, the shared
// range, extremes, labels, titles, the list rows with their integral lines, and clearing.
// What sampling leaves in the variable x is stated in the worksheet transcripts.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "graphs/graph_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>

namespace quillet {
namespace {

using namespace std::string_literals;

const std::string kNotReal = "复数值错误";

TEST(FunctionSlot, SamplesStepEvenlyAndTheLastReachingTheBoundIsNudged) {
    ExpressionEngine engine;
    FunctionSlot slot;
    const FunctionSlot::Samples& samples = slot.samples();
    slot.define(engine, "x", 0.0, 1.0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(samples[i], static_cast<double>(i) / 997.0, 1e-13) << i;
    // Repeated addition reaches the bound at the last point: just inside a positive bound,
    // just outside a negative one; equal bounds nudge every point.
    for (const auto& [xMin, xMax] : {std::pair(0.0, 2.0), {-10.0, -1.0}, {2.0, 2.0}}) {
        slot.define(engine, "x", xMin, xMax);
        EXPECT_EQ(std::pair(samples.back(), samples[500] == samples.back()),
                  std::pair(xMax / 1.00000000000001, xMin == xMax));
    }
    // A descending range is sampled downward and never past its lower end.
    // Repeated addition from 0 would end at -1.0000000000000149 here.
    slot.define(engine, "x", 0.0, -1.0);
    EXPECT_TRUE(std::is_sorted(samples.rbegin(), samples.rend()));
    EXPECT_EQ(std::pair(slot.maxValue(), slot.minValue()), std::pair(0.0, -1.0));
}

std::string joined(const AxisLabels& l) {
    return l.yMax + '|' + l.yMid + '|' + l.yMin + '|' + l.xMin + '|' + l.xMid + '|' + l.xMax;
}

// The fixture is also the display that counts the model's change notifications.
class Graphs : public ::testing::Test, public GraphDisplay {
protected:
    Graphs() { graphs.setDisplay(this); }
    void showWindow() override {}
    void displaysChanged() override { ++notifications; }

    // "true" or "false" as returned, or the message of the CalcError raised.
    std::string define(std::string_view text, int slot, bool show = true) {
        try {
            return graphs.defineFunction(text, slot, show) ? "true" : "false";
        } catch (const CalcError& error) {
            return std::string(error.message());
        }
    }
    void defineAll(std::initializer_list<std::pair<const char*, int>> definitions) {
        for (const auto& [text, index] : definitions)
            EXPECT_EQ(define(text, index), "true") << text;
    }
    const FunctionSlot& slot(int index) const { return graphs.slot(index); }
    // A slot's list row as "state[ shown]|caption row|result row", to check it in one line.
    std::string describe(int index) const {
        static const char* const kStates[] = {"Empty", "Failed", "Ready"};
        return kStates[static_cast<int>(slot(index).state())] +
               (slot(index).shown() ? " shown|"s : "|") + graphs.rowText(index, true) + '|' +
               graphs.rowText(index, false);
    }
    // Everything a definition may change, with exact doubles, for "nothing changed" checks.
    std::string snapshot() const {
        std::ostringstream out;
        out << std::hexfloat << graphs.xMin() << ' ' << graphs.xMax() << ' ' << graphs.yMin() << ' '
            << graphs.yMax() << '|' << graphs.listTitle() << '|' << title();
        for (int i = 0; i < FunctionGraphs::kSlotCount; ++i)
            out << '|' << describe(i) << slot(i).expression() << slot(i).samples().back();
        return out.str();
    }
    const std::string& title() const { return graphs.graphTitle(); }

    ExpressionEngine engine;
    int notifications = 0;
    FunctionGraphs graphs{engine};
};

TEST_F(Graphs, LabelsFollowTheRangeAndTheShownSlot) {
    const std::pair<const char*, const char*> cases[] = {
        // definition, labels yMax|yMid|yMin|xMin|xMid|xMax
        {"-1,1,x*x", "        1|      0.5| 1.01e-06|-1|        0|        1"},
        {"0,10,x", "       10|        5|        0|0|        5|       10"},
        {"-123456.7,0.001234567,1234567",
         " 1.23e+06| 1.23e+06| 1.23e+06|-1.2346e+05|-6.17e+04|  0.00123"},
        {"5,1,x", "        5|        3|        1|5|        3|        1"},     // sampled from 5 down
        {"0,1,ln(x)", "-9.99e-15|    -3.45|     -6.9|0|      0.5|        1"}, // finite samples
    };
    for (const auto& [definition, labels] : cases) {
        notifications = 0;
        ASSERT_EQ(define(definition, 0), "true") << definition;
        const AxisLabels& l = graphs.labels(); // one notification
        EXPECT_EQ(std::tuple(joined(l), graphs.listTitle(), notifications),
                  std::tuple(labels, "自变量范围:  " + l.xMin + " --> " + l.xMax, 1));
    }
}

// The vertical range and the title follow the shown Ready slots; only those flip. Clearing
// keeps the vertical range.
TEST_F(Graphs, TogglingSetsTheVerticalRangeAndTitleClearingKeepsTheRanges) {
    // 0 .. ~1, -1 .. ~3, 10 .. ~11, and a shown Ready slot without a finite sample.
    defineAll({{"0,1,x", 0}, {"x*4-1", 1}, {"x+10", 2}, {"ln(x*0)", 3}});
    EXPECT_EQ(define("sqr(x-2)", 4), kNotReal);
    EXPECT_EQ(describe(3), "Ready shown|y = ln(x*0)     |F(x)的定积分 = -inf");
    EXPECT_EQ(title(), "y = x     y = x*4-1     y = x+10     y = ln(x*0)     ");
    EXPECT_EQ(graphs.yMin(), -1.0);
    EXPECT_NEAR(graphs.yMax(), 11.0, 1e-12);
    // Hiding 2 narrows the range; then only the slot without finite samples, then no slot at
    // all is shown: the range stays. The Failed 4 and the Empty 5 do not flip.
    for (const int index : {2, 0, 4, 5, 1, 3}) {
        notifications = 0;
        graphs.toggleShown(index);
        EXPECT_EQ(std::tuple(notifications, graphs.yMin(), graphs.labels().yMax),
                  std::tuple(index < 4 ? 1 : 0, -1.0, "        3"));
        EXPECT_NEAR(graphs.yMax(), 3.0, 1e-12) << index;
    }
    EXPECT_EQ(describe(4) + describe(5) + title(),
              "Failed|y = sqr(x-2)     复数值错误|复数值错误Empty||");
    graphs.toggleShown(1); // one shown function: its caption and its integral line
    EXPECT_EQ(title(), "y = x*4-1     F(x)的定积分 = 1");

    // Clearing empties every slot but keeps the range, the list title and the vertical range.
    const std::string kept = joined(graphs.labels()) + graphs.listTitle();
    const int changes = notifications;
    graphs.clearFunctions();
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i)
        EXPECT_EQ(describe(i) + slot(i).expression(), "Empty||");
    EXPECT_EQ(title() + joined(graphs.labels()) + graphs.listTitle(), kept);
    EXPECT_GT(notifications, changes);
    ASSERT_EQ(define("1", 2), "true"); // a new slot is sampled over the kept range
    EXPECT_EQ(slot(2).resultText(), "F(x)的定积分 = 1");
}

TEST_F(Graphs, RefusedAndIgnoredDefinitionsChangeNothing) {
    defineAll({{"0,2,x", 0}, {"x*3", 1}});
    graphs.toggleShown(1);
    const std::string before = snapshot();
    const int changes = notifications;
    const auto expectUnchanged = [&](const char* text, int index, bool show, std::string result) {
        EXPECT_EQ(define(text, index, show), result) << index << text; // before the snapshot
        EXPECT_EQ(std::pair(snapshot(), notifications), std::pair(before, changes))
            << index << text;
    };
    for (const char* text : {"0,1", "0,(1,x", "", "   ", "(0,1,x", "0,max(1,x", "0;1;x", "5"})
        expectUnchanged(text, 0, true, "您的输入缺少','");
    // A good lower bound is not stored alone when the upper one fails.
    for (const char* text : {"sqr(-1),3,x", "5,sqr(-1),x", "2i,3,x"})
        expectUnchanged(text, 0, true, kNotReal);
    expectUnchanged("5,1/0,x", 0, true, "Division by Zero");
    // Show false for a slot that is not shown, and a slot out of range, are ignored.
    for (const char* text : {"x*x+1", "0,9,x"})
        expectUnchanged(text, 5, false, "false");
    for (const int index : {-1, 10, 1000}) {
        expectUnchanged("x", index, true, "false");
        graphs.toggleShown(index);
        EXPECT_EQ(graphs.rowText(index, true) + graphs.rowText(index, false), "");
    }
    EXPECT_EQ(snapshot(), before);
    // Show false re-samples the shown slot 0. The range changed, so slot 1 follows (a lower
    // bound 5 left behind by "5,sqr(-1),x" would have hidden the change).
    ASSERT_EQ(define("5,2,x*x", 0, false), "true");
    EXPECT_EQ(describe(0), "Ready shown|y = x*x     |F(x)的定积分 = -39.0045");
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = -31.5");
}

TEST_F(Graphs, RangeCommasOutsideParenthesesSplitTheText) {
    const std::tuple<const char*, double, double, const char*> cases[] = {
        {"0,max(1,2),x", 0, 2, "x"},
        {"min(-1,0),(1),max(x,0.5)", -1, 1, "max(x,0.5)"},
        {"3,4,max(x,(2)),", 3, 4, "max(x,(2)),"}, // the rest, commas included (not valid)
        {" 1 0 ,\t2\n0 ,\v x *\f x\r", 10, 20, "x*x"},
        {"pi,2*pi,sin(x)", 3.141592653589793, 6.283185307179586, "sin(x)"},
    };
    for (const auto& [text, xMin, xMax, expression] : cases) {
        define(text, 0);
        EXPECT_EQ(std::tuple(graphs.xMin(), graphs.xMax(), slot(0).expression()),
                  std::tuple(xMin, xMax, expression));
    }
}

// Before slot 0 gives a range, the other slots are sampled over 0 to 0; they follow each
// change of a bound, and only that.
TEST_F(Graphs, OtherSlotsAreResampledOnlyWhenABoundChanges) {
    engine.evaluateLine("k=1");
    EXPECT_EQ(graphs.listTitle(), "图形函数列表");
    ASSERT_EQ(define("x+k", 1), "true");
    EXPECT_EQ(std::pair(slot(1).minValue(), slot(1).maxValue()), std::pair(1.0, 1.0));
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 0");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         0");
    engine.evaluateLine("k=-1");
    defineAll({{"0,1,x", 0}, {"x*k*3", 2}, {"sqr(x)", 4}});
    graphs.toggleShown(2);
    EXPECT_EQ(define("sqr(x+k)", 3), kNotReal); // Failed over 0..1 with k = -1
    const std::string slots12 = describe(1) + describe(2);
    ASSERT_EQ(slots12, "Ready shown|y = x+k     |F(x)的定积分 = -0.5"
                       "Ready|y = x*k*3     |F(x)的定积分 = -1.5");

    engine.evaluateLine("k=2");
    ASSERT_EQ(define("0,1,x*x", 0), "true"); // same bounds: nothing else is sampled again
    EXPECT_EQ(describe(1) + describe(2), slots12);
    EXPECT_EQ(slot(3).state(), SlotState::Failed);

    ASSERT_EQ(define("0,2,x*x", 0), "true"); // upper bound changed: every defined slot follows
    EXPECT_EQ(describe(1), "Ready shown|y = x+k     |F(x)的定积分 = 6");
    EXPECT_EQ(describe(2), "Ready|y = x*k*3     |F(x)的定积分 = 12"); // still hidden
    EXPECT_EQ(describe(3), "Ready|y = sqr(x+k)     |F(x)的定积分 = 3.44768");
    EXPECT_EQ(describe(5) + describe(9), "Empty||Empty||");

    // Lower bound changed: a slot failing over the new range records it and fails nothing else.
    ASSERT_EQ(define("-1,2,x*x", 0), "true");
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 7.5");
    EXPECT_EQ(describe(4), "Failed shown|y = sqr(x)     复数值错误|复数值错误");
}

TEST_F(Graphs, FailedDefinitionKeepsShownAndReplacesTheExpression) {
    defineAll({{"0,1,x", 0}, {"x*2", 1}});
    graphs.toggleShown(0);
    EXPECT_EQ(title(), "y = x*2     F(x)的定积分 = 1");
    notifications = 0;

    EXPECT_EQ(define("sqr(x-2)", 1), kNotReal);
    EXPECT_EQ(describe(1), "Failed shown|y = sqr(x-2)     复数值错误|复数值错误");
    // The displays were refreshed before the error was raised.
    EXPECT_EQ(std::pair(title(), notifications), std::pair(""s, 1));

    // A range change re-samples the failed expression, not the one before it.
    ASSERT_EQ(define("2,3,x", 0), "true");
    EXPECT_EQ(title(), "y = x     y = sqr(x-2)     ");

    // A later successful definition brings it back without the show flag.
    EXPECT_EQ(define("sqr(x-5)", 1), kNotReal);
    ASSERT_EQ(define("x*2", 1, false), "true");
    EXPECT_EQ(describe(1), "Ready shown|y = x*2     |F(x)的定积分 = 5");
    // The bounds of a slot 0 definition whose sampling fails are stored.
    EXPECT_EQ(define("0,1,1/0", 0), "Division by Zero");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         1");
    EXPECT_EQ(describe(0), "Failed shown|y = 1/0     Division by Zero|Division by Zero");
}

} // namespace
} // namespace quillet
