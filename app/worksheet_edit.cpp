// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/worksheet_edit.h"

#include "app/key_codes.h"
#include "worksheet/worksheet_logic.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace quillet {

WorksheetEdit::WorksheetEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in a form; the worksheet is reached with Tab too.
    setTabChangesFocus(true);
    setFocusPolicy(Qt::StrongFocus);

    QTextDocument* doc = document();
    connect(doc, &QTextDocument::contentsChanged, this, [this] {
        if (m_logic && m_forwardTextChanges)
            m_logic->textChanged();
    });
    connect(doc, &QTextDocument::contentsChange, this, &WorksheetEdit::adjustSavedSelection);
}

WorksheetEdit::~WorksheetEdit() {
    // The document goes away after this object's part of it: no notification may reach the
    // logic from here on.
    m_logic = nullptr;
    disconnect(document(), nullptr, this, nullptr);
}

void WorksheetEdit::setLogic(WorksheetLogic* logic) {
    m_logic = logic;
}

int WorksheetEdit::caretLine() const {
    return document()->findBlock(textCursor().selectionStart()).blockNumber();
}

std::string WorksheetEdit::lineText(int index) const {
    const QTextBlock block = document()->findBlockByNumber(index);
    if (!block.isValid())
        return {};
    return block.text().toStdString();
}

void WorksheetEdit::replaceSelection(std::string_view text) {
    insertSystemText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void WorksheetEdit::replaceAll(std::string_view text) {
    // Edited through a cursor rather than setPlainText: this runs inside the change
    // notification of the Enter that completed a "cls" line, and joins that Enter's undo
    // step, so one Ctrl+Z brings back the whole worksheet and the line as it was typed.
    QTextDocument* doc = document();
    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    cursor.endEditBlock();
    setTextCursor(cursor);
    // The document remembers this undo state as the unmodified one: undoing the clearing
    // sets the flag again.
    doc->setModified(false);
}

void WorksheetEdit::focusWorksheet() {
    // Activating a window that is already active still raises it under most window
    // managers, which would bury a graph window that a definition has just brought up.
    if (QWidget* top = window(); top != this && !top->isActiveWindow())
        top->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void WorksheetEdit::replaceSelectionUndoable(const QString& text) {
    // An edit block of its own keeps the insertion a separate undo step instead of merging
    // it with the characters typed just before.
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    document()->setModified(true);
}

void WorksheetEdit::setWorksheetText(const QString& text) {
    m_forwardTextChanges = false;
    // The document's own replacement: the editor's would also give every character the
    // caret's format, a second pass over the whole text that makes a large file load slowly.
    document()->setPlainText(text);
    m_forwardTextChanges = true;
    document()->setModified(false);
    m_savedAnchor = m_savedPosition = 0;
}

bool WorksheetEdit::isModified() const {
    return document()->isModified();
}

void WorksheetEdit::setModified(bool modified) {
    document()->setModified(modified);
}

void WorksheetEdit::insertSystemText(const QString& text) {
    QTextCursor cursor = textCursor();
    if (text.isEmpty() && !cursor.hasSelection())
        return;
    QTextDocument* doc = document();
    if (doc->isUndoAvailable()) {
        // No undo step of its own: the insertion joins the step before it, so a result goes
        // with the Enter that produced it and the earlier history stays intact.
        cursor.joinPreviousEditBlock();
        cursor.insertText(text);
        cursor.endEditBlock();
    } else {
        // Nothing to join: the insertion stays out of the history. Switching the history off
        // empties it, but it holds nothing to undo, and any edit drops the redo steps anyway.
        doc->setUndoRedoEnabled(false);
        cursor.insertText(text);
        doc->setUndoRedoEnabled(true);
    }
    setTextCursor(cursor);
    doc->setModified(true);
}

void WorksheetEdit::syncModifierFlags(Qt::KeyboardModifiers modifiers) {
    // A Shift or Ctrl released while another control had the focus never reached us; the
    // modifiers of the event itself say what is held now.
    if (modifiers.testFlag(Qt::ShiftModifier))
        m_logic->keyPressed(VirtualKey::Shift);
    else
        m_logic->keyReleased(VirtualKey::Shift);
    if (modifiers.testFlag(Qt::ControlModifier))
        m_logic->keyPressed(VirtualKey::Ctrl);
    else
        m_logic->keyReleased(VirtualKey::Ctrl);
}

void WorksheetEdit::keyPressEvent(QKeyEvent* event) {
    if (!m_logic) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const VirtualKey key = virtualKeyOf(*event);
    if (key == VirtualKey::Insert)
        syncModifierFlags(event->modifiers());
    if (m_logic->keyPressed(key)) {
        event->accept();
        return;
    }
    if (key == VirtualKey::Enter && (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        // Shift+Enter would start a soft line break inside the same line, and Ctrl+Enter
        // would do nothing: every Enter ends the line.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & Qt::KeypadModifier,
                        QStringLiteral("\r"), event->isAutoRepeat());
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void WorksheetEdit::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as press and release pairs on some systems: only the final release
    // counts, so that only the last line reached is shown.
    if (m_logic && !event->isAutoRepeat())
        m_logic->keyReleased(virtualKeyOf(*event));
    QPlainTextEdit::keyReleaseEvent(event);
}

void WorksheetEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    const int last = std::max(0, document()->characterCount() - 1);
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(m_savedAnchor, 0, last));
    cursor.setPosition(std::clamp(m_savedPosition, 0, last), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void WorksheetEdit::focusOutEvent(QFocusEvent* event) {
    const QTextCursor cursor = textCursor();
    m_savedAnchor = cursor.anchor();
    m_savedPosition = cursor.position();
    QPlainTextEdit::focusOutEvent(event);
}

void WorksheetEdit::adjustSavedSelection(int position, int charsRemoved, int charsAdded) {
    const auto adjust = [&](int& saved) {
        if (saved < position)
            return;
        if (saved >= position + charsRemoved)
            saved += charsAdded - charsRemoved;
        else
            saved = position + charsAdded;
    };
    adjust(m_savedAnchor);
    adjust(m_savedPosition);
}

} // namespace quillet
