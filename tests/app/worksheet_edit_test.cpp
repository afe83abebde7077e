// The worksheet editor widget driven by real key events: completed lines, the arrow keys, the
// Insert key, the selection across focus changes and the mapping of Qt keys to key codes.
#include "app/file_dialogs.h"
#include "app/key_codes.h"
#include "app/main_window.h"
#include "app/worksheet_edit.h"
#include "engine/expression_engine.h"
#include "worksheet/worksheet_logic.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace quillet {
namespace {

class WorksheetEditTest : public testing::Test {
protected:
    WorksheetEditTest() : window(engine, dialogs), edit(window.worksheet()) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }
    void type(const QString& text) { QTest::keyClicks(&edit, text); }
    void typeLine(const QString& text) {
        type(text);
        QTest::keyClick(&edit, Qt::Key_Return);
    }
    QString text() const { return edit.toPlainText(); }
    QString status() const { return window.statusText(); }
    // Puts the caret on line index, at column (or the end of the line for -1).
    void caretTo(int index, int column = -1) {
        const QTextBlock block = edit.document()->findBlockByNumber(index);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + (column < 0 ? block.length() - 1 : column));
        edit.setTextCursor(cursor);
    }

    ExpressionEngine engine;
    QtFileDialogs dialogs; // never opened by these tests
    MainWindow window;
    WorksheetEdit& edit;
};

TEST_F(WorksheetEditTest, EnterProcessesTheLineBeforeTheCaretAndWritesItsResult) {
    const struct {
        const char* typed;
        int column; // where Enter is pressed, -1 for the end of the line
        Qt::KeyboardModifiers modifiers;
        const char* text;
        const char* status;
    } cases[] = {
        {"1+2", -1, Qt::NoModifier, "1+2\n3\n", "Result: 3"},
        {"2*3 # tail", 3, Qt::NoModifier, "2*3\n6\n # tail", "Result: 6"},
        {"4*4", -1, Qt::ShiftModifier, "4*4\n16\n", "Result: 16"},
        {"   ", -1, Qt::NoModifier, "   \n", "kept"}, // a blank line is only broken
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.typed);
        edit.setWorksheetText(u""_s); // as loading does: the earlier rows cannot be undone
        EXPECT_FALSE(edit.document()->isUndoAvailable());
        window.setStatusText("kept");
        type(QString::fromUtf8(row.typed));
        caretTo(0, row.column);
        QTest::keyClick(&edit, Qt::Key_Return, row.modifiers);
        EXPECT_EQ(text(), QString::fromUtf8(row.text));
        EXPECT_EQ(status(), QString::fromUtf8(row.status));
    }
    // Typing, deleting and pasting (even a line break) process nothing.
    edit.setWorksheetText(u""_s);
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
        EXPECT_EQ(status(), u""_s) << "repeat " << i;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &press);
    }
    QTest::keyRelease(&edit, Qt::Key_Down);
    EXPECT_EQ(status(), u"Result: 40"_s);
    EXPECT_EQ(engine.variables().find("y")->real(), 2.0); // the uncompleted lines took effect
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(status(), u"Result: 30"_s);
    EXPECT_EQ(text(), u"y=1\ny=2\n30\n40"_s);
}

TEST_F(WorksheetEditTest, UndoTakesBackEachEnterWithItsOutputAndThenTheEarlierEdits) {
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&edit, k, m);
    };
    const struct {
        const char* loaded;
        std::function<void()> edits;
        const char* text;
        bool modified;
        QStringList undoTrail; // the text after each further Ctrl+Z
    } cases[] = {
        {"old\n",
         [&] {
             key(Qt::Key_A, Qt::ControlModifier);
             typeLine(u"1+2"_s);
         },
         "1+2\n3\n",
         true,
         {u"1+2"_s, u"old\n"_s}},
        // The Insert key's text and the keypad point join the step before them.
        {"",
         [&] {
             typeLine(u"6*7"_s);
             key(Qt::Key_Insert);
             key(Qt::Key_Period, Qt::KeypadModifier);
         },
         "6*7\n42\n42.",
         true,
         {u"6*7"_s, u""_s}},
        {"a=1\n",
         [&] {
             caretTo(1);
             typeLine(u"cls"_s);
         },
         "",
         false,
         {u"a=1\ncls"_s, u"a=1\n"_s}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        edit.setWorksheetText(QString::fromUtf8(row.loaded));
        row.edits();
        EXPECT_EQ(text(), QString::fromUtf8(row.text));
        EXPECT_EQ(edit.isModified(), row.modified);
        QStringList trail;
        for (int i = 0; i < 5 && edit.document()->isUndoAvailable(); ++i) {
            key(Qt::Key_Z, Qt::ControlModifier);
            trail << text();
            if (i == 0) { // an undone clearing differs from the file again
                EXPECT_TRUE(edit.isModified());
            }
        }
        EXPECT_EQ(trail, row.undoTrail);
    }
}

