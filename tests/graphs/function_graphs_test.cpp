// SPDX-License-Identifier: GPL-3.0-or-later
// The function graphs model: definitions, the shared range, labels, titles, the list rows
// and clearing.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "graphs/graph_display.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;

const std::string kNotReal = "复数值错误";
const std::string kMissingComma = "您的输入缺少','";

struct RecordingDisplay : GraphDisplay {
    int shows = 0, changes = 0;
    void showWindow() override { ++shows; }
    void displaysChanged() override { ++changes; }
};

std::string joined(const AxisLabels& l) {
    return l.yMax + '|' + l.yMid + '|' + l.yMin + '|' + l.xMin + '|' + l.xMid + '|' + l.xMax;
}

// A slot as "state[ shown]|caption|result text", to check it in one line.
std::string describe(const FunctionSlot& s) {
    static const char* const kStates[] = {"Empty", "Failed", "Ready"};
    return kStates[static_cast<int>(s.state())] + (s.shown() ? " shown|"s : "|") + s.caption() +
           '|' + s.resultText();
}

// Everything a definition may change, with exact doubles, for "nothing changed" checks.
std::string snapshot(const FunctionGraphs& g) {
    std::ostringstream out;
    out << std::hexfloat << g.xMin() << ' ' << g.xMax() << ' ' << g.yMin() << ' ' << g.yMax() << '|'
        << g.listTitle() << '|' << g.graphTitle();
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i)
        out << '|' << describe(g.slot(i)) << g.slot(i).expression() << g.slot(i).samples().back();
    return out.str();
}

class Graphs : public ::testing::Test {
protected:
    Graphs() {
        EXPECT_EQ(graphs.listTitle(), "图形函数列表");
        graphs.setDisplay(&display);
    }

    // "true" or "false" as returned, or the message of the CalcError raised.
    std::string define(std::string_view text, int slot, bool show = true) {
        try {
            return graphs.defineFunction(text, slot, show) ? "true" : "false";
        } catch (const CalcError& error) {
            return std::string(error.message());
        }
    }
    // Defines (text, slot) pairs with the show flag; each must succeed.
    void defineAll(std::initializer_list<std::pair<const char*, int>> definitions) {
        for (const auto& [text, index] : definitions)
            EXPECT_EQ(define(text, index), "true") << text;
    }
    const FunctionSlot& slot(int index) const { return graphs.slot(index); }
    // A function list row with captions shown, "|", and the row with result texts shown.
    std::string row(int index) const {
        return graphs.rowText(index, true) + '|' + graphs.rowText(index, false);
    }
    const std::string& title() const { return graphs.graphTitle(); }

    ExpressionEngine engine;
    RecordingDisplay display;
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
        const int changes = display.changes;
        ASSERT_EQ(define(definition, 0), "true") << definition;
        EXPECT_EQ(display.changes, changes + 1) << definition; // one notification
        const AxisLabels& l = graphs.labels();
        EXPECT_EQ(joined(l), labels) << definition;
        EXPECT_EQ(graphs.listTitle(), "自变量范围:  " + l.xMin + " --> " + l.xMax);
    }
}

TEST_F(Graphs, VerticalRangeCombinesTheShownReadySlots) {
    // 0 .. ~1, -1 .. ~3, 10 .. ~11, and a shown Ready slot without a finite sample.
    defineAll({{"0,1,x", 0}, {"x*4-1", 1}, {"x+10", 2}, {"ln(x*0)", 3}});
    EXPECT_EQ(describe(slot(3)), "Ready shown|y = ln(x*0)     |F(x)的定积分 = -inf");
    EXPECT_EQ(graphs.yMin(), -1.0);
    EXPECT_NEAR(graphs.yMax(), 11.0, 1e-12);
    // Hiding 2 narrows the range; then only the slot without finite samples, then no slot at
    // all is shown: the range stays.
    for (const int index : {2, 0, 1, 3}) {
        graphs.toggleShown(index);
        EXPECT_EQ(graphs.yMin(), -1.0);
        EXPECT_NEAR(graphs.yMax(), 3.0, 1e-12);
        EXPECT_EQ(graphs.labels().yMax, "        3");
    }
}

