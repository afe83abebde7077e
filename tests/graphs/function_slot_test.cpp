// SPDX-License-Identifier: GPL-3.0-or-later
// Sampling of one function slot: sample points, extremes, the integral line, the variable x.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/function_slot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

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

FunctionSlot sampled(const std::string& expression, double xMin, double xMax) {
    ExpressionEngine engine;
    FunctionSlot slot;
    EXPECT_EQ(sampleInto(slot, engine, expression, xMin, xMax), "") << expression;
    return slot;
}

TEST(FunctionSlot, SamplesRunInEvenStepsAndTheLastReachingTheBoundIsNudged) {
    const FunctionSlot slot = sampled("x", 0.0, 1.0);
    EXPECT_EQ(slot.state(), SlotState::Ready);
    EXPECT_FALSE(slot.shown()); // sampling never shows a slot
    EXPECT_EQ(slot.caption(), "y = x     ");
    const auto& samples = slot.samples();
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_NEAR(samples[i], static_cast<double>(i) / 997.0, 1e-13) << "sample " << i;
    EXPECT_EQ(samples.front(), 0.0);
    EXPECT_EQ(slot.minValue(), 0.0);
    EXPECT_EQ(slot.maxValue(), samples.back());
    // Repeated addition reaches the bound at the last point: just inside a positive bound,
    // just outside a negative one; equal bounds nudge every point.
    for (const auto& [xMin, xMax] : {std::pair(0.0, 2.0), {-10.0, -1.0}, {2.0, 2.0}}) {
        const FunctionSlot s = sampled("x", xMin, xMax);
        EXPECT_EQ(s.samples().back(), xMax / 1.00000000000001) << xMin;
        EXPECT_EQ(s.samples()[500] == s.samples().back(), xMin == xMax) << xMin;
    }
    // A descending range is sampled downward and never past its lower end.
    const FunctionSlot down = sampled("x", 1.0, -2.0);
    for (std::size_t i = 1; i < down.samples().size(); ++i)
        ASSERT_LT(down.samples()[i], down.samples()[i - 1]) << "sample " << i;
    EXPECT_GE(down.samples().back(), -2.0);
    EXPECT_NEAR(down.minValue(), -2.0, 1e-12);
    EXPECT_EQ(down.maxValue(), 1.0);
}

TEST(FunctionSlot, IntegralIsTheMeanOfTheSamplesTimesTheWidth) {
    const std::tuple<const char*, double, double, const char*> cases[] = {
        {"x", 0, 1, "0.5"},        {"7", 3, 3, "0"},        {"2", 0, 10, "20"},
        {"x", -1, 3, "4"},         {"1", 5, 1, "-4"},       {"x", 5, 1, "-12"},
        {"1/3", 0, 1, "0.333333"}, {"ln(x)", 0, 1, "-inf"}, {"1e999", 0, 1, "inf"},
    };
    for (const auto& [expression, xMin, xMax, integral] : cases)
        EXPECT_EQ(sampled(expression, xMin, xMax).resultText(), "F(x)的定积分 = "s + integral)
            << expression << " over " << xMin << ".." << xMax;
}

TEST(FunctionSlot, ExtremesSkipSamplesThatAreNotFinite) {
    const FunctionSlot pole = sampled("ln(x)", 0, 1);
    EXPECT_EQ(pole.samples().front(), -HUGE_VAL);
    EXPECT_NEAR(pole.minValue(), std::log(1.0 / 997.0), 1e-12);
    EXPECT_NEAR(pole.maxValue(), 0.0, 1e-12);
    const FunctionSlot none = sampled("ln(x*0)-ln(x*0)", 0, 1);
    EXPECT_TRUE(std::isnan(none.maxValue()) && std::isnan(none.minValue()));
}

TEST(FunctionSlot, VariableXIsRestoredOrCreated) {
    const std::tuple<const char*, const char*, double, const char*, Complex> cases[] = {
        // x before, expression, lower bound (upper 1), message, x afterwards
        {"", "x*x", 0, "", {0, 0}},
        {"", "sqr(x)", -1, "复数值错误", {0, 0}},       // fails at priming
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
        ASSERT_NE(engine.variables().find("x"), nullptr);
        EXPECT_EQ(*engine.variables().find("x"), after);
        EXPECT_EQ(slot.state(), *message ? SlotState::Failed : SlotState::Ready);
        EXPECT_EQ(slot.caption(), "y = "s + expression + "     "); // set before evaluating
        EXPECT_EQ(engine.nextRandom(), ExpressionEngine().nextRandom());
    }
}

} // namespace
} // namespace quillet
