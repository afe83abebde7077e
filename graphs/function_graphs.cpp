// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/function_graphs.h"

#include "engine/ascii.h"
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "engine/messages.h"
#include "graphs/graph_display.h"
#include "graphs/graph_texts.h"
#include "worksheet/number_text.h"

#include <cmath>
#include <cstddef>
#include <optional>

namespace quillet {

namespace {

constexpr int kLabelDigits = 3;      // "%9.3g"
constexpr int kLabelWidth = 9;       // "%9.3g"
constexpr int kLowerBoundDigits = 5; // "%.5g"

// The definition text without white space. A zero byte ends the text, as it ends any text
// the expression engine reads.
std::string withoutWhiteSpace(std::string_view text) {
    std::string copy;
    copy.reserve(text.size());
    for (const char c : text) {
        if (c == '\0')
            break;
        if (!ascii::isBlank(c))
            copy += c;
    }
    return copy;
}

struct RangeCommas {
    std::size_t first;
    std::size_t second;
};

// The first two commas outside parentheses; none when the text ends before the second one
// (also when a "(" is never closed). A ")" without its "(" is an ordinary character here.
std::optional<RangeCommas> findRangeCommas(std::string_view text) {
    int depth = 0;
    std::optional<std::size_t> first;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (depth > 0)
                --depth;
        } else if (c == ',' && depth == 0) {
            if (first)
                return RangeCommas{*first, i};
            first = i;
        }
    }
    return std::nullopt;
}

// A range bound: the expression text[begin, end) of the blank-free, zero-terminated copy.
double evaluateBound(ExpressionEngine& engine, const std::string& text, std::size_t begin,
                     std::size_t end) {
    return requireReal(engine.evaluateRange(text.c_str() + begin, static_cast<int>(end - begin)));
}

} // namespace

FunctionGraphs::FunctionGraphs(ExpressionEngine& engine)
    : m_engine(engine), m_listTitle(graph_texts::kListTitleInitial) {
    rebuildLabels();
}

bool FunctionGraphs::defineFunction(std::string_view text, int slotIndex, bool show) {
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        return false;
    FunctionSlot& target = m_slots[static_cast<std::size_t>(slotIndex)];
    if (!show && !target.shown())
        return false;

    std::string copy = withoutWhiteSpace(text);
    std::string expression;
    if (slotIndex == 0) {
        const std::optional<RangeCommas> commas = findRangeCommas(copy);
        if (!commas)
            throw CalcError(messages::kMissingComma);
        // Both bounds are evaluated before either is stored: a failing upper bound must not
        // leave a new lower bound in force over samples taken for the old range, which would
        // also hide the range change from the next definition and keep stale slots.
        const double lower = evaluateBound(m_engine, copy, 0, commas->first);
        const double upper = evaluateBound(m_engine, copy, commas->first + 1, commas->second);
        const bool changed = lower != m_xMin || upper != m_xMax;
        m_xMin = lower;
        m_xMax = upper;
        if (changed)
            resampleForNewRange();
        expression = copy.substr(commas->second + 1);
    } else {
        expression = std::move(copy);
    }

    std::optional<std::string> failure;
    try {
        target.define(m_engine, expression, m_xMin, m_xMax);
    } catch (const CalcError& error) {
        target.recordFailure(error.message());
        failure.emplace(error.message());
    }
    // A shown slot whose new definition failed stays marked shown; it is left out of the
    // plot and the title until a later definition of it succeeds.
    if (show && target.isReady())
        target.setShown(true);

    m_rangeDefined = true;
    slotsChanged();
    if (failure)
        throw CalcError(*failure);
    return true;
}

void FunctionGraphs::resampleForNewRange() {
    // Every defined slot follows the range of slot 0, shown or not, failed ones included; a
    // failure is recorded in its own slot and stops nothing.
    for (std::size_t i = 1; i < m_slots.size(); ++i) {
        FunctionSlot& slot = m_slots[i];
        if (slot.state() == SlotState::Empty)
            continue;
        try {
            slot.resample(m_engine, m_xMin, m_xMax);
        } catch (const CalcError& error) {
            slot.recordFailure(error.message());
        }
    }
}

void FunctionGraphs::clearFunctions() {
    for (FunctionSlot& slot : m_slots)
        slot.clear();
    slotsChanged();
}

void FunctionGraphs::slotsChanged() {
    rebuildLabels();
    if (m_rangeDefined) {
        m_listTitle.assign(graph_texts::kRangeTitlePrefix);
        m_listTitle += m_labels.xMin;
        m_listTitle += graph_texts::kRangeArrow;
        m_listTitle += m_labels.xMax;
    }
    rebuildTitle();
    notifyChanged();
}

void FunctionGraphs::rebuildLabels() {
    bool first = true;
    for (const FunctionSlot& slot : m_slots) {
        // A slot without any finite sample has NaN extremes and no vertical extent.
        if (!slot.isShownAndReady() || std::isnan(slot.maxValue()))
            continue;
        if (first || slot.maxValue() > m_yMax)
            m_yMax = slot.maxValue();
        if (first || slot.minValue() < m_yMin)
            m_yMin = slot.minValue();
        first = false;
    }
    m_labels.yMax = formatGeneralPadded(m_yMax, kLabelDigits, kLabelWidth);
    m_labels.yMid = formatGeneralPadded((m_yMax + m_yMin) / 2.0, kLabelDigits, kLabelWidth);
    m_labels.yMin = formatGeneralPadded(m_yMin, kLabelDigits, kLabelWidth);
    m_labels.xMin = formatGeneral(m_xMin, kLowerBoundDigits);
    m_labels.xMid = formatGeneralPadded((m_xMin + m_xMax) / 2.0, kLabelDigits, kLabelWidth);
    m_labels.xMax = formatGeneralPadded(m_xMax, kLabelDigits, kLabelWidth);
}

void FunctionGraphs::rebuildTitle() {
    const FunctionSlot* only = nullptr;
    int count = 0;
    m_graphTitle.clear();
    for (const FunctionSlot& slot : m_slots) {
        if (!slot.isShownAndReady())
            continue;
        only = &slot;
        ++count;
        m_graphTitle += slot.caption();
    }
    // One function: its caption (ending in five blanks) and its integral line.
    if (count == 1)
        m_graphTitle += only->resultText();
}

void FunctionGraphs::toggleShown(int slotIndex) {
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        return;
    FunctionSlot& slot = m_slots[static_cast<std::size_t>(slotIndex)];
    if (!slot.isReady())
        return;
    slot.setShown(!slot.shown());
    slotsChanged();
}

std::string FunctionGraphs::rowText(int slotIndex, bool showCaptions) const {
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        return {};
    const FunctionSlot& slot = m_slots[static_cast<std::size_t>(slotIndex)];
    return showCaptions ? slot.caption() : slot.resultText();
}

void FunctionGraphs::showGraphWindow() {
    if (m_display != nullptr)
        m_display->showWindow();
}

void FunctionGraphs::notifyChanged() {
    if (m_display != nullptr)
        m_display->displaysChanged();
}

} // namespace quillet
