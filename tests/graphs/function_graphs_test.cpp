// The function graphs model: definitions, the shared range, labels, titles, the list rows,
// clearing, and the line processor driving the model.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "graphs/graph_display.h"
#include "worksheet/memory_worksheet.h"
#include "worksheet/worksheet_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;

const std::string kNotReal = "复数值错误";
const std::string kMissingComma = "您的输入缺少','";

struct RecordingDisplay : GraphDisplay {
    int shows = 0;
    int changes = 0;
    void showWindow() override { ++shows; }
    void displaysChanged() override { ++changes; }
};

struct Outcome {
    std::optional<bool> result; // empty when a CalcError was raised
    std::string message;
};

class Graphs : public ::testing::Test {
protected:
    Graphs() { graphs.setDisplay(&display); }

    Outcome define(std::string_view text, int slot, bool show = true) {
        try {
            return {graphs.defineFunction(text, slot, show), {}};
        } catch (const CalcError& error) {
            return {std::nullopt, std::string(error.message())};
        }
    }
    void expectDefined(std::string_view text, int slot, bool show = true) {
        const Outcome outcome = define(text, slot, show);
        ASSERT_EQ(outcome.message, "") << text;
        ASSERT_EQ(outcome.result, true) << text;
    }
    const FunctionSlot& slot(int index) const { return graphs.slot(index); }

    ExpressionEngine engine;
    RecordingDisplay display;
    FunctionGraphs graphs{engine};
};

// Everything of the model that a definition may change, for "nothing changed" checks.
struct Snapshot {
    double xMin, xMax, yMin, yMax;
    std::string listTitle, graphTitle;
    std::vector<std::string> captions, results, expressions;
    std::vector<SlotState> states;
    std::vector<bool> shown;
    std::vector<double> lastSamples;

    explicit Snapshot(const FunctionGraphs& g)
        : xMin(g.xMin()), xMax(g.xMax()), yMin(g.yMin()), yMax(g.yMax()), listTitle(g.listTitle()),
          graphTitle(g.graphTitle()) {
        for (int i = 0; i < FunctionGraphs::kSlotCount; ++i) {
            const FunctionSlot& s = g.slot(i);
            captions.push_back(s.caption());
            results.push_back(s.resultText());
            expressions.push_back(s.expression());
            states.push_back(s.state());
            shown.push_back(s.shown());
            lastSamples.push_back(s.samples().back());
        }
    }
    bool operator==(const Snapshot&) const = default;
};

TEST_F(Graphs, StartsWithEmptySlotsAndTheInitialTitles) {
    EXPECT_EQ(graphs.xMin(), 0.0);
    EXPECT_EQ(graphs.xMax(), 0.0);
    EXPECT_EQ(graphs.yMin(), 0.0);
    EXPECT_EQ(graphs.yMax(), 0.0);
    EXPECT_EQ(graphs.listTitle(), "图形函数列表");
    EXPECT_EQ(graphs.graphTitle(), "");
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i)
        EXPECT_EQ(slot(i).state(), SlotState::Empty);
    EXPECT_EQ(graphs.labels().xMin, "0");
    EXPECT_EQ(graphs.labels().xMax, "        0");
}

TEST_F(Graphs, SlotZeroSetsTheRangeAndIsShown) {
    expectDefined("-1,1,x*x", 0);
    EXPECT_EQ(slot(0).state(), SlotState::Ready);
    EXPECT_TRUE(slot(0).shown());
    EXPECT_EQ(slot(0).expression(), "x*x");
    EXPECT_EQ(graphs.xMin(), -1.0);
    EXPECT_EQ(graphs.xMax(), 1.0);
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  -1 -->         1");
    EXPECT_EQ(display.changes, 1);
    EXPECT_EQ(display.shows, 0); // showing the window is the caller's decision
}

