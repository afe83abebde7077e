// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour of the worksheet editor without any toolkit: its settings, the key and
// text-change road that decides when a line runs, and the line processor itself.
#pragma once

#include "worksheet/result_format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

class ExpressionEngine;
class WorksheetView;
class MainWindowView;
class VariableListView;
class FunctionGraphsPort;

// The keys the worksheet and the windows react to, valued as their virtual-key codes.
enum class VirtualKey : int {
    None = 0, // no key pressed yet, or Enter already handed on
    Enter = 13,
    Shift = 16,
    Ctrl = 17,
    Escape = 27,
    Up = 38,
    Down = 40,
    Insert = 45,
    Delete = 46,
    Decimal = 110, // the decimal point key of the numeric keypad
    F12 = 123,
    Other = 0xFF, // every key without an entry of its own
};

class WorksheetLogic {
public:
    static constexpr std::uint32_t kStartPrecision = 12;
    // Longer lines, counted in GBK bytes, are refused rather than evaluated.
    static constexpr std::size_t kMaxLineBytes = 2047;

    WorksheetLogic(ExpressionEngine& engine, WorksheetView& worksheet, MainWindowView& mainWindow,
                   FunctionGraphsPort& graphs, VariableListView& variableList);

    // Runs one worksheet line: the line above the caret when completedLine, else the caret's
    // line. showResult puts the outcome into the status line.
    void processLine(bool completedLine, bool showResult);

    // Key road of the editor. keyPressed returns true when the key was consumed and must not
    // reach the standard text handling (Insert pasting the last result).
    bool keyPressed(VirtualKey key);
    void keyReleased(VirtualKey key);
    void textChanged();

    const std::string& lastResult() const { return m_lastResult; }
    // The virtual-key code of the last key pressed; 0 once an Enter was handed on.
    int lastKey() const { return static_cast<int>(m_lastKey); }
    DisplayBase displayBase() const { return m_displayBase; }
    void setDisplayBase(DisplayBase base) { m_displayBase = base; }
    std::uint32_t precision() const { return m_precision; }

private:
    struct Outcome;
    Outcome runCommandOrExpression(std::string_view lower, std::string_view argumentLine,
                                   std::string_view cutLine, bool completedLine, bool showResult);

    ExpressionEngine& m_engine;
    WorksheetView& m_worksheet;
    MainWindowView& m_mainWindow;
    FunctionGraphsPort& m_graphs;
    VariableListView& m_variableList;

    std::string m_lastResult;
    VirtualKey m_lastKey = VirtualKey::None;
    DisplayBase m_displayBase = DisplayBase::Decimal;
    std::uint32_t m_precision = kStartPrecision;
    bool m_shiftDown = false;
    bool m_ctrlDown = false;
};

} // namespace quillet
