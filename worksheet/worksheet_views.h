// SPDX-License-Identifier: GPL-3.0-or-later
// The small interfaces through which the line processor reaches the windows around it:
// the worksheet text, the main window, the function graphs and the variable list.
// The desktop application implements them with widgets; tests and the batch tool with
// plain in-memory classes.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The worksheet text control. Lines are separated by "\n" here; files use CR LF.
class WorksheetView {
public:
    virtual ~WorksheetView() = default;
    // Index of the line that holds the caret (the start of the selection).
    virtual int caretLine() const = 0;
    // The text of line index without its line break; empty for an index out of range.
    virtual std::string lineText(int index) const = 0;
    // Replaces the selection (or inserts at the caret) as system text: no undo step of its
    // own, undone together with the edit before it. The caret ends behind the inserted text.
    virtual void replaceSelection(std::string_view text) = 0;
    // Replaces the whole text (used to empty the worksheet), undoably, and marks the text
    // as unmodified.
    virtual void replaceAll(std::string_view text) = 0;
    virtual void focusWorksheet() = 0;
};

// What the line processor needs of the main window.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void setStatusText(std::string_view text) = 0;
    // The check box "results shown in the worksheet", read afresh for every line.
    virtual bool showResultsInWorksheet() const = 0;
};

class VariableListView {
public:
    virtual ~VariableListView() = default;
    // Rebuilds the list of variables from the variable table with the current precision.
    virtual void refreshVariableList() = 0;
};

// The function definitions and the graph window, as the line processor uses them.
class FunctionGraphsPort {
public:
    virtual ~FunctionGraphsPort() = default;
    // Defines slot (0-9) from the text after the command word. Returns false when the call
    // was ignored (show false and the slot not shown). Raises CalcError.
    virtual bool defineFunction(std::string_view text, int slot, bool show) = 0;
    virtual void clearFunctions() = 0;
    // Shows the graph window without taking the keyboard focus. The title and the drawing
    // need no call: every change of the definitions brings them up to date.
    virtual void showGraphWindow() = 0;
};

} // namespace quillet
