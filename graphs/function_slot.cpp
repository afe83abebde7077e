// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/function_slot.h"

#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "graphs/graph_texts.h"
#include "worksheet/number_text.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace quillet {

namespace {

constexpr int kLastIndex = FunctionSlot::kSampleCount - 1;
// The running point of an upward sweep that reaches the upper bound is replaced by the bound
// divided by this, which lies just inside a positive bound.
constexpr double kEndPointDivisor = 1.00000000000001;
// "%g" of the integral.
constexpr int kIntegralDigits = 6;

// Sets the variable x back to its saved real value however the sampling ends. The reference
// stays valid: evaluating an expression never removes a variable.
class RestoreX {
public:
    RestoreX(Complex& x, double saved) : m_x(x), m_saved(saved) {}
    ~RestoreX() { m_x = Complex(m_saved, 0.0); }
    RestoreX(const RestoreX&) = delete;
    RestoreX& operator=(const RestoreX&) = delete;

private:
    Complex& m_x;
    double m_saved;
};

} // namespace

void FunctionSlot::clear() {
    m_maxValue = 0.0;
    m_minValue = 0.0;
    m_shown = false;
    m_state = SlotState::Empty;
    m_expression.clear();
    m_resultText.clear();
    m_caption.clear();
}

void FunctionSlot::recordFailure(std::string_view message) {
    m_caption += message;
    m_resultText.assign(message);
}

void FunctionSlot::define(ExpressionEngine& engine, std::string_view expression, double xMin,
                          double xMax) {
    m_expression.assign(expression);
    resample(engine, xMin, xMax);
}

void FunctionSlot::resample(ExpressionEngine& engine, double xMin, double xMax) {
    m_state = SlotState::Failed;
    m_caption.assign(graph_texts::kCaptionPrefix);
    m_caption += m_expression;
    m_caption += graph_texts::kCaptionGap;

    const char* const text = m_expression.c_str();
    const int length = static_cast<int>(m_expression.size());
    const double step = (xMax - xMin) / double(kLastIndex);

    Complex& x = engine.variables().lookupOrCreate("x");
    const RestoreX restore(x, requireReal(x)); // a complex x fails here, before any evaluation

    // The extremes are taken over the finite values only, so that a single pole (ln(x) at 0)
    // cannot turn the vertical range of the plot into infinity or NaN; they stay NaN when no
    // value is finite, and such a slot is left out of the vertical range.
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    m_maxValue = kNaN;
    m_minValue = kNaN;
    bool anyFinite = false;
    const auto takeExtremes = [&](double value) {
        if (!std::isfinite(value))
            return;
        if (!anyFinite || value > m_maxValue)
            m_maxValue = value;
        if (!anyFinite || value < m_minValue)
            m_minValue = value;
        anyFinite = true;
    };

    x = Complex(xMin, 0.0);
    takeExtremes(requireReal(engine.evaluateRange(text, length)));

    // A lower bound above the upper bound is swept downward from xMin with the negative step.
    // The end-point rule is mirrored for that direction and uses the bound itself: the
    // upward nudge (bound / 1.00000000000001) would step outside a positive lower end. So
    // the samples cover the range from xMin to xMax in order, and the integral below,
    // mean x (xMax - xMin), gets the sign of the integral from xMin to xMax.
    const bool downward = xMin > xMax;
    double sum = 0.0;
    double point = xMin;
    for (int i = 0; i < kSampleCount; ++i) {
        if (downward) {
            if (point <= xMax)
                point = xMax;
        } else if (!(point < xMax)) {
            point = xMax / kEndPointDivisor;
        }
        x = Complex(point, 0.0);
        const double value = requireReal(engine.evaluateRange(text, length));
        m_samples[static_cast<std::size_t>(i)] = value;
        takeExtremes(value);
        sum += value;
        point += step; // repeated addition, not xMin + i * step
    }

    m_resultText.assign(graph_texts::kIntegralPrefix);
    m_resultText += formatGeneral(sum / double(kSampleCount) * (xMax - xMin), kIntegralDigits);
    m_state = SlotState::Ready;
}

} // namespace quillet
