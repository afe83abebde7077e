// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet without any window: the expression engine, the function graphs, the line
// processor and an in-memory worksheet put together, driven by the same key road as the
// editor. Used by the batch tool, the fuzz target and the tests.
#pragma once

#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "worksheet/memory_worksheet.h"
#include "worksheet/worksheet_logic.h"

#include <string>
#include <string_view>

namespace quillet {

class WorksheetSession {
public:
    WorksheetSession();
    WorksheetSession(const WorksheetSession&) = delete;
    WorksheetSession& operator=(const WorksheetSession&) = delete;

    // Types text at the caret and completes the line with Enter.
    void completeLine(std::string_view text);
    // Enter at the caret, as the editor delivers it: key press, the line break (unless the
    // key was consumed), the text-change notification, key release.
    void pressEnter();
    // Up or Down from the caret's line to line: the line left runs silently, the line
    // arrived at runs into the status line.
    void moveCaret(VirtualKey key, int line);

    ExpressionEngine& engine() { return m_engine; }
    FunctionGraphs& graphs() { return m_graphs; }
    WorksheetLogic& logic() { return m_logic; }
    MemoryWorksheet& worksheet() { return m_worksheet; }
    std::string text(std::string_view lineBreak = "\n") const {
        return m_worksheet.text(lineBreak);
    }
    const std::string& status() const { return m_worksheet.statusText(); }
    // How often the line processor asked for the variable list to be rebuilt.
    int variableListRefreshes() const { return m_variableList.refreshes; }

private:
    struct CountingVariableList : VariableListView {
        int refreshes = 0;
        void refreshVariableList() override { ++refreshes; }
    };

    ExpressionEngine m_engine;
    MemoryWorksheet m_worksheet;
    FunctionGraphs m_graphs{m_engine};
    CountingVariableList m_variableList;
    WorksheetLogic m_logic{m_engine, m_worksheet, m_worksheet, m_graphs, m_variableList};
};

} // namespace quillet
