// The variable list window with real widgets: its items and their order, the rebuild rules,
// double-click, Delete, Escape and the close box.
#include "app/dialog_units.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/variable_list_window.h"
#include "app/worksheet_edit.h"
#include "engine/expression_engine.h"
#include "worksheet/result_format.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
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
    // The events of a real double-click: press, release, double-click, release.
    void doubleClickItem(int row) {
        QListWidget* widget = list.list();
        const QPoint centre = widget->visualItemRect(widget->item(row)).center();
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(widget->viewport(), Qt::LeftButton, {}, centre);
    }

    ExpressionEngine engine;
    NoDialogs dialogs;
    MainWindow window;
    WorksheetEdit& edit;
    VariableListWindow& list;
};

TEST_F(VariableListWindowTest, IsAHiddenToolWindowOfTheLayoutSize) {
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), "变量列表");
    EXPECT_EQ(list.windowType(), Qt::Tool);
    EXPECT_FALSE(list.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(list.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(list.size(), DialogUnits(dialogFont(10)).size(154, 82));
    EXPECT_EQ(list.parentWidget(), nullptr);
    EXPECT_TRUE(items().isEmpty());
}

TEST_F(VariableListWindowTest, ItemsAreSortedByTextWithoutRegardToCase) {
    const struct {
        const char* name;
        QStringList lines;
        QStringList expected;
    } cases[] = {
        {"case only differs", {"A=5", "a=3"}, {"a = 3", "A = 5"}},
        {"lower before upper letter", {"Y=2", "x=5"}, {"x = 5", "Y = 2"}},
        {"equal ignoring case", {"b=1", "B=1"}, {"B = 1", "b = 1"}},
        {"longer name later", {"ab=1", "A=2"}, {"A = 2", "ab = 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine.variables() = VariableTable();
        for (const QString& line : c.lines)
            typeLine(line);
        EXPECT_EQ(items(), c.expected);
    }
}

TEST_F(VariableListWindowTest, ValuesUseTheDecimalFormWhateverTheDisplayBase) {
    QTest::mouseClick(window.controls().hexadecimal, Qt::LeftButton);
    typeLine("z=sqr(-4)");
    typeLine("h=255");
    const std::string z = formatComplex(*engine.variables().find("z"), 12);
    EXPECT_EQ(items(), (QStringList{"h = 255", "z = " + QString::fromStdString(z)}));
    EXPECT_NE(z.find('i'), std::string::npos);
}

TEST_F(VariableListWindowTest, RebuildsOnlyWhenAStoredValueChanges) {
    typeLine("x=5");
    EXPECT_EQ(items(), QStringList{"x = 5"});
    // A variable created behind the list's back shows only at the next rebuild.
    engine.variables().lookupOrCreate("y") = 7.0;
    typeLine("x=5");
    EXPECT_EQ(items(), QStringList{"x = 5"});
    typeLine("n=0");
    EXPECT_EQ(items(), QStringList{"x = 5"});
    typeLine("x=6");
    EXPECT_EQ(items(), (QStringList{"n = 0", "x = 6", "y = 7"}));
}

TEST_F(VariableListWindowTest, PrecisionCommandRebuildsWithThatManyDigits) {
    typeLine("p=3.14159");
    EXPECT_EQ(items(), QStringList{"p = 3.14159"});
    typeLine("precision 3");
    EXPECT_EQ(items(), QStringList{"p = 3.14"});
}

TEST_F(VariableListWindowTest, DoubleClickInsertsTheNameUndoably) {
    typeLine("x=5");
    typeLine("Yy=2");
    QTest::keyClicks(&edit, "1+");
    const QString before = edit.toPlainText();
    showAndSelect(1);
    doubleClickItem(1);
    EXPECT_EQ(edit.toPlainText(), before + "Yy");
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_TRUE(list.isVisible());
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), before);
}

TEST_F(VariableListWindowTest, DoubleClickReplacesTheSelection) {
    typeLine("x=5");
    edit.setWorksheetText("a+b");
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(2);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    showAndSelect(0);
    doubleClickItem(0);
    EXPECT_EQ(edit.toPlainText(), "a+x");
    EXPECT_TRUE(edit.isModified());
}

TEST_F(VariableListWindowTest, DeleteErasesTheSelectedVariable) {
    typeLine("x=5");
    typeLine("Y=2");
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{"Y = 2"});
    EXPECT_EQ(engine.variables().find("x"), nullptr);
    ASSERT_NE(engine.variables().find("Y"), nullptr);
    typeLine("x");
    EXPECT_FALSE(window.statusText().startsWith("Result: ")) << window.statusText().toStdString();
}

TEST_F(VariableListWindowTest, DeleteWithoutSelectionChangesNothing) {
    typeLine("x=5");
    list.show();
    list.list()->clearSelection();
    list.list()->setCurrentRow(-1);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList{"x = 5"});
    EXPECT_NE(engine.variables().find("x"), nullptr);
}

TEST_F(VariableListWindowTest, DeletedVariableStaysGoneUntilAssignedAgain) {
    typeLine("x=5");
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Delete);
    QTest::mouseClick(window.controls().variableList, Qt::LeftButton);
    EXPECT_TRUE(items().isEmpty());
    typeLine("x=8");
    EXPECT_EQ(items(), QStringList{"x = 8"});
}

TEST_F(VariableListWindowTest, EscapeHidesTheWindowAndFocusesTheWorksheet) {
    typeLine("x=5");
    showAndSelect(0);
    QTest::keyClick(list.list(), Qt::Key_Escape);
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
    QTest::mouseClick(window.controls().variableList, Qt::LeftButton);
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(items(), QStringList{"x = 5"});
}

TEST_F(VariableListWindowTest, CloseBoxHidesTheWindowKeepingItsPlaceAndItems) {
    typeLine("x=5");
    list.show();
    list.resize(300, 200);
    list.move(40, 30);
    const QRect geometry = list.geometry();
    EXPECT_FALSE(list.close());
    EXPECT_FALSE(list.isVisible());
    EXPECT_TRUE(edit.hasFocus());
    list.show();
    EXPECT_EQ(list.geometry(), geometry);
    EXPECT_EQ(items(), QStringList{"x = 5"});
}

TEST_F(VariableListWindowTest, ListFillsTheWindowAtAnySize) {
    list.show();
    for (const QSize size : {QSize(400, 300), QSize(20, 10)}) {
        list.resize(size);
        EXPECT_EQ(list.list()->geometry(), QRect(QPoint(0, 0), list.size()));
    }
}

} // namespace
} // namespace quillet
