// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet editor widget driven by real key events: Enter, the arrow keys, undo, the
// Insert key, the selection across focus changes and the mapping of Qt keys to key codes.
#include "app/key_codes.h"
#include "tests/app/window_fixture.h"
#include "worksheet/worksheet_logic.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include <functional>

namespace quillet {
namespace {

class WorksheetEditTest : public WindowTest {
protected:
    // Puts the caret on line index, at column (or the end of the line for -1).
    void caretTo(int index, int column = -1) {
        const QTextBlock block = edit.document()->findBlockByNumber(index);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + (column < 0 ? block.length() - 1 : column));
        edit.setTextCursor(cursor);
    }
};

TEST_F(WorksheetEditTest, EnterProcessesTheLineBeforeTheCaretAndWritesItsResult) {
    const struct {
        QString typed;
        int column; // where Enter is pressed, -1 for the end of the line
        Qt::KeyboardModifiers modifiers;
        QString text, status;
    } cases[] = {
        {u"2*3 # tail"_s, 3, Qt::NoModifier, u"2*3\n6\n # tail"_s, u"Result: 6"_s},
        {u"4*4"_s, -1, Qt::ShiftModifier, u"4*4\n16\n"_s, u"Result: 16"_s},
        {u"4*4"_s, -1, Qt::KeypadModifier, u"4*4\n16\n"_s, u"Result: 16"_s},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.typed.toStdString());
        setText({});
        type(row.typed);
        caretTo(0, row.column);
        QTest::keyClick(&edit, row.modifiers == Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return,
                        row.modifiers);
        EXPECT_EQ(text(), row.text);
        EXPECT_EQ(status(), row.status);
    }
    // Typing, deleting and pasting (even a line break) process nothing.
    setText({});
    window.setStatusText("kept");
    type(u"1+2"_s);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.insertPlainText(u"5\n"_s);
    EXPECT_EQ(text(), u"1+5\n"_s);
    EXPECT_EQ(status(), u"kept"_s);
}

TEST_F(WorksheetEditTest, ArrowKeysRunEachLineLeftSilentlyAndShowOnlyTheLineReached) {
    edit.setWorksheetText(u"y=1\ny=2\n30\n40"_s);
    caretTo(0);
    QTest::keyPress(&edit, Qt::Key_Down);
    // A held key repeats as release and press pairs marked as repeats.
    for (int i = 0; i < 2; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &release);
        EXPECT_EQ(status(), QString()) << "repeat " << i;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &press);
    }
    QTest::keyRelease(&edit, Qt::Key_Down);
    EXPECT_EQ(status(), u"Result: 40"_s);
    EXPECT_EQ(engine.variables().find("y")->real(), 2.0); // the lines passed took effect
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(status(), u"Result: 30"_s);
    EXPECT_EQ(text(), u"y=1\ny=2\n30\n40"_s);
}

TEST_F(WorksheetEditTest, UndoTakesBackEachEnterWithItsOutputAndThenTheEarlierEdits) {
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&edit, k, m);
    };
    const struct {
        QString loaded;
        std::function<void()> edits;
        QString text;
        bool modified;
        QStringList undoTrail; // the text after each further Ctrl+Z
    } cases[] = {
        {u"old\n"_s,
         [&] { key(Qt::Key_A, Qt::ControlModifier), type(u"1+2\n"_s); },
         u"1+2\n3\n"_s,
         true,
         {u"1+2"_s, u"old\n"_s}},
        // The Insert key's text and the keypad point join the step before them.
        {{},
         [&] { type(u"6*7\n"_s), key(Qt::Key_Insert), key(Qt::Key_Period, Qt::KeypadModifier); },
         u"6*7\n42\n42."_s,
         true,
         {u"6*7"_s, {}}},
        // Clearing leaves an unmodified worksheet; undone, it differs from the file again.
        {u"a=1\n"_s, [&] { caretTo(1), type(u"cls\n"_s); }, {}, false, {u"a=1\ncls"_s, u"a=1\n"_s}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text.toStdString());
        edit.setWorksheetText(row.loaded);
        row.edits();
        EXPECT_EQ(text(), row.text);
        EXPECT_EQ(edit.isModified(), row.modified);
        QStringList trail;
        for (int i = 0; i < 5 && edit.document()->isUndoAvailable(); ++i) {
            key(Qt::Key_Z, Qt::ControlModifier);
            trail << text();
            EXPECT_TRUE(i > 0 || edit.isModified());
        }
        EXPECT_EQ(trail, row.undoTrail);
    }
}