TEST_F(Graphs, LabelsFollowTheRangeAndTheShownSlots) {
    struct Case {
        const char* definition;
        AxisLabels labels;
        const char* listTitle;
    };
    const Case cases[] = {
        {"-1,1,x*x",
         {"        1", "      0.5", " 1.01e-06", "-1", "        0", "        1"},
         "自变量范围:  -1 -->         1"},
        {"0,10,x",
         {"       10", "        5", "        0", "0", "        5", "       10"},
         "自变量范围:  0 -->        10"},
        {"-123456.7,0.001234567,1234567",
         {" 1.23e+06", " 1.23e+06", " 1.23e+06", "-1.2346e+05", "-6.17e+04", "  0.00123"},
         "自变量范围:  -1.2346e+05 -->   0.00123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        ExpressionEngine engine;
        FunctionGraphs graphs(engine);
        ASSERT_TRUE(graphs.defineFunction(c.definition, 0, true));
        const AxisLabels& labels = graphs.labels();
        EXPECT_EQ(labels.yMax, c.labels.yMax);
        EXPECT_EQ(labels.yMid, c.labels.yMid);
        EXPECT_EQ(labels.yMin, c.labels.yMin);
        EXPECT_EQ(labels.xMin, c.labels.xMin);
        EXPECT_EQ(labels.xMid, c.labels.xMid);
        EXPECT_EQ(labels.xMax, c.labels.xMax);
        EXPECT_EQ(graphs.listTitle(), c.listTitle);
    }
}

TEST_F(Graphs, VerticalRangeCombinesTheShownReadySlots) {
    expectDefined("0,1,x", 0); // 0 .. ~1
    expectDefined("x*4-1", 1); // -1 .. ~3
    expectDefined("x+10", 2);  // 10 .. 11, hidden below
    graphs.toggleShown(2);
    graphs.refreshLabels();
    EXPECT_EQ(graphs.yMin(), -1.0);
    EXPECT_NEAR(graphs.yMax(), 3.0, 1e-12);
    graphs.toggleShown(2);
    graphs.refreshLabels();
    EXPECT_NEAR(graphs.yMax(), 11.0, 1e-12);
    EXPECT_EQ(graphs.yMin(), -1.0);
}

TEST_F(Graphs, VerticalRangeStaysWhenNoSlotQualifies) {
    expectDefined("0,1,x*2", 0);
    graphs.toggleShown(0);
    graphs.refreshLabels();
    EXPECT_EQ(graphs.yMin(), 0.0);
    EXPECT_NEAR(graphs.yMax(), 2.0, 1e-12);
    EXPECT_EQ(graphs.labels().yMax, "        2");
}

TEST_F(Graphs, SlotWithoutFiniteSamplesTakesNoPartInTheVerticalRange) {
    expectDefined("0,1,x", 0);
    expectDefined("ln(x*0)", 1);
    EXPECT_EQ(slot(1).state(), SlotState::Ready);
    EXPECT_TRUE(slot(1).shown());
    EXPECT_EQ(graphs.yMin(), 0.0);
    EXPECT_NEAR(graphs.yMax(), 1.0, 1e-12);
    graphs.toggleShown(0);
    graphs.refreshLabels(); // only the slot without finite samples is shown: range stays
    EXPECT_EQ(graphs.yMin(), 0.0);
    EXPECT_NEAR(graphs.yMax(), 1.0, 1e-12);
}

TEST_F(Graphs, PoleAtTheLowerBoundKeepsLabelsFinite) {
    expectDefined("0,1,ln(x)", 0);
    EXPECT_EQ(slot(0).samples().front(), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isfinite(graphs.yMin()));
    EXPECT_TRUE(std::isfinite(graphs.yMax()));
    EXPECT_EQ(graphs.labels().yMin, "     -6.9"); // ln(1/997) at the second point
    EXPECT_EQ(graphs.labels().yMax, "-9.99e-15"); // ln of the nudged upper bound
    EXPECT_EQ(slot(0).resultText(), "F(x)的定积分 = -inf");
}

TEST_F(Graphs, MissingRangeCommasChangeNothing) {
    expectDefined("0,2,x", 0);
    expectDefined("x*3", 1);
    graphs.refreshTitle();
    const Snapshot before(graphs);
    const int changes = display.changes;
    for (const char* text : {"0,1", "0,(1,x", "", "   ", "(0,1,x", "0,max(1,x", "0;1;x", "5"}) {
        SCOPED_TRACE(text);
        const Outcome outcome = define(text, 0);
        EXPECT_EQ(outcome.message, kMissingComma);
        EXPECT_EQ(Snapshot(graphs), before);
        EXPECT_EQ(display.changes, changes);
    }
}

TEST_F(Graphs, BoundErrorsChangeNeitherBoundNorSlots) {
    expectDefined("0,2,x", 0);
    expectDefined("x*3", 1);
    const Snapshot before(graphs);
    struct Case {
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {"sqr(-1),3,x", kNotReal},
        {"5,sqr(-1),x", kNotReal}, // a good lower bound is not stored alone
        {"5,1/0,x", "Division by Zero"},
        {"2i,3,x", kNotReal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Outcome outcome = define(c.text, 0);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(Snapshot(graphs), before);
    }
    // The range is unchanged, so a definition over it still re-samples nothing else.
    expectDefined("5,2,x", 0);
    EXPECT_EQ(graphs.xMin(), 5.0);
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = -31.5");
}

TEST_F(Graphs, RangeCommasOutsideParenthesesSplitTheText) {
    struct Case {
        const char* text;
        double xMin, xMax;
        const char* expression;
    };
    const Case cases[] = {
        {"0,max(1,2),x", 0, 2, "x"},
        {"min(-1,0),(1),max(x,0.5)", -1, 1, "max(x,0.5)"},
        {"0,1,max(x,(2)),", 0, 1, "max(x,(2)),"}, // the rest, commas included
        {" 1 0 ,\t2\n0 ,\v x *\f x\r", 10, 20, "x*x"},
        {"pi,2*pi,sin(x)", 3.141592653589793, 6.283185307179586, "sin(x)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpressionEngine engine;
        FunctionGraphs graphs(engine);
        try {
            graphs.defineFunction(c.text, 0, true);
        } catch (const CalcError&) {
            // "max(x,(2))," is not a valid expression; the split is what is checked here.
        }
        EXPECT_EQ(graphs.xMin(), c.xMin);
        EXPECT_EQ(graphs.xMax(), c.xMax);
        EXPECT_EQ(graphs.slot(0).expression(), c.expression);
    }
}

TEST_F(Graphs, SlotBeforeAnyRangeIsSampledOverZeroToZero) {
    engine.evaluateLine("x=7");
    expectDefined("x+3", 1);
    for (const double value : slot(1).samples())
        EXPECT_EQ(value, 3.0);
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 0");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         0");
    EXPECT_EQ(*engine.variables().find("x"), Complex(7.0, 0.0));
}

TEST_F(Graphs, OtherSlotsAreResampledOnlyWhenABoundChanges) {
    engine.evaluateLine("k=-1");
    expectDefined("0,1,x", 0);
    expectDefined("x+k", 1);   // shown
    expectDefined("x*k*3", 2); // then hidden
    graphs.toggleShown(2);
    EXPECT_EQ(define("sqr(x+k)", 3).message, kNotReal); // Failed over 0..1 with k = -1
    const std::string result1 = slot(1).resultText();
    const std::string result2 = slot(2).resultText();
    ASSERT_EQ(result1, "F(x)的定积分 = -0.5");
    ASSERT_EQ(result2, "F(x)的定积分 = -1.5");

    engine.evaluateLine("k=2");
    expectDefined("0,1,x*x", 0); // same bounds: nothing else is sampled again
    EXPECT_EQ(slot(1).resultText(), result1);
    EXPECT_EQ(slot(2).resultText(), result2);
    EXPECT_EQ(slot(3).state(), SlotState::Failed);

    expectDefined("0,2,x*x", 0); // upper bound changed: every defined slot follows
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 6");
    EXPECT_EQ(slot(2).resultText(), "F(x)的定积分 = 12");
    EXPECT_EQ(slot(3).state(), SlotState::Ready);
    EXPECT_FALSE(slot(2).shown()); // re-sampling never changes shown
    EXPECT_FALSE(slot(3).shown());
    for (int i = 4; i < FunctionGraphs::kSlotCount; ++i)
        EXPECT_EQ(slot(i).state(), SlotState::Empty);

    expectDefined("1,2,x*x", 0); // lower bound changed
    EXPECT_EQ(slot(1).resultText(), "F(x)的定积分 = 3.5");
}

TEST_F(Graphs, FailedResamplingIsRecordedInItsSlotOnly) {
    expectDefined("0,1,x", 0);
    expectDefined("sqr(x)", 1);
    expectDefined("x", 2);
    expectDefined("-1,1,x", 0);
    EXPECT_EQ(slot(1).state(), SlotState::Failed);
    EXPECT_EQ(slot(1).caption(), "y = sqr(x)     复数值错误");
    EXPECT_EQ(slot(1).resultText(), kNotReal);
    EXPECT_EQ(slot(2).state(), SlotState::Ready);
    EXPECT_EQ(slot(0).state(), SlotState::Ready);
}

TEST_F(Graphs, FailedDefinitionKeepsShownAndReplacesTheExpression) {
    expectDefined("0,1,x", 0);
    expectDefined("x*2", 1);
    graphs.toggleShown(0);
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "y = x*2     F(x)的定积分 = 1");
    const int changes = display.changes;

    EXPECT_EQ(define("sqr(x-2)", 1).message, kNotReal);
    EXPECT_EQ(slot(1).state(), SlotState::Failed);
    EXPECT_TRUE(slot(1).shown());
    EXPECT_EQ(slot(1).expression(), "sqr(x-2)");
    EXPECT_EQ(slot(1).caption(), "y = sqr(x-2)     复数值错误");
    EXPECT_EQ(slot(1).resultText(), kNotReal);
    // The displays were refreshed before the error was raised.
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  0 -->         1");
    EXPECT_GT(display.changes, changes);

    // A range change re-samples the failed expression, not the one before it.
    expectDefined("2,3,x", 0);
    EXPECT_EQ(slot(1).state(), SlotState::Ready);
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "y = x     y = sqr(x-2)     ");

    // A later successful definition brings it back without the show flag.
    EXPECT_EQ(define("sqr(x-5)", 1).message, kNotReal);
    expectDefined("x*2", 1, false);
    EXPECT_TRUE(slot(1).shown());
    EXPECT_EQ(slot(1).state(), SlotState::Ready);
}

