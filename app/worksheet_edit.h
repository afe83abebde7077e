// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet editor widget: a plain text editor without word wrap that feeds its keys,
// text changes and focus changes into the worksheet logic, and offers the logic the text
// operations it needs.
#pragma once

#include "worksheet/worksheet_views.h"

#include <QPlainTextEdit>

#include <memory>

namespace quillet {

class WorksheetLogic;

class WorksheetEdit : public QPlainTextEdit, public WorksheetView {
    Q_OBJECT
public:
    explicit WorksheetEdit(QWidget* parent = nullptr);
    ~WorksheetEdit() override;

    // The logic is created after the windows it talks to; until then keys only edit text.
    void setLogic(WorksheetLogic* logic);
    WorksheetLogic* logic() const { return m_logic; }

    // WorksheetView (lines separated by "\n")
    int caretLine() const override;
    std::string lineText(int index) const override;
    void replaceSelection(std::string_view text) override;
    void replaceAll(std::string_view text) override;
    void focusWorksheet() override;

    // Replaces the selection with an undo record (a name from the variable list).
    void replaceSelectionUndoable(const QString& text);
    // Replaces the whole text as loading a file does: clears the modified flag and undo.
    void setWorksheetText(const QString& text);
    bool isModified() const;
    void setModified(bool modified);

    // Inserts text at the caret as the system does (results, the keypad decimal point, the
    // Insert key): replaces the selection and sets the modified flag. The insertion has no
    // undo step of its own; it is undone together with the edit before it.
    void insertSystemText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Keeps the saved selection on the same text while the document changes.
    void adjustSavedSelection(int position, int charsRemoved, int charsAdded);
    // Makes the logic's Shift and Ctrl flags agree with the modifiers of a key event.
    void syncModifierFlags(Qt::KeyboardModifiers modifiers);

    WorksheetLogic* m_logic = nullptr;
    int m_savedAnchor = 0;
    int m_savedPosition = 0;
    // Off while the whole text is replaced by loading, which must not process a line.
    bool m_forwardTextChanges = true;
};

} // namespace quillet