TEST_F(WorksheetEditTest, ArrowKeysOverClearingCommandsChangeNothing) {
    edit.setWorksheetText(u"1\ncls\nCLR"_s);
    caretTo(0);
    type(u"x"_s);
    for (const Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(&edit, k);
    EXPECT_EQ(text(), u"1x\ncls\nCLR"_s);
    EXPECT_TRUE(edit.isModified());
    EXPECT_TRUE(edit.document()->isUndoAvailable());
}

TEST_F(WorksheetEditTest, InsertPastesTheLastResultButShiftInsertPastesTheClipboard) {
    typeLine(u"6*7"_s);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"6*7\n42\n42"_s);
    QApplication::clipboard()->setText(u"clip"_s);
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), u"6*7\n42\n42clip"_s);
    // A Shift released while the worksheet lacked the focus does not block Insert.
    QTest::keyPress(&edit, Qt::Key_Shift);
    window.controls().help->setFocus();
    QTest::keyRelease(window.controls().help, Qt::Key_Shift);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"6*7\n42\n42clip42"_s);
}

TEST_F(WorksheetEditTest, InsertAfterAFailedLineInsertsNothingAndDeletesTheSelection) {
    typeLine(u"1/0"_s);
    type(u"abc"_s);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"1/0\n# Division by Zero\nabc"_s);
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"1/0\n# Division by Zero\nab"_s);
}

TEST_F(WorksheetEditTest, SelectionSurvivesAButtonClickAndFollowsTextInsertedMeanwhile) {
    edit.setWorksheetText(u"abc\n255"_s);
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    // The button takes the focus for a moment and gives it back.
    QTest::mouseClick(window.controls().hexadecimal, Qt::LeftButton);
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.textCursor().anchor(), 5);
    EXPECT_EQ(edit.textCursor().position(), 7);
    EXPECT_EQ(status(), u"Result: 0xFF"_s); // the line of the selection was run again
    caretTo(0);
    window.controls().help->setFocus();
    edit.insertSystemText(u"de"_s);
    edit.setFocus();
    EXPECT_EQ(edit.textCursor().position(), 5);
    EXPECT_EQ(text(), u"abcde\n255"_s);
}

TEST_F(WorksheetEditTest, LinesAreReadByIndexWithoutWordWrap) {
    edit.setWorksheetText(u"one\ntwo\nthree"_s);
    caretTo(1, 2);
    EXPECT_EQ(edit.caretLine(), 1);
    EXPECT_EQ(edit.lineText(0), "one");
    EXPECT_EQ(edit.lineText(2), "three");
    EXPECT_EQ(edit.lineText(3), "");
    EXPECT_EQ(edit.lineText(-1), "");
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

// Keys not already covered by the behaviour tests above and in the other window tests.
TEST(KeyCodes, QtKeysMapToVirtualKeyCodes) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        VirtualKey code;
    } cases[] = {
        {Qt::Key_Enter, Qt::KeypadModifier, VirtualKey::Enter},
        {Qt::Key_Control, Qt::ControlModifier, VirtualKey::Ctrl},
        {Qt::Key_Insert, Qt::ShiftModifier, VirtualKey::Insert},
        {Qt::Key_F12, Qt::NoModifier, VirtualKey::F12},
        {Qt::Key_A, Qt::NoModifier, VirtualKey::Other}, // nothing reacts to it
        {Qt::Key_7, Qt::KeypadModifier, VirtualKey::Other},
        // Punctuation whose Qt values equal special codes must not be taken for them.
        {Qt::Key_Period, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_Minus, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_ParenLeft, Qt::NoModifier, VirtualKey::Other},
        {Qt::Key_Ampersand, Qt::NoModifier, VirtualKey::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(virtualKeyOf(event), c.code);
    }
}

} // namespace
} // namespace quillet
