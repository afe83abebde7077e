// A worksheet wired to in-memory views and recording fakes, for line processor tests.
#pragma once

#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "worksheet/memory_worksheet.h"
#include "worksheet/worksheet_logic.h"
#include "worksheet/worksheet_views.h"

#include <string>
#include <vector>

namespace quillet::test {

struct FakeGraphs : FunctionGraphsPort {
    struct Definition {
        std::string text;
        int slot;
        bool show;
    };
    std::vector<Definition> definitions;
    std::string failWith; // raised by defineFunction when not empty
    bool accept = true;
    int clears = 0, titleRefreshes = 0, shows = 0, repaints = 0;

    bool defineFunction(std::string_view text, int slot, bool show) override {
        definitions.push_back({std::string(text), slot, show});
        if (!failWith.empty())
            throw CalcError(failWith);
        return accept;
    }
    void clearFunctions() override { ++clears; }
    void refreshTitle() override { ++titleRefreshes; }
    void showGraphWindow() override { ++shows; }
    void repaintGraphWindow() override { ++repaints; }
};

struct FakeVariableList : VariableListView {
    int refreshes = 0;
    void refreshVariableList() override { ++refreshes; }
};

struct Sheet {
    ExpressionEngine engine;
    MemoryWorksheet worksheet;
    FakeGraphs graphs;
    FakeVariableList variables;
    WorksheetLogic logic{engine, worksheet, worksheet, graphs, variables};

    void press(VirtualKey key) {
        if (!logic.keyPressed(key) && key == VirtualKey::Enter)
            worksheet.insertAtCaret("\n");
        if (key == VirtualKey::Enter)
            logic.textChanged();
        logic.keyReleased(key);
    }
    // Types text at the caret and presses Enter, as a user completing a line.
    void complete(std::string_view line) {
        worksheet.insertAtCaret(line);
        logic.textChanged(); // typing never runs a line
        press(VirtualKey::Enter);
    }
    std::string text() const { return worksheet.text(); }
    std::string status() const { return worksheet.statusText(); }
};

} // namespace quillet::test
