// Sampling of one function slot: sample points, extremes, integral line, the variable x.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quillet {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const std::string kNotReal = "复数值错误";

// Samples expression into slot; the CalcError message, or empty on success.
std::string sampleInto(FunctionSlot& slot, ExpressionEngine& engine, const std::string& expression,
                       double xMin, double xMax) {
    try {
        slot.sample(engine, &expression, xMin, xMax);
        return {};
    } catch (const CalcError& error) {
        return std::string(error.message());
    }
}

TEST(FunctionSlot, StartsCleared) {
    const FunctionSlot slot;
    EXPECT_EQ(slot.state(), SlotState::Empty);
    EXPECT_FALSE(slot.shown());
    EXPECT_EQ(slot.maxValue(), 0.0);
    EXPECT_EQ(slot.minValue(), 0.0);
    EXPECT_EQ(slot.caption(), "");
    EXPECT_EQ(slot.resultText(), "");
    EXPECT_EQ(slot.expression(), "");
}

TEST(FunctionSlot, SamplesXOverZeroToOneAtEvenSteps) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 0.0, 1.0), "");
    EXPECT_EQ(slot.state(), SlotState::Ready);
    EXPECT_EQ(slot.expression(), "x");
    EXPECT_EQ(slot.caption(), "y = x     ");
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = 0.5");
    const auto& samples = slot.samples();
    for (int i = 0; i < FunctionSlot::kSampleCount; ++i)
        EXPECT_NEAR(samples[static_cast<std::size_t>(i)], i / 997.0, 1e-13) << "sample " << i;
    EXPECT_EQ(samples.front(), 0.0);
    EXPECT_LT(samples.back(), 1.0);
    EXPECT_NEAR(samples.back(), 1.0, 1e-13);
    EXPECT_EQ(slot.minValue(), 0.0);
    EXPECT_EQ(slot.maxValue(), samples.back());
}

TEST(FunctionSlot, IntegralIsTheMeanOfTheSamplesTimesTheWidth) {
    struct Case {
        const char* expression;
        double xMin, xMax;
        const char* resultText;
    };
    const Case cases[] = {
        {"1", 0, 1, "F(x)的定积分 = 1"},
        {"x", 0, 1, "F(x)的定积分 = 0.5"},
        {"x", 0, 0, "F(x)的定积分 = 0"},
        {"7", 3, 3, "F(x)的定积分 = 0"},
        {"2", 0, 10, "F(x)的定积分 = 20"},
        {"1", 5, 1, "F(x)的定积分 = -4"}, // descending range: integral from 5 down to 1
        {"x", 1, 0, "F(x)的定积分 = -0.5"},
        {"x", -1, 3, "F(x)的定积分 = 4"},
        {"1/3", 0, 1, "F(x)的定积分 = 0.333333"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.expression) + " over " + std::to_string(c.xMin) + ".." +
                     std::to_string(c.xMax));
        ExpressionEngine engine;
        FunctionSlot slot;
        ASSERT_EQ(sampleInto(slot, engine, c.expression, c.xMin, c.xMax), "");
        EXPECT_EQ(slot.resultText(), c.resultText);
    }
}

TEST(FunctionSlot, RangeZeroToZeroSamplesZeroEverywhere) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 0.0, 0.0), "");
    for (const double value : slot.samples())
        EXPECT_EQ(value, 0.0);
    EXPECT_EQ(slot.maxValue(), 0.0);
    EXPECT_EQ(slot.minValue(), 0.0);
}

TEST(FunctionSlot, RunningPointReachingTheUpperBoundIsNudgedByTheDivisor) {
    struct Case {
        double xMin, xMax;
    };
    // In both ranges repeated addition of the step reaches the bound at the last point.
    const Case cases[] = {{0.0, 2.0}, {-10.0, -1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xMax);
        ExpressionEngine engine;
        FunctionSlot slot;
        ASSERT_EQ(sampleInto(slot, engine, "x", c.xMin, c.xMax), "");
        const double last = slot.samples().back();
        EXPECT_EQ(last, c.xMax / 1.00000000000001);
        EXPECT_NE(last, c.xMax);
        if (c.xMax > 0)
            EXPECT_LT(last, c.xMax); // just inside a positive bound
        else
            EXPECT_GT(last, c.xMax); // just outside a negative one
    }
}