TEST_F(Graphs, FailedDefinitionOfANewSlotIsNotShown) {
    expectDefined("0,1,x", 0);
    EXPECT_EQ(define("sqr(x-2)", 4).message, kNotReal);
    EXPECT_FALSE(slot(4).shown());
    EXPECT_EQ(slot(4).state(), SlotState::Failed);
    EXPECT_EQ(define("0,1,1/0", 0).message, "Division by Zero"); // the bounds were stored
    EXPECT_EQ(slot(0).state(), SlotState::Failed);
    EXPECT_TRUE(slot(0).shown());
}

TEST_F(Graphs, ShowFalseOnASlotNotShownReturnsFalseAndChangesNothing) {
    expectDefined("0,1,x", 0);
    expectDefined("x*2", 1);
    graphs.toggleShown(1);
    const Snapshot before(graphs);
    const int changes = display.changes;
    for (const int index : {1, 5}) {
        SCOPED_TRACE(index);
        const Outcome outcome = define("x*x+1", index, false);
        EXPECT_EQ(outcome.result, false);
        EXPECT_EQ(outcome.message, "");
    }
    const Outcome zero = define("0,9,x", 5, false);
    EXPECT_EQ(zero.result, false);
    EXPECT_EQ(Snapshot(graphs), before);
    EXPECT_EQ(display.changes, changes);
}

