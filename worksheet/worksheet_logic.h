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

// Virtual-key codes of the keys the worksheet reacts to.
namespace vk {
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kCtrl = 17;
inline constexpr int kEscape = 27;
inline constexpr int kUp = 38;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kDecimal = 110;
inline constexpr int kF12 = 123;
} // namespace vk

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
    bool keyPressed(int virtualKey);
    void keyReleased(int virtualKey);
    void textChanged();

    const std::string& lastResult() const { return m_lastResult; }
    int lastKey() const { return m_lastKey; }
    DisplayBase displayBase() const { return m_displayBase; }
    void setDisplayBase(DisplayBase base) { m_displayBase = base; }
    std::uint32_t precision() const { return m_precision; }
    ExpressionEngine& engine() { return m_engine; }

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
    int m_lastKey = 0;
    DisplayBase m_displayBase = DisplayBase::Decimal;
    std::uint32_t m_precision = kStartPrecision;
    bool m_shiftDown = false;
    bool m_ctrlDown = false;
};

} // namespace quillet
