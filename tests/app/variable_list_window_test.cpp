// The variable list window with real widgets: its items and their order, the rebuild rules,
// double-click, Delete, Escape and the close box.
#include "app/dialog_units.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/variable_list_window.h"
#include "app/worksheet_edit.h"
#include "engine/expression_engine.h"
#include "graphs/fonts.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

class VariableListWindowTest : public testing::Test {
protected:
    VariableListWindowTest()
        : window(engine, dialogs), edit(window.worksheet()), list(window.variableListWindow()) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void typeLine(const QString& text) {
        edit.setFocus();
        QTest::keyClicks(&edit, text);
        QTest::keyClick(&edit, Qt::Key_Return);
    }
    QStringList items() const { return list.itemTexts(); }
    // Shows the list window, made active, and selects the item at row.
    void showAndSelect(int row) {
        list.show();
        list.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&list));
        list.list()->setCurrentRow(row);
    }

    ExpressionEngine engine;
    QtFileDialogs dialogs; // never opened by these tests
    MainWindow window;
    WorksheetEdit& edit;
    VariableListWindow& list;
};

TEST_F(VariableListWindowTest, IsAnEmptyHiddenToolWindowWhoseListFillsItAtAnySize) {
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), "变量列表");
    EXPECT_EQ(list.windowType(), Qt::Tool);
    EXPECT_FALSE(list.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(list.size(), DialogUnits(dialogFont(10)).size(154, 82));
    EXPECT_EQ(list.parentWidget(), nullptr);
    EXPECT_TRUE(items().isEmpty());
    list.show();
    for (const QSize size : {QSize(400, 300), QSize(20, 10)}) {
        list.resize(size);
        EXPECT_EQ(list.list()->geometry(), QRect(QPoint(0, 0), list.size()));
    }
}

TEST_F(VariableListWindowTest, ItemsAreDecimalAndSortedByTextWithoutRegardToCase) {
    QTest::mouseClick(window.controls().hexadecimal, Qt::LeftButton);
    const struct {
        QStringList lines;
        QStringList expected;
    } cases[] = {
        {{"A=5", "a=3"}, {"a = 3", "A = 5"}},   // equal names ignoring case: by value
        {{"Y=2", "x=5"}, {"x = 5", "Y = 2"}},   // lower-case letter before a later capital
        {{"b=1", "B=1"}, {"B = 1", "b = 1"}},   // equal texts ignoring case
        {{"ab=1", "A=2"}, {"A = 2", "ab = 1"}}, // a longer name later
        {{"z=3+4i", "h=255"}, {"h = 255", "z = 3 + 4i"}}, // never hexadecimal; complex values
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.lines.join(' ').toStdString());
        engine.variables() = VariableTable();
        for (const QString& line : row.lines)
            typeLine(line);
        EXPECT_EQ(items(), row.expected);
    }
}

TEST_F(VariableListWindowTest, RebuildsOnlyWhenAStoredValueChangesOrThePrecisionIsSet) {
    typeLine("p=3.14159");
    EXPECT_EQ(items(), QStringList{"p = 3.14159"});
    // A variable created behind the list's back shows only at the next rebuild.
    engine.variables().lookupOrCreate("y") = 7.0;
    typeLine("p=3.14159");
    typeLine("n=0");
    EXPECT_EQ(items(), QStringList{"p = 3.14159"});
    typeLine("precision 3");
    EXPECT_EQ(items(), (QStringList{"n = 0", "p = 3.14", "y = 7"}));
}

TEST_F(VariableListWindowTest, DoubleClickInsertsTheNameUndoablyReplacingTheSelection) {
    typeLine("x=5");
    typeLine("Yy=2");
    const struct {
        int row, anchor, position;
        const char* expected;
    } cases[] = {{0, 2, 3, "a+x"}, {1, 3, 3, "a+bYy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        edit.setWorksheetText("a+b");
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(c.anchor);
        cursor.setPosition(c.position, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        showAndSelect(c.row);
        // The events of a real double-click: press, release, double-click, release.
        QListWidget* widget = list.list();
        const QPoint centre = widget->visualItemRect(widget->item(c.row)).center();
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(widget->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(edit.toPlainText(), c.expected);
        EXPECT_TRUE(edit.isModified());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(edit.hasFocus());
        EXPECT_TRUE(list.isVisible());
        edit.undo();
        EXPECT_EQ(edit.toPlainText(), "a+b");
    }
}

TEST_F(VariableListWindowTest, DeleteErasesOnlyTheSelectedVariableUntilItIsAssignedAgain) {
    typeLine("x=5");
    typeLine("Y=2");
    list.show();
    list.list()->clearSelection();
    list.list()->setCurrentRow(-1);
    QTest::keyClick(list.list(), Qt::Key_Delete); // nothing selected: nothing happens
    EXPECT_EQ(items(), (QStringList{"x = 5", "Y = 2"}));
    ASSERT_NE(engine.variables().find("x"), nullptr);
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{"Y = 2"});
    // No item is selected afterwards: a second Delete erases nothing.
    EXPECT_TRUE(list.list()->selectedItems().isEmpty());
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{"Y = 2"});
    EXPECT_EQ(engine.variables().find("x"), nullptr);
    ASSERT_NE(engine.variables().find("Y"), nullptr);
    typeLine("x");
    EXPECT_FALSE(window.statusText().startsWith("Result: ")) << window.statusText().toStdString();
    QTest::mouseClick(window.controls().variableList, Qt::LeftButton);
    EXPECT_EQ(items(), QStringList{"Y = 2"});
    typeLine("x=8");
    EXPECT_EQ(items(), (QStringList{"x = 8", "Y = 2"}));
}

TEST_F(VariableListWindowTest, EscapeAndTheCloseBoxHideTheWindowKeepingItsPlaceAndItems) {
    typeLine("x=5");
    showAndSelect(0);
    list.resize(300, 200);
    list.move(40, 30);
    const QRect geometry = list.geometry();
    QTest::keyClick(list.list(), Qt::Key_Escape);
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
    engine.variables().lookupOrCreate("w") = 9.0; // showing the window does not rebuild it
    QTest::mouseClick(window.controls().variableList, Qt::LeftButton);
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.geometry(), geometry);
    EXPECT_EQ(items(), QStringList{"x = 5"});
    EXPECT_FALSE(list.close());
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(edit.hasFocus());
    list.show();
    EXPECT_EQ(list.geometry(), geometry);
    EXPECT_EQ(items(), QStringList{"x = 5"});
}

} // namespace
} // namespace quillet
