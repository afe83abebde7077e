#include "worksheet_test_support.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TEST(EditorKeys, TypingNeverRunsALine) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("1+2");
    sheet.logic.keyPressed(VirtualKey::Other); // "1"
    sheet.logic.textChanged();
    EXPECT_EQ(sheet.status(), "");
    EXPECT_EQ(sheet.text(), "1+2");
}

TEST(EditorKeys, EnterRunsTheLineOnceAndResetsTheLastKey) {
    Sheet sheet;
    sheet.complete("1+2");
    EXPECT_EQ(sheet.logic.lastKey(), 0);
    sheet.logic.textChanged(); // the result's own insertion changes the text again
    EXPECT_EQ(sheet.text(), "1+2\n3\n");
}

TEST(EditorKeys, UpAndDownRunTheLeftLineSilentlyAndShowTheArrivedOne) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("10*2\nr=7");
    sheet.worksheet.setCaret(1, 3);
    sheet.logic.keyPressed(VirtualKey::Up); // leaves "r=7": assigned silently
    EXPECT_EQ(sheet.status(), "");
    EXPECT_EQ(sheet.engine.evaluateLine("r"), Complex(7, 0));
    sheet.worksheet.setCaret(0, 3); // the text control moves the caret
    sheet.logic.keyReleased(VirtualKey::Up);
    EXPECT_EQ(sheet.status(), "Result: 20");
    EXPECT_EQ(sheet.text(), "10*2\nr=7");
}

TEST(EditorKeys, InsertPastesTheLastResultUnlessShiftOrCtrlIsHeld) {
    Sheet sheet;
    sheet.complete("6*7");
    EXPECT_TRUE(sheet.logic.keyPressed(VirtualKey::Insert));
    EXPECT_EQ(sheet.text(), "6*7\n42\n42");

    sheet.logic.keyPressed(VirtualKey::Shift);
    EXPECT_FALSE(sheet.logic.keyPressed(VirtualKey::Insert));
    sheet.logic.keyReleased(VirtualKey::Shift);
    sheet.logic.keyPressed(VirtualKey::Ctrl);
    EXPECT_FALSE(sheet.logic.keyPressed(VirtualKey::Insert));
    sheet.logic.keyReleased(VirtualKey::Ctrl);
    EXPECT_EQ(sheet.text(), "6*7\n42\n42");

    sheet.press(VirtualKey::Enter); // "42" runs again
    sheet.complete("1/0");
    sheet.logic.keyPressed(VirtualKey::Insert);
    EXPECT_EQ(sheet.text(), "6*7\n42\n42\n42\n1/0\n# Division by Zero\n");
}

} // namespace
} // namespace quillet::test