TEST_F(WorksheetEditTest, InsertPastesTheLastResultButShiftInsertPastesTheClipboard) {
    type(u"6*7\n"_s);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"6*7\n42\n42"_s);
    QApplication::clipboard()->setText(u"clip"_s);
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), u"6*7\n42\n42clip"_s);
    // A Shift released while the worksheet lacked the focus does not block Insert.
    QTest::keyPress(&edit, Qt::Key_Shift);
    c.help->setFocus();
    QTest::keyRelease(c.help, Qt::Key_Shift);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"6*7\n42\n42clip42"_s);
}

TEST_F(WorksheetEditTest, SelectionSurvivesAButtonClickAndFollowsTextInsertedMeanwhile) {
    edit.setWorksheetText(u"abc\n255"_s);
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    click(c.hexadecimal); // takes the focus for a moment and gives it back
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.textCursor().anchor(), 5);
    EXPECT_EQ(edit.textCursor().position(), 7);
    caretTo(0);
    c.help->setFocus();
    edit.insertSystemText(u"de"_s);
    edit.setFocus();
    EXPECT_EQ(edit.textCursor().position(), 5);
    EXPECT_EQ(text(), u"abcde\n255"_s);
}

TEST_F(WorksheetEditTest, LinesAreReadByIndexWithoutWordWrap) {
    edit.setWorksheetText(u"one\ntwo\nthree"_s);
    caretTo(1, 2);
    EXPECT_EQ(edit.caretLine(), 1);
    EXPECT_EQ(edit.lineText(2) + "|" + edit.lineText(3) + "|" + edit.lineText(-1), "three||");
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(KeyCodes, QtKeysMapToVirtualKeyCodes) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        VirtualKey code;
    } cases[] = {
        {Qt::Key_Return, Qt::NoModifier, VirtualKey::Enter},
        {Qt::Key_Enter, Qt::NoModifier, VirtualKey::Enter},
        {Qt::Key_Shift, Qt::ShiftModifier, VirtualKey::Shift},
        {Qt::Key_Control, Qt::ControlModifier, VirtualKey::Ctrl},
        {Qt::Key_Escape, Qt::NoModifier, VirtualKey::Escape},
        {Qt::Key_Up, Qt::NoModifier, VirtualKey::Up},
        {Qt::Key_Down, Qt::NoModifier, VirtualKey::Down},
        {Qt::Key_Insert, Qt::ShiftModifier, VirtualKey::Insert},
        {Qt::Key_Delete, Qt::NoModifier, VirtualKey::Delete},
        {Qt::Key_Period, Qt::KeypadModifier, VirtualKey::Decimal},
        {Qt::Key_Comma, Qt::KeypadModifier, VirtualKey::Decimal},
        {Qt::Key_F12, Qt::NoModifier, VirtualKey::F12},
        {Qt::Key_A, Qt::NoModifier, VirtualKey::Other}, // nothing reacts to it
        {Qt::Key_7, Qt::KeypadModifier, VirtualKey::Other},
        {Qt::Key_F11, Qt::NoModifier, VirtualKey::Other},
        // Punctuation off the keypad, some with Qt values equal to special codes.
        {Qt::Key_Period, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_Comma, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_Minus, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_ParenLeft, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_Ampersand, Qt::NoModifier, VirtualKey::Other},
    };
    for (const auto& row : cases) {
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers);
        EXPECT_EQ(virtualKeyOf(event), row.code) << QKeySequence(row.key).toString().toStdString();
    }
}

} // namespace
} // namespace quillet