TEST_F(Graphs, ShowFalseResamplesAShownSlot) {
    expectDefined("0,1,x", 0);
    expectDefined("0,2,x*x", 0, false);
    EXPECT_EQ(slot(0).expression(), "x*x");
    EXPECT_EQ(graphs.xMax(), 2.0);
    EXPECT_TRUE(slot(0).shown());
}

TEST_F(Graphs, SlotOutOfRangeIsIgnored) {
    const Snapshot before(graphs);
    for (const int index : {-1, 10, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(define("x", index).result, false);
        graphs.toggleShown(index);
        EXPECT_EQ(graphs.rowText(index, true), "");
    }
    EXPECT_EQ(Snapshot(graphs), before);
}

TEST_F(Graphs, RefreshTitleWithOneAndWithTwoShownSlots) {
    expectDefined("0,1,x", 0);
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "y = x     F(x)的定积分 = 0.5");
    expectDefined("1", 3);
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "y = x     y = 1     ");
    graphs.toggleShown(0);
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "y = 1     F(x)的定积分 = 1");
    graphs.toggleShown(3);
    const int changes = display.changes;
    graphs.refreshTitle();
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(display.changes, changes + 1);
}

TEST_F(Graphs, ToggleShownFlipsReadySlotsOnly) {
    expectDefined("0,1,x", 0);
    EXPECT_EQ(define("sqr(x-2)", 1).message, kNotReal);
    graphs.toggleShown(0);
    EXPECT_FALSE(slot(0).shown());
    graphs.toggleShown(0);
    EXPECT_TRUE(slot(0).shown());
    graphs.toggleShown(1); // Failed
    EXPECT_FALSE(slot(1).shown());
    graphs.toggleShown(2); // Empty
    EXPECT_FALSE(slot(2).shown());
}

