// SPDX-License-Identifier: GPL-3.0-or-later
// One function of x in the graphs: its expression, 998 samples over the plotting range,
// the extremes for scaling, the definite integral as text, and its display state.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillet {

class ExpressionEngine;

enum class SlotState {
    Empty,  // never defined, or cleared
    Failed, // the last sampling started and did not complete
    Ready,  // the last sampling completed
};

class FunctionSlot {
public:
    static constexpr int kSampleCount = 998;
    using Samples = std::array<double, kSampleCount>;

    FunctionSlot() { clear(); }

    // Back to Empty: not shown, no expression, caption or result text, extremes 0.
    void clear();

    // Stores the expression and samples it (see resample). The expression stays stored when
    // sampling fails.
    void define(ExpressionEngine& engine, std::string_view expression, double xMin, double xMax);
    // Evaluates the stored expression at 998 points from xMin to xMax with the variable x set
    // to each point, once more at xMin first, and keeps the values, their finite extremes and
    // the integral line. The variable x is created with 0 when absent and holds its old value
    // afterwards. Raises CalcError (the slot is then Failed); sampling never changes shown.
    void resample(ExpressionEngine& engine, double xMin, double xMax);

    void setShown(bool shown) { m_shown = shown; }
    // A failed sampling: the message follows the caption and is the whole result text.
    void recordFailure(std::string_view message);

    // Valid only when Ready. Samples may be infinite or NaN where the function has a pole.
    const Samples& samples() const { return m_samples; }
    // The extremes of the finite samples; NaN when no sample was finite.
    double maxValue() const { return m_maxValue; }
    double minValue() const { return m_minValue; }
    bool shown() const { return m_shown; }
    SlotState state() const { return m_state; }
    bool isReady() const { return m_state == SlotState::Ready; }
    // Shown and Ready: part of the plot, the vertical range and the title, and highlighted
    // in the function list.
    bool isShownAndReady() const { return m_shown && isReady(); }
    const std::string& caption() const { return m_caption; }
    const std::string& resultText() const { return m_resultText; }
    const std::string& expression() const { return m_expression; }

private:
    Samples m_samples{};
    double m_maxValue = 0.0;
    double m_minValue = 0.0;
    bool m_shown = false;
    SlotState m_state = SlotState::Empty;
    std::string m_caption;
    std::string m_resultText;
    std::string m_expression;
};

} // namespace quillet
