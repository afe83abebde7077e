// Sampling of one function slot: sample points, extremes, integral line, the variable x.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace quillet {
namespace {

using namespace std::string_literals;

// Samples expression into slot; the CalcError message, or empty on success.
std::string sampleInto(FunctionSlot& slot, ExpressionEngine& engine, const std::string& expression,
                       double xMin, double xMax) {
    try {
        slot.define(engine, expression, xMin, xMax);
        return {};
    } catch (const CalcError& error) {
        return std::string(error.message());
    }
}

// A slot sampled with a fresh engine; the sampling must succeed.
FunctionSlot sampled(const std::string& expression, double xMin, double xMax) {
    ExpressionEngine engine;
    FunctionSlot slot;
    EXPECT_EQ(sampleInto(slot, engine, expression, xMin, xMax), "") << expression;
    return slot;
}

TEST(FunctionSlot, SamplesXOverZeroToOneAtEvenSteps) {
    const FunctionSlot slot = sampled("x", 0.0, 1.0);
    EXPECT_EQ(slot.state(), SlotState::Ready);
    EXPECT_FALSE(slot.shown()); // sampling never shows a slot
    EXPECT_EQ(slot.expression() + "|" + slot.caption(), "x|y = x     ");
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = 0.5");
    const auto& samples = slot.samples();
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(samples[i], static_cast<double>(i) / 997.0, 1e-13) << "sample " << i;
    EXPECT_EQ(samples.front(), 0.0);
    EXPECT_LT(samples.back(), 1.0);
    EXPECT_EQ(slot.minValue(), 0.0);
    EXPECT_EQ(slot.maxValue(), samples.back());
}

TEST(FunctionSlot, IntegralIsTheMeanOfTheSamplesTimesTheWidth) {
    // A descending range gives the integral from its lower bound down to its upper one.
    const std::tuple<const char*, double, double, const char*> cases[] = {
        {"1", 0, 1, "1"},   {"x", 0, 1, "0.5"},        {"x", 0, 0, "0"},  {"7", 3, 3, "0"},
        {"2", 0, 10, "20"}, {"x", -1, 3, "4"},         {"1", 5, 1, "-4"}, {"x", 1, 0, "-0.5"},
        {"x", 5, 1, "-12"}, {"1/3", 0, 1, "0.333333"},
    };
    for (const auto& [expression, xMin, xMax, integral] : cases) {
        SCOPED_TRACE(testing::Message() << expression << " over " << xMin << ".." << xMax);
        EXPECT_EQ(sampled(expression, xMin, xMax).resultText(), "F(x)的定积分 = "s + integral);
    }
}

TEST(FunctionSlot, RunningPointReachingTheUpperBoundIsNudgedByTheDivisor) {
    // Repeated addition of the step reaches the bound at the last point, so that point lies
    // just inside a positive bound and just outside a negative one; equal bounds nudge them all.
    for (const auto& [xMin, xMax] : {std::pair(0.0, 2.0), {-10.0, -1.0}, {0.0, 0.0}, {2.0, 2.0}}) {
        SCOPED_TRACE(testing::Message() << xMin << ".." << xMax);
        const FunctionSlot slot = sampled("x", xMin, xMax);
        const double nudged = xMax / 1.00000000000001;
        EXPECT_EQ(slot.samples().back(), nudged);
        if (xMin == xMax) {
            for (const double value : slot.samples())
                EXPECT_EQ(value, nudged);
            EXPECT_EQ(slot.maxValue(), xMin); // the priming value at xMin itself
            EXPECT_EQ(slot.minValue(), nudged);
        }
    }
}

TEST(FunctionSlot, DescendingRangeIsSampledDownwardOverTheWholeRange) {
    for (const auto& [xMin, xMax] : {std::pair(5.0, 1.0), {1.0, -2.0}}) {
        SCOPED_TRACE(xMin);
        const FunctionSlot slot = sampled("x", xMin, xMax);
        const auto& samples = slot.samples();
        EXPECT_EQ(samples.front(), xMin);
        for (std::size_t i = 1; i < samples.size(); ++i)
            ASSERT_LT(samples[i], samples[i - 1]) << "sample " << i;
        EXPECT_GE(samples.back(), xMax); // never past the lower end
        EXPECT_NEAR(samples.back(), xMax, 1e-12);
        EXPECT_EQ(slot.maxValue(), xMin);
        EXPECT_NEAR(slot.minValue(), xMax, 1e-12);
    }
}

TEST(FunctionSlot, VariableXIsRestoredOrCreated) {
    const std::tuple<const char*, const char*, double, const char*, Complex> cases[] = {
        // x before, expression, lower bound (upper 1), message, x afterwards
        {"", "x*x", 0, "", {0, 0}},
        {"", "sqr(x)", -1, "复数值错误", {0, 0}}, // fails at priming
        {"x=5", "x*x", 0, "", {5, 0}},
        {"x=5", "sqr(x-0.5)", 0, "复数值错误", {5, 0}}, // one complex point midway
        {"x=5", "1/0", 0, "Division by Zero", {5, 0}},
        // A complex x fails before anything is evaluated: rnd would draw from the generator.
        {"x=2i", "rnd(1)", 0, "复数值错误", {0, 2}},
    };
    for (const auto& [before, expression, xMin, message, after] : cases) {
        SCOPED_TRACE(std::string(before) + " " + expression);
        ExpressionEngine engine;
        engine.evaluateLine(before);
        FunctionSlot slot;
        EXPECT_EQ(sampleInto(slot, engine, expression, xMin, 1), message);
        const Complex* x = engine.variables().find("x");
        ASSERT_NE(x, nullptr);
        EXPECT_EQ(*x, after);
        EXPECT_EQ(slot.state(), *message ? SlotState::Failed : SlotState::Ready);
        EXPECT_EQ(slot.caption(), "y = "s + expression + "     "); // set before evaluating
        EXPECT_EQ(engine.nextRandom(), ExpressionEngine().nextRandom());
    }
}

TEST(FunctionSlot, PoleKeepsInfiniteSamplesAndFiniteExtremes) {
    const FunctionSlot slot = sampled("ln(x)", 0, 1);
    EXPECT_EQ(slot.samples().front(), -HUGE_VAL);
    EXPECT_NEAR(slot.minValue(), std::log(1.0 / 997.0), 1e-12);
    EXPECT_NEAR(slot.maxValue(), 0.0, 1e-12);
    EXPECT_EQ(slot.resultText(), "F(x)的定积分 = -inf");
}

TEST(FunctionSlot, NoFiniteSampleGivesNaNExtremes) {
    for (const auto& [expression, integral] :
         {std::pair("ln(x*0)", "-inf"), {"1e999", "inf"}, {"ln(x*0)-ln(x*0)", "nan"}}) {
        const FunctionSlot slot = sampled(expression, 0, 1);
        EXPECT_TRUE(std::isnan(slot.maxValue()) && std::isnan(slot.minValue())) << expression;
        std::string text = slot.resultText();
        if (text.ends_with("-nan")) // the sign of a NaN is the platform's
            text.erase(text.size() - 4, 1);
        EXPECT_EQ(text, "F(x)的定积分 = "s + integral);
    }
}

} // namespace
} // namespace quillet
