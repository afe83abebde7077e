// The worksheet editor widget driven by real key events: completed lines, the arrow keys,
// the Insert key, the modified flag and the mapping of Qt keys to virtual-key codes.
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
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace quillet {
namespace {

class NoDialogs : public FileDialogs {
public:
    Answer ask(QWidget*, const QString&, const QString&) override { return Answer::No; }
    QString openFileName(QWidget*) override { return {}; }
    QString saveFileName(QWidget*) override { return {}; }
    void showMessage(QWidget*, const QString&) override {}
};

class WorksheetEditTest : public testing::Test {
protected:
    WorksheetEditTest() : window(engine, dialogs), edit(window.worksheet()) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }

    void type(const QString& text) { QTest::keyClicks(&edit, text); }
    void enter() { QTest::keyClick(&edit, Qt::Key_Return); }
    void typeLine(const QString& text) {
        type(text);
        enter();
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
    NoDialogs dialogs;
    MainWindow window;
    WorksheetEdit& edit;
};

TEST_F(WorksheetEditTest, EnterWritesTheResultUnderTheLineAndShowsIt) {
    typeLine("1+2");
    EXPECT_EQ(text(), "1+2\n3\n");
    EXPECT_EQ(status(), "Result: 3");
    EXPECT_EQ(edit.textCursor().position(), text().size());
    EXPECT_EQ(window.logic().lastResult(), "3");
}

TEST_F(WorksheetEditTest, EnterWritesAnErrorAsCommentLine) {
    typeLine("1/0");
    EXPECT_EQ(text(), "1/0\n# Division by Zero\n");
    EXPECT_EQ(status(), "Division by Zero");
}

TEST_F(WorksheetEditTest, EnterInTheMiddleOfALineProcessesTheFirstHalf) {
    type("2*3 # tail");
    caretTo(0, 3);
    enter();
    EXPECT_EQ(text(), "2*3\n6\n # tail");
    EXPECT_EQ(status(), "Result: 6");
}

TEST_F(WorksheetEditTest, ShiftEnterEndsTheLineLikeEnter) {
    type("4*4");
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(text(), "4*4\n16\n");
    EXPECT_EQ(edit.document()->blockCount(), 3);
}

TEST_F(WorksheetEditTest, TypingPastingAndDeletingProcessNothing) {
    type("1+2");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.insertPlainText("5\n");
    EXPECT_EQ(text(), "1+5\n");
    EXPECT_EQ(status(), "");
}

TEST_F(WorksheetEditTest, EnterOnABlankLineOnlyBreaksTheLine) {
    window.setStatusText("before");
    typeLine("   ");
    EXPECT_EQ(text(), "   \n");
    EXPECT_EQ(status(), "before");
}

TEST_F(WorksheetEditTest, UpRunsTheLineLeftSilentlyAndShowsTheLineArrivedAt) {
    typeLine("1+1");
    type("x=5");
    QTest::keyPress(&edit, Qt::Key_Up);
    // The line left has taken effect, nothing is shown before the key is released.
    ASSERT_NE(engine.variables().find("x"), nullptr);
    EXPECT_EQ(engine.variables().find("x")->real(), 5.0);
    EXPECT_EQ(status(), "Result: 2");
    EXPECT_EQ(edit.textCursor().blockNumber(), 1);
    QTest::keyRelease(&edit, Qt::Key_Up);
    EXPECT_EQ(status(), "Result: 2");
    EXPECT_EQ(text(), "1+1\n2\nx=5");
}

TEST_F(WorksheetEditTest, DownShowsTheResultOfTheLineArrivedAt) {
    edit.setWorksheetText("7*6\n8*8");
    caretTo(0);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(status(), "Result: 64");
    EXPECT_EQ(text(), "7*6\n8*8");
}

TEST_F(WorksheetEditTest, HeldDownShowsOnlyTheLastLineReached) {
    edit.setWorksheetText("y=1\ny=2\n30\n40");
    caretTo(0);
    QTest::keyPress(&edit, Qt::Key_Down);
    // A held key repeats as release and press pairs marked as repeats.
    for (int i = 0; i < 2; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &release);
        EXPECT_EQ(status(), "") << "repeat " << i;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &press);
    }
    QTest::keyRelease(&edit, Qt::Key_Down);
    EXPECT_EQ(status(), "Result: 40");
    EXPECT_EQ(engine.variables().find("y")->real(), 2.0);
}

TEST_F(WorksheetEditTest, InsertPastesTheLastResultWithoutUndo) {
    typeLine("6*7");
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), "6*7\n42\n42");
    EXPECT_TRUE(edit.isModified());
    edit.undo();
    EXPECT_EQ(text(), "6*7\n42\n42");
}

