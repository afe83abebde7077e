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

using namespace Qt::StringLiterals;

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
    EXPECT_EQ(list.windowTitle(), u"变量列表"_s);
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
        {{u"A=5"_s, u"a=3"_s}, {u"a = 3"_s, u"A = 5"_s}}, // equal names ignoring case: by value
        {{u"Y=2"_s, u"x=5"_s},
         {u"x = 5"_s, u"Y = 2"_s}}, // lower-case letter before a later capital
        {{u"b=1"_s, u"B=1"_s}, {u"B = 1"_s, u"b = 1"_s}},   // equal texts ignoring case
        {{u"ab=1"_s, u"A=2"_s}, {u"A = 2"_s, u"ab = 1"_s}}, // a longer name later
        {{u"z=3+4i"_s, u"h=255"_s},
         {u"h = 255"_s, u"z = 3 + 4i"_s}}, // never hexadecimal; complex values
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.lines.join(u' ').toStdString());
        engine.variables() = VariableTable();
        for (const QString& line : row.lines)
            typeLine(line);
        EXPECT_EQ(items(), row.expected);
    }
}

TEST_F(VariableListWindowTest, RebuildsOnlyWhenAStoredValueChangesOrThePrecisionIsSet) {
    typeLine(u"p=3.14159"_s);
    EXPECT_EQ(items(), QStringList{u"p = 3.14159"_s});
    // A variable created behind the list's back shows only at the next rebuild.
    engine.variables().lookupOrCreate("y") = 7.0;
    typeLine(u"p=3.14159"_s);
    typeLine(u"n=0"_s);
    EXPECT_EQ(items(), QStringList{u"p = 3.14159"_s});
    typeLine(u"precision 3"_s);
    EXPECT_EQ(items(), (QStringList{u"n = 0"_s, u"p = 3.14"_s, u"y = 7"_s}));
}

TEST_F(VariableListWindowTest, DoubleClickInsertsTheNameUndoablyReplacingTheSelection) {
    typeLine(u"x=5"_s);
    typeLine(u"Yy=2"_s);
    const struct {
        int row, anchor, position;
        const char* expected;
    } cases[] = {{0, 2, 3, "a+x"}, {1, 3, 3, "a+bYy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        edit.setWorksheetText(u"a+b"_s);
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
        EXPECT_EQ(edit.toPlainText(), QString::fromUtf8(c.expected));
        EXPECT_TRUE(edit.isModified());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(edit.hasFocus());
        EXPECT_TRUE(list.isVisible());
        edit.undo();
        EXPECT_EQ(edit.toPlainText(), u"a+b"_s);
    }
}

TEST_F(VariableListWindowTest, DeleteErasesOnlyTheSelectedVariableUntilItIsAssignedAgain) {
    typeLine(u"x=5"_s);
    typeLine(u"Y=2"_s);
    list.show();
    list.list()->clearSelection();
    list.list()->setCurrentRow(-1);
    QTest::keyClick(list.list(), Qt::Key_Delete); // nothing selected: nothing happens
    EXPECT_EQ(items(), (QStringList{u"x = 5"_s, u"Y = 2"_s}));
    ASSERT_NE(engine.variables().find("x"), nullptr);
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{u"Y = 2"_s});
    // No item is selected afterwards: a second Delete erases nothing.
    EXPECT_TRUE(list.list()->selectedItems().isEmpty());
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{u"Y = 2"_s});
    EXPECT_EQ(engine.variables().find("x"), nullptr);
    ASSERT_NE(engine.variables().find("Y"), nullptr);
    typeLine(u"x"_s);
    EXPECT_FALSE(window.statusText().startsWith(u"Result: "_s))
        << window.statusText().toStdString();
    QTest::mouseClick(window.controls().variableList, Qt::LeftButton);
    EXPECT_EQ(items(), QStringList{u"Y = 2"_s});
    typeLine(u"x=8"_s);
    EXPECT_EQ(items(), (QStringList{u"x = 8"_s, u"Y = 2"_s}));
}

TEST_F(VariableListWindowTest, EscapeAndTheCloseBoxHideTheWindowKeepingItsPlaceAndItems) {
    typeLine(u"x=5"_s);
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
    EXPECT_EQ(items(), QStringList{u"x = 5"_s});
    EXPECT_FALSE(list.close());
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(edit.hasFocus());
    list.show();
    EXPECT_EQ(list.geometry(), geometry);
    EXPECT_EQ(items(), QStringList{u"x = 5"_s});
}

} // namespace
} // namespace quillet
