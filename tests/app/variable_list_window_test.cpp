// SPDX-License-Identifier: GPL-3.0-or-later
// The variable list window with real widgets: its items and their order, the rebuild rules,
// double-click, Delete, Escape and the close box.
#include "app/dialog_units.h"
#include "app/variable_list_window.h"
#include "graphs/fonts.h"
#include "tests/app/window_fixture.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace quillet {
namespace {

class VariableListWindowTest : public WindowTest {
protected:
    void typeLine(const QString& line) {
        edit.setFocus();
        type(line + u'\n');
    }
    QStringList items() const { return list.itemTexts(); }
    // Shows the list window, made active, and selects the item at row.
    void showAndSelect(int row) {
        list.show();
        list.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&list));
        list.list()->setCurrentRow(row);
    }

    VariableListWindow& list = window.variableListWindow();
};

TEST_F(VariableListWindowTest, IsAnEmptyHiddenToolWindowWhoseListFillsItAtAnySize) {
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), u"变量列表"_s);
    EXPECT_EQ(list.windowType(), Qt::Tool);
    EXPECT_FALSE(list.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(list.size(), DialogUnits(dialogFont(10)).size(154, 82));
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
    const struct {
        int row, anchor, position;
        QString expected;
    } cases[] = {{0, 2, 3, u"a+x"_s}};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.expected.toStdString());
        edit.setWorksheetText(u"a+b"_s);
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(row.anchor);
        cursor.setPosition(row.position, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        showAndSelect(row.row);
        // The events of a real double-click: press, release, double-click, release.
        QListWidget* widget = list.list();
        const QPoint centre = widget->visualItemRect(widget->item(row.row)).center();
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(widget->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(edit.toPlainText(), row.expected);
        EXPECT_TRUE(edit.isModified());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_TRUE(edit.hasFocus());
        edit.undo();
        EXPECT_EQ(edit.toPlainText(), u"a+b"_s);
    }
}

TEST_F(VariableListWindowTest, DeleteErasesOnlyTheSelectedVariableUntilItIsAssignedAgain) {
    typeLine(u"x=5"_s);
    typeLine(u"Y=2"_s);
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{u"Y = 2"_s});
    // No item is selected afterwards: a second Delete erases nothing.
    EXPECT_TRUE(list.list()->selectedItems().isEmpty());
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(engine.variables().find("x"), nullptr);
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
}

} // namespace
} // namespace quillet