TEST_F(WorksheetEditTest, InsertAfterAFailedLineInsertsNothingAndDeletesTheSelection) {
    typeLine("1/0");
    type("abc");
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), "1/0\n# Division by Zero\nabc");
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), "1/0\n# Division by Zero\nab");
}

TEST_F(WorksheetEditTest, ShiftInsertDoesNotInsertTheLastResult) {
    typeLine("6*7");
    QApplication::clipboard()->setText("clip");
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_FALSE(text().endsWith("42")) << text().toStdString();
}

TEST_F(WorksheetEditTest, ShiftReleasedElsewhereDoesNotBlockInsert) {
    typeLine("6*7");
    QTest::keyPress(&edit, Qt::Key_Shift);
    window.controls().help->setFocus();
    QTest::keyRelease(window.controls().help, Qt::Key_Shift);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), "6*7\n42\n42");
}

TEST_F(WorksheetEditTest, ResultInsertionSetsTheModifiedFlagAndClsClearsIt) {
    typeLine("1+2");
    EXPECT_TRUE(edit.isModified());
    edit.setModified(false);
    type("cls");
    edit.setModified(false);
    enter();
    EXPECT_EQ(text(), "");
    EXPECT_FALSE(edit.isModified());
    EXPECT_EQ(status(), "");
}

TEST_F(WorksheetEditTest, LoadedTextIsUnmodifiedNotUndoableAndNotProcessed) {
    type("1+1");
    edit.setWorksheetText("2+2\n");
    EXPECT_FALSE(edit.isModified());
    EXPECT_FALSE(edit.document()->isUndoAvailable());
    EXPECT_EQ(status(), "");
    EXPECT_EQ(text(), "2+2\n");
}

TEST_F(WorksheetEditTest, SelectionSurvivesLosingAndRegainingTheFocus) {
    edit.setWorksheetText("alpha\nbeta");
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(7);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    window.controls().help->setFocus();
    edit.setFocus();
    EXPECT_EQ(edit.textCursor().anchor(), 7);
    EXPECT_EQ(edit.textCursor().position(), 9);
}

TEST_F(WorksheetEditTest, SavedSelectionFollowsTextInsertedWhileUnfocused) {
    edit.setWorksheetText("ab");
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(2);
    edit.setTextCursor(cursor);
    window.controls().help->setFocus();
    edit.insertSystemText("cd");
    edit.setFocus();
    EXPECT_EQ(edit.textCursor().position(), 4);
    EXPECT_EQ(text(), "abcd");
}

TEST_F(WorksheetEditTest, LinesAreReadByIndex) {
    edit.setWorksheetText("one\ntwo\nthree");
    caretTo(1, 2);
    EXPECT_EQ(edit.caretLine(), 1);
    EXPECT_EQ(edit.lineText(0), "one");
    EXPECT_EQ(edit.lineText(2), "three");
    EXPECT_EQ(edit.lineText(3), "");
    EXPECT_EQ(edit.lineText(-1), "");
}

TEST_F(WorksheetEditTest, EditorHasNoWordWrapAndBothScrollBars) {
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int code;
};

TEST(KeyCodes, QtKeysMapToVirtualKeyCodes) {
    const KeyCase cases[] = {
        {Qt::Key_Return, Qt::NoModifier, vk::kEnter},
        {Qt::Key_Enter, Qt::KeypadModifier, vk::kEnter},
        {Qt::Key_Shift, Qt::ShiftModifier, vk::kShift},
        {Qt::Key_Control, Qt::ControlModifier, vk::kCtrl},
        {Qt::Key_Escape, Qt::NoModifier, vk::kEscape},
        {Qt::Key_Up, Qt::NoModifier, vk::kUp},
        {Qt::Key_Down, Qt::NoModifier, vk::kDown},
        {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Insert, Qt::NoModifier, vk::kInsert},
        {Qt::Key_Insert, Qt::ShiftModifier, vk::kInsert},
        {Qt::Key_Delete, Qt::NoModifier, vk::kDelete},
        {Qt::Key_Period, Qt::KeypadModifier, vk::kDecimal},
        {Qt::Key_Comma, Qt::KeypadModifier, vk::kDecimal},
        {Qt::Key_F12, Qt::NoModifier, vk::kF12},
        {Qt::Key_F1, Qt::NoModifier, 112},
        {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_7, Qt::NoModifier, 55},
        {Qt::Key_7, Qt::KeypadModifier, 103},
        // Punctuation whose Qt values equal special codes must not be taken for them.
        {Qt::Key_Period, Qt::NoModifier, kUnmappedKey},
        {Qt::Key_Minus, Qt::NoModifier, kUnmappedKey},
        {Qt::Key_ParenLeft, Qt::NoModifier, kUnmappedKey},
        {Qt::Key_Ampersand, Qt::NoModifier, kUnmappedKey},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(virtualKeyOf(event), c.code);
    }
}

} // namespace
} // namespace quillet