TEST(FunctionSlot, EqualBoundsSampleEveryPointAtTheNudgedBound) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 2.0, 2.0), "");
    for (const double value : slot.samples())
        EXPECT_EQ(value, 2.0 / 1.00000000000001);
    EXPECT_EQ(slot.maxValue(), 2.0); // the priming value at xMin itself
}

TEST(FunctionSlot, DescendingRangeIsSampledDownwardOverTheWholeRange) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 5.0, 1.0), "");
    const auto& samples = slot.samples();
    EXPECT_EQ(samples.front(), 5.0);
    EXPECT_NEAR(samples.back(), 1.0, 1e-12);
    EXPECT_GE(samples.back(), 1.0);
    for (std::size_t i = 1; i < samples.size(); ++i)
        ASSERT_LT(samples[i], samples[i - 1]) << "sample " << i;
    EXPECT_EQ(slot.maxValue(), 5.0);
    EXPECT_NEAR(slot.minValue(), 1.0, 1e-12);
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = -12"); // mean 3 times width -4
}

TEST(FunctionSlot, DescendingRunningPointPassingTheLowerEndUsesTheBoundItself) {
    // Equal steps from 1 down to -2: any point at or below -2 is -2 exactly.
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 1.0, -2.0), "");
    for (const double value : slot.samples())
        EXPECT_GE(value, -2.0);
    EXPECT_NEAR(slot.samples().back(), -2.0, 1e-12);
}

TEST(FunctionSlot, VariableXIsRestoredOrCreated) {
    struct Case {
        const char* name;
        bool defineX;
        const char* expression;
        double xMin, xMax;
        const char* message;
    };
    const Case cases[] = {
        {"absent x, success", false, "x*x", 0, 1, ""},
        {"absent x, failure at priming", false, "sqr(x)", -1, 1, "复数值错误"},
        {"x = 5, success", true, "x*x", 0, 1, ""},
        {"x = 5, failure midway", true, "sqr(x-0.5)", 0, 1, "复数值错误"},
        {"x = 5, failure at priming", true, "1/0", 0, 1, "Division by Zero"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpressionEngine engine;
        if (c.defineX)
            engine.evaluateLine("x=5");
        FunctionSlot slot;
        EXPECT_EQ(sampleInto(slot, engine, c.expression, c.xMin, c.xMax), c.message);
        const Complex* x = engine.variables().find("x");
        ASSERT_NE(x, nullptr);
        EXPECT_EQ(*x, Complex(c.defineX ? 5.0 : 0.0, 0.0));
        EXPECT_EQ(slot.state(), *c.message ? SlotState::Failed : SlotState::Ready);
    }
}

TEST(FunctionSlot, ComplexXFailsBeforeEvaluatingAndIsKept) {
    ExpressionEngine engine;
    engine.evaluateLine("x=2i");
    FunctionSlot slot;
    // rnd draws from the generator at every evaluation; an untouched generator shows that
    // nothing was evaluated.
    EXPECT_EQ(sampleInto(slot, engine, "rnd(1)", 0, 1), kNotReal);
    EXPECT_EQ(slot.state(), SlotState::Failed);
    EXPECT_EQ(slot.expression(), "rnd(1)");
    EXPECT_EQ(slot.caption(), "y = rnd(1)     ");
    EXPECT_EQ(*engine.variables().find("x"), Complex(0.0, 2.0));
    ExpressionEngine fresh;
    EXPECT_EQ(engine.nextRandom(), fresh.nextRandom());
}

TEST(FunctionSlot, OneComplexPointFailsTheWholeSampling) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x", 0, 1), "");
    EXPECT_EQ(sampleInto(slot, engine, "sqr(x-0.999)", 0, 1), kNotReal);
    EXPECT_EQ(slot.state(), SlotState::Failed);
    EXPECT_EQ(slot.expression(), "sqr(x-0.999)");
    EXPECT_EQ(slot.caption(), "y = sqr(x-0.999)     ");
}