TEST_F(Graphs, RefusedAndIgnoredDefinitionsChangeNothing) {
    defineAll({{"0,2,x", 0}, {"x*3", 1}});
    graphs.toggleShown(1);
    const std::string before = snapshot(graphs);
    const int changes = display.changes;
    const auto expectUnchanged = [&](const char* text, int index, bool show, std::string result) {
        EXPECT_EQ(define(text, index, show), result) << index << text;
        EXPECT_EQ(snapshot(graphs), before) << index << text;
        EXPECT_EQ(display.changes, changes) << index << text;
    };
    for (const char* text : {"0,1", "0,(1,x", "", "   ", "(0,1,x", "0,max(1,x", "0;1;x", "5"})
        expectUnchanged(text, 0, true, kMissingComma);
    // A good lower bound is not stored alone when the upper one fails.
    for (const char* text : {"sqr(-1),3,x", "5,sqr(-1),x", "2i,3,x"})
        expectUnchanged(text, 0, true, kNotReal);
    expectUnchanged("5,1/0,x", 0, true, "Division by Zero");
    // Show false for a slot that is not shown, and a slot out of range, are ignored.
    for (const int index : {1, 5}) {
        for (const char* text : {"x*x+1", "0,9,x"})
            expectUnchanged(text, index, false, "false");
    }
    for (const int index : {-1, 10, 1000}) {
        expectUnchanged("x", index, true, "false");
        graphs.toggleShown(index);
        EXPECT_EQ(row(index), "|");
    }
    EXPECT_EQ(snapshot(graphs), before);
    // Show false re-samples the shown slot 0. The range changed, so slot 1 follows (a lower
    // bound 5 left behind by "5,sqr(-1),x" would have hidden the change).
    ASSERT_EQ(define("5,2,x*x", 0, false), "true");
    EXPECT_EQ(describe(slot(0)), "Ready shown|y = x*x     |F(x)的定积分 = -39.0045");
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
        EXPECT_EQ(graphs.xMin(), xMin) << text;
        EXPECT_EQ(graphs.xMax(), xMax) << text;
        EXPECT_EQ(slot(0).expression(), expression);
    }
}

TEST_F(Graphs, SlotBeforeAnyRangeIsSampledOverZeroToZero) {
    engine.evaluateLine("x=7");
    ASSERT_EQ(define("x+3", 1), "true");
    for (const double value : slot(1).samples())
        EXPECT_EQ(value, 3.0);
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 0");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         0");
    EXPECT_EQ(*engine.variables().find("x"), Complex(7.0, 0.0));
}

TEST_F(Graphs, OtherSlotsAreResampledOnlyWhenABoundChanges) {
    engine.evaluateLine("k=-1");
    defineAll({{"0,1,x", 0}, {"x+k", 1}, {"x*k*3", 2}, {"sqr(x)", 4}});
    graphs.toggleShown(2);
    EXPECT_EQ(define("sqr(x+k)", 3), kNotReal); // Failed over 0..1 with k = -1
    const std::string slot1 = describe(slot(1)), slot2 = describe(slot(2));
    ASSERT_EQ(slot1 + slot2, "Ready shown|y = x+k     |F(x)的定积分 = -0.5"
                             "Ready|y = x*k*3     |F(x)的定积分 = -1.5");

    engine.evaluateLine("k=2");
    ASSERT_EQ(define("0,1,x*x", 0), "true"); // same bounds: nothing else is sampled again
    EXPECT_EQ(describe(slot(1)) + describe(slot(2)), slot1 + slot2);
    EXPECT_EQ(slot(3).state(), SlotState::Failed);

    ASSERT_EQ(define("0,2,x*x", 0), "true"); // upper bound changed: every defined slot follows
    EXPECT_EQ(describe(slot(1)), "Ready shown|y = x+k     |F(x)的定积分 = 6");
    EXPECT_EQ(describe(slot(2)), "Ready|y = x*k*3     |F(x)的定积分 = 12"); // still hidden
    EXPECT_EQ(describe(slot(3)), "Ready|y = sqr(x+k)     |F(x)的定积分 = 3.44768");
    for (int i = 5; i < FunctionGraphs::kSlotCount; ++i)
        EXPECT_EQ(slot(i).state(), SlotState::Empty);

    // Lower bound changed: a slot failing over the new range records it and fails nothing else.
    ASSERT_EQ(define("-1,2,x*x", 0), "true");
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 7.5");
    EXPECT_EQ(describe(slot(4)), "Failed shown|y = sqr(x)     复数值错误|复数值错误");
}