TEST_F(Graphs, RowTextIsTheCaptionOrTheResultText) {
    expectDefined("0,1,x*x", 0);
    EXPECT_EQ(define("sqr(x-2)", 1).message, kNotReal);
    struct Case {
        int slot;
        bool showCaptions;
        std::string text;
    };
    const Case cases[] = {
        {0, true, "y = x*x     "},
        {0, false, slot(0).resultText()},
        {1, true, "y = sqr(x-2)     复数值错误"},
        {1, false, kNotReal},
        {2, true, ""},
        {9, false, ""},
    };
    ASSERT_EQ(slot(0).resultText().rfind("F(x)的定积分 = 0.33", 0), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(graphs.rowText(c.slot, c.showCaptions), c.text);
    }
}

TEST_F(Graphs, ClearKeepsRangeListTitleAndVerticalRange) {
    expectDefined("-1,3,x", 0);
    expectDefined("x*x", 1);
    graphs.refreshTitle();
    const AxisLabels labels = graphs.labels();
    const double yMin = graphs.yMin();
    const double yMax = graphs.yMax();
    const int changes = display.changes;

    graphs.clearFunctions();
    for (int i = 0; i < FunctionGraphs::kSlotCount; ++i) {
        EXPECT_EQ(slot(i).state(), SlotState::Empty);
        EXPECT_FALSE(slot(i).shown());
        EXPECT_EQ(graphs.rowText(i, true), "");
        EXPECT_EQ(graphs.rowText(i, false), "");
    }
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(graphs.xMin(), -1.0);
    EXPECT_EQ(graphs.xMax(), 3.0);
    EXPECT_EQ(graphs.yMin(), yMin);
    EXPECT_EQ(graphs.yMax(), yMax);
    EXPECT_EQ(graphs.labels().yMax, labels.yMax);
    EXPECT_EQ(graphs.labels().yMin, labels.yMin);
    EXPECT_EQ(graphs.labels().xMax, labels.xMax);
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  -1 -->         3");
    EXPECT_GT(display.changes, changes);

    // The range is kept: a new slot is sampled over it.
    expectDefined("1", 2);
    EXPECT_EQ(slot(2).resultText(), "F(x)的定积分 = 4");
}

TEST_F(Graphs, DescendingRangeGivesTheSignedIntegral) {
    expectDefined("5,1,x", 0);
    EXPECT_EQ(graphs.xMin(), 5.0);
    EXPECT_EQ(graphs.xMax(), 1.0);
    EXPECT_EQ(slot(0).samples().front(), 5.0);
    EXPECT_NEAR(slot(0).samples().back(), 1.0, 1e-12);
    EXPECT_EQ(slot(0).resultText(), "F(x)的定积分 = -12");
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  5 -->         1");
    EXPECT_NEAR(graphs.yMax(), 5.0, 1e-12);
    EXPECT_NEAR(graphs.yMin(), 1.0, 1e-12);
}