TEST(FunctionSlot, ResamplingWithoutTextUsesTheStoredExpression) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x*2", 0, 1), "");
    slot.sample(engine, nullptr, 0, 3);
    EXPECT_EQ(slot.expression(), "x*2");
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = 9");
}

TEST(FunctionSlot, SamplingNeverChangesShown) {
    ExpressionEngine engine;
    FunctionSlot slot;
    slot.setShown(true);
    ASSERT_EQ(sampleInto(slot, engine, "x", 0, 1), "");
    EXPECT_TRUE(slot.shown());
    EXPECT_EQ(sampleInto(slot, engine, "sqr(x-2)", 0, 1), kNotReal);
    EXPECT_TRUE(slot.shown());
    slot.setShown(false);
    ASSERT_EQ(sampleInto(slot, engine, "x", 0, 1), "");
    EXPECT_FALSE(slot.shown());
}

TEST(FunctionSlot, RecordedFailureFollowsTheCaptionAndIsTheResultText) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "sqr(x-2)", 0, 1), kNotReal);
    slot.recordFailure(kNotReal);
    EXPECT_EQ(slot.caption(), "y = sqr(x-2)     复数值错误");
    EXPECT_EQ(slot.resultText(), kNotReal);
}

TEST(FunctionSlot, PoleKeepsInfiniteSamplesAndFiniteExtremes) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "ln(x)", 0, 1), "");
    EXPECT_EQ(slot.state(), SlotState::Ready);
    EXPECT_EQ(slot.samples().front(), -kInf);
    EXPECT_TRUE(std::isfinite(slot.minValue()));
    EXPECT_NEAR(slot.minValue(), std::log(1.0 / 997.0), 1e-12);
    EXPECT_NEAR(slot.maxValue(), 0.0, 1e-12);
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = -inf");
}

TEST(FunctionSlot, NoFiniteSampleGivesNaNExtremes) {
    struct Case {
        const char* expression;
        const char* resultText;
    };
    const Case cases[] = {
        {"ln(x*0)", "F(x)的定积分 = -inf"},
        {"1e999", "F(x)的定积分 = inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        ExpressionEngine engine;
        FunctionSlot slot;
        ASSERT_EQ(sampleInto(slot, engine, c.expression, 0, 1), "");
        EXPECT_EQ(slot.state(), SlotState::Ready);
        EXPECT_TRUE(std::isnan(slot.maxValue()));
        EXPECT_TRUE(std::isnan(slot.minValue()));
        EXPECT_EQ(slot.resultText(), c.resultText);
    }
}

TEST(FunctionSlot, NaNSamplesGiveANaNIntegralText) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "ln(x*0)-ln(x*0)", 0, 1), "");
    EXPECT_TRUE(std::isnan(slot.samples()[500]));
    const std::string text = slot.resultText();
    EXPECT_TRUE(text == "F(x)的定积分 = nan" || text == "F(x)的定积分 = -nan") << text;
}

TEST(FunctionSlot, ClearEmptiesTheSlot) {
    ExpressionEngine engine;
    FunctionSlot slot;
    ASSERT_EQ(sampleInto(slot, engine, "x+3", 0, 1), "");
    slot.setShown(true);
    slot.clear();
    EXPECT_EQ(slot.state(), SlotState::Empty);
    EXPECT_FALSE(slot.shown());
    EXPECT_EQ(slot.maxValue(), 0.0);
    EXPECT_EQ(slot.minValue(), 0.0);
    EXPECT_EQ(slot.caption(), "");
    EXPECT_EQ(slot.resultText(), "");
    EXPECT_EQ(slot.expression(), "");
}

} // namespace
} // namespace quillet