TEST_F(Graphs, FailedDefinitionKeepsShownAndReplacesTheExpression) {
    defineAll({{"0,1,x", 0}, {"x*2", 1}});
    graphs.toggleShown(0);
    EXPECT_EQ(title(), "y = x*2     F(x)的定积分 = 1");
    const int changes = display.changes;

    EXPECT_EQ(define("sqr(x-2)", 1), kNotReal);
    EXPECT_EQ(describe(slot(1)), "Failed shown|y = sqr(x-2)     复数值错误|复数值错误");
    // The displays were refreshed before the error was raised.
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         1");
    EXPECT_EQ(display.changes, changes + 1);

    // A range change re-samples the failed expression, not the one before it.
    ASSERT_EQ(define("2,3,x", 0), "true");
    EXPECT_EQ(title(), "y = x     y = sqr(x-2)     ");

    // A later successful definition brings it back without the show flag.
    EXPECT_EQ(define("sqr(x-5)", 1), kNotReal);
    ASSERT_EQ(define("x*2", 1, false), "true");
    EXPECT_EQ(describe(slot(1)), "Ready shown|y = x*2     |F(x)的定积分 = 5");

    // A new slot whose first definition fails is not shown.
    EXPECT_EQ(define("sqr(x-5)", 4), kNotReal);
    EXPECT_EQ(describe(slot(4)), "Failed|y = sqr(x-5)     复数值错误|复数值错误");
    // The bounds of a slot 0 definition whose sampling fails are stored.
    EXPECT_EQ(define("0,1,1/0", 0), "Division by Zero");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         1");
    EXPECT_EQ(describe(slot(0)), "Failed shown|y = 1/0     Division by Zero|Division by Zero");
}

TEST_F(Graphs, TitleListRowsAndToggleFollowTheShownReadySlots) {
    defineAll({{"0,1,x", 0}, {"1", 3}});
    EXPECT_EQ(define("sqr(x-2)", 1), kNotReal);
    EXPECT_EQ(title(), "y = x     y = 1     ");
    EXPECT_EQ(row(0), "y = x     |F(x)的定积分 = 0.5");
    EXPECT_EQ(row(1), "y = sqr(x-2)     复数值错误|复数值错误");
    EXPECT_EQ(row(2) + row(9), "||");
    // Only a Ready slot flips: toggling the Failed 1 and the Empty 2 changes nothing.
    for (const int index : {1, 2, 0})
        graphs.toggleShown(index);
    EXPECT_EQ(title(), "y = 1     F(x)的定积分 = 1");
    const int changes = display.changes;
    graphs.toggleShown(3);
    EXPECT_EQ(title(), "");
    EXPECT_EQ(display.changes, changes + 1);
    graphs.toggleShown(0);
    EXPECT_EQ(title(), "y = x     F(x)的定积分 = 0.5");
}

TEST_F(Graphs, ClearKeepsRangeListTitleAndVerticalRange) {
    defineAll({{"-1,3,x", 0}, {"x*x", 1}});
    const std::string labels = joined(graphs.labels());
    const double yMin = graphs.yMin(), yMax = graphs.yMax();
    const int changes = display.changes;

    graphs.clearFunctions();
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i)
        EXPECT_EQ(describe(slot(i)) + row(i), "Empty|||");
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(graphs.yMin(), yMin);
    EXPECT_EQ(graphs.yMax(), yMax);
    EXPECT_EQ(joined(graphs.labels()), labels);
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  -1 -->         3");
    EXPECT_GT(display.changes, changes);
    ASSERT_EQ(define("1", 2), "true"); // a new slot is sampled over the kept range
    EXPECT_EQ(slot(2).resultText(), "F(x)的定积分 = 4");
}

TEST_F(Graphs, LongAndArbitraryDefinitionTextsNeverCrash) {
    std::string product = "x", spaced;
    while (product.size() < 6000)
        product += "*1";
    for (const char c : "0,1," + product)
        spaced += c + " \t"s;
    ASSERT_EQ(define(spaced, 0), "true"); // evaluated whole, blanks dropped
    EXPECT_EQ(describe(slot(0)), "Ready shown|y = " + product + "     |F(x)的定积分 = 0.5");
    for (const std::string& text :
         {"0,1,x\0y"s, std::string(5000, '('), std::string(5000, ','), ",(,),"s, "0,1,x,"s,
          "0,1,\xff\xfe\x80"s, "1e999,-1e999,x"s, "0," + std::string(10000, '+') + "x"}) {
        for (int index : {0, 1}) {
            EXPECT_NE(define(text, index), "false") << index << ": " << text.substr(0, 40);
            EXPECT_EQ(slot(index).expression().find('\0'), std::string::npos);
        }
    }
}

} // namespace
} // namespace quillet