TEST_F(Graphs, ComplexXFailsEverySampling) {
    engine.evaluateLine("x=1+2i");
    EXPECT_EQ(define("0,1,1", 0).message, kNotReal);
    EXPECT_EQ(slot(0).state(), SlotState::Failed);
    EXPECT_EQ(*engine.variables().find("x"), Complex(1.0, 2.0));
}

TEST_F(Graphs, DefinitionCreatesXWithZero) {
    expectDefined("0,1,x", 0);
    EXPECT_EQ(*engine.variables().find("x"), Complex(0.0, 0.0));
}

TEST_F(Graphs, LongDefinitionTextsAreEvaluated) {
    std::string product = "x";
    while (product.size() < 6000)
        product += "*1";
    expectDefined("0,1," + product, 0);
    EXPECT_EQ(slot(0).expression(), product);
    EXPECT_EQ(slot(0).resultText(), "F(x)的定积分 = 0.5");

    std::string spaced;
    for (const char c : product) {
        spaced += c;
        spaced += " \t";
    }
    expectDefined(spaced, 1);
    EXPECT_EQ(slot(1).expression(), product);
}

TEST_F(Graphs, ArbitraryDefinitionTextsNeverCrash) {
    const std::string texts[] = {
        "",
        ",",
        ",,",
        ",,,",
        "(",
        ")",
        "((((",
        "))))",
        ",(,),",
        "0,1,(((((",
        "0,1,)",
        "0,1,\xff\xfe\x80",
        "\xe5\x9b\xbe,\xe5,x",
        "0,1,x\0y"s,
        "0\0,1,x"s,
        "0,1,x,",
        "0,1,,",
        std::string(5000, '('),
        std::string(5000, ','),
        "0,1," + std::string(3000, '(') + "x" + std::string(3000, ')'),
        "0,1," + std::string(10000, '+') + "x",
        "0,1,1" + std::string(9000, '0'),
        "1e999,-1e999,x",
        "0,1e999,x",
        "-1e999,1e999,x",
    };
    for (int index : {0, 1}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::to_string(index) + ": " + text.substr(0, 40));
            const Outcome outcome = define(text, index);
            EXPECT_TRUE(outcome.result == true || !outcome.message.empty());
            EXPECT_EQ(slot(index).expression().find('\0'), std::string::npos);
        }
    }
}

// The line processor drives the model through its port.
struct NoVariableList : VariableListView {
    void refreshVariableList() override {}
};

TEST_F(Graphs, LineProcessorDefinesAndClearsThroughTheModel) {
    MemoryWorksheet sheet;
    NoVariableList variables;
    WorksheetLogic logic(engine, sheet, sheet, graphs, variables);
    const auto complete = [&](std::string_view line) {
        sheet.insertAtCaret(line);
        logic.textChanged();
        logic.keyPressed(vk::kEnter);
        sheet.insertAtCaret("\n");
        logic.textChanged();
        logic.keyReleased(vk::kEnter);
    };

    complete("fx0 -1,1,x*x");
    EXPECT_EQ(sheet.statusText(), "F(x) OK!");
    EXPECT_EQ(display.shows, 1);
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  -1 -->         1");
    EXPECT_EQ(graphs.graphTitle(), "y = x*x     " + slot(0).resultText());

    complete("fx1 sqr(x)");
    EXPECT_EQ(sheet.statusText(), kNotReal);
    EXPECT_EQ(slot(1).caption(), "y = sqr(x)     复数值错误");

    complete("fxclr");
    EXPECT_EQ(graphs.graphTitle(), "");
    EXPECT_EQ(slot(0).state(), SlotState::Empty);
    EXPECT_EQ(graphs.listTitle(), "自变量范围:  -1 -->         1");
}

} // namespace
} // namespace quillet
