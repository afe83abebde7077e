// SPDX-License-Identifier: GPL-3.0-or-later
// The function graphs model: ten function slots of x over one shared range, the vertical
// range and axis label texts derived from the shown slots, and the window titles.
#pragma once

#include "graphs/function_slot.h"
#include "worksheet/worksheet_views.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

class ExpressionEngine;
class GraphDisplay;

// The six axis label texts of the graph window.
struct AxisLabels {
    std::string yMax; // "%9.3g"
    std::string yMid; // "%9.3g" of the middle of the vertical range
    std::string yMin; // "%9.3g"
    std::string xMin; // "%.5g", not padded
    std::string xMid; // "%9.3g" of the middle of the range
    std::string xMax; // "%9.3g"
};

class FunctionGraphs : public FunctionGraphsPort {
public:
    static constexpr int kSlotCount = 10;

    explicit FunctionGraphs(ExpressionEngine& engine);

    // Defines slot (0-9) from a definition text: "lower,upper,expression" for slot 0 (the
    // range of every slot), the expression alone for the others. Returns false, changing
    // nothing, when show is false and the slot is not shown, or when slot is out of range.
    // Raises CalcError for a missing comma or a bad bound (the range is then unchanged) and,
    // after all displays were refreshed, when sampling the slot failed.
    bool defineFunction(std::string_view text, int slot, bool show) override;
    // Clears every slot; the range, the vertical range and the list title stay.
    void clearFunctions() override;
    void showGraphWindow() override;

    // Flips shown of a Ready slot; does nothing for other slots.
    void toggleShown(int slot);
    // A row of the function list: the slot's caption or its result text; empty for a slot
    // out of range.
    std::string rowText(int slot, bool showCaptions) const;

    // The windows observing the model; null (the default) for none.
    void setDisplay(GraphDisplay* display) { m_display = display; }

    // Precondition: 0 <= index < kSlotCount.
    const FunctionSlot& slot(int index) const { return m_slots[static_cast<std::size_t>(index)]; }
    double xMin() const { return m_xMin; }
    double xMax() const { return m_xMax; }
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }
    const AxisLabels& labels() const { return m_labels; }
    const std::string& graphTitle() const { return m_graphTitle; }
    const std::string& listTitle() const { return m_listTitle; }

private:
    void resampleForNewRange();
    // Brings the vertical range, the axis labels and both titles up to date with the slots
    // and notifies the display once. Every change of the slots ends here.
    void slotsChanged();
    void rebuildLabels();
    void rebuildTitle();
    void notifyChanged();

    ExpressionEngine& m_engine;
    GraphDisplay* m_display = nullptr;
    std::array<FunctionSlot, kSlotCount> m_slots;
    double m_xMin = 0.0;
    double m_xMax = 0.0;
    double m_yMin = 0.0;
    double m_yMax = 0.0;
    AxisLabels m_labels;
    std::string m_graphTitle;
    std::string m_listTitle;
    // The list title shows the range from the first definition on.
    bool m_rangeDefined = false;
};

} // namespace quillet
