// The main window with real widgets: its layout, start state, mode buttons, check boxes,
// keys filtered for every control, minimising and closing.
#include "app/dialog_units.h"
#include "app/file_dialogs.h"
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "app/ui_texts.h"
#include "app/variable_list_window.h"
#include "app/worksheet_edit.h"
#include "engine/expression_engine.h"
#include "worksheet/worksheet_logic.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace quillet {
namespace {

class FakeDialogs : public FileDialogs {
public:
    Answer ask(QWidget*, const QString&, const QString&) override {
        ++questions;
        return answer;
    }
    QString openFileName(QWidget*) override {
        ++openDialogs;
        return {};
    }
    QString saveFileName(QWidget*) override {
        ++saveDialogs;
        return savePath;
    }
    void showMessage(QWidget*, const QString&) override {}

    Answer answer = Answer::No;
    QString savePath;
    int questions = 0;
    int openDialogs = 0;
    int saveDialogs = 0;
};

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() : window(engine, dialogs), edit(window.worksheet()) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void typeLine(const QString& text) {
        QTest::keyClicks(&edit, text);
        QTest::keyClick(&edit, Qt::Key_Return);
    }
    // Replaces the worksheet by text and puts the caret at its end.
    void setText(const QString& text) {
        edit.setWorksheetText(text);
        edit.moveCursor(QTextCursor::End);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString status() const { return window.statusText(); }
    const MainWindow::Controls& controls() const { return window.controls(); }

    ExpressionEngine engine;
    FakeDialogs dialogs;
    MainWindow window;
    WorksheetEdit& edit;
};

TEST_F(MainWindowTest, StartsWithDegreesDecimalResultsShownAndTheWorksheetFocused) {
    EXPECT_TRUE(controls().degrees->isChecked());
    EXPECT_FALSE(controls().radians->isChecked());
    EXPECT_TRUE(controls().decimal->isChecked());
    EXPECT_FALSE(controls().hexadecimal->isChecked());
    EXPECT_FALSE(controls().binary->isChecked());
    EXPECT_TRUE(controls().showResults->isChecked());
    EXPECT_FALSE(controls().alwaysOnTop->isChecked());
    EXPECT_EQ(status(), "");
    EXPECT_EQ(window.windowTitle(), "Quillet");
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_TRUE(engine.degrees());
    EXPECT_EQ(window.logic().displayBase(), DisplayBase::Decimal);
    EXPECT_FALSE(window.variableListWindow().isVisible());
    EXPECT_FALSE(window.graphWindow().isVisible());
    typeLine("sin(30)");
    EXPECT_EQ(status(), "Result: 0.5");
}

QString textOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return {};
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutTableInDialogUnits) {
    const MainWindow::Controls& c = controls();
    const struct {
        const char* name;
        const QWidget* control;
        QString text;
        int x, y, width, height;
        Qt::FocusPolicy focus;
    } rows[] = {
        {"worksheet", c.worksheet, "", 0, 36, 194, 108, Qt::StrongFocus},
        {"degrees", c.degrees, "角度制", 4, 6, 36, 10, Qt::ClickFocus},
        {"radians", c.radians, "弧度制", 40, 6, 34, 10, Qt::ClickFocus},
        {"angle frame", c.angleFrame, "", 3, 1, 73, 17, Qt::NoFocus},
        {"variable list", c.variableList, "变量列表", 199, 53, 37, 14, Qt::ClickFocus},
        {"status", c.status, "", 5, 148, 74, 8, Qt::NoFocus},
        {"show results", c.showResults, "编辑框内显示运算结果", 4, 22, 91, 10, Qt::ClickFocus},
        {"decimal", c.decimal, "十进制", 80, 6, 33, 10, Qt::ClickFocus},
        {"hexadecimal", c.hexadecimal, "十六进制", 114, 6, 42, 10, Qt::ClickFocus},
        {"binary", c.binary, "二进制", 157, 6, 34, 10, Qt::ClickFocus},
        {"base frame", c.baseFrame, "", 78, 1, 116, 17, Qt::NoFocus},
        {"load", c.load, "载入文件", 199, 78, 37, 14, Qt::StrongFocus},
        {"save", c.save, "保存文件", 199, 103, 37, 14, Qt::StrongFocus},
        {"save as", c.saveAs, "另存为", 199, 128, 37, 14, Qt::StrongFocus},
        {"help", c.help, "帮  助", 199, 28, 37, 14, Qt::StrongFocus},
        {"always on top", c.alwaysOnTop, "主窗口总在最前", 115, 22, 67, 10, Qt::StrongFocus},
    };
    const DialogUnits units(window.font());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.control, nullptr);
        EXPECT_EQ(textOf(row.control), row.text);
        EXPECT_EQ(row.control->geometry(), units.rect(row.x, row.y, row.width, row.height));
        EXPECT_EQ(row.control->focusPolicy(), row.focus);
    }
    EXPECT_EQ(window.size(), units.size(237, 160));
}

TEST(DialogUnits, ConvertQuartersOfTheCharacterWidthAndEighthsOfTheHeight) {
    const DialogUnits units(dialogFont(9));
    EXPECT_GT(units.averageCharWidth(), 0);
    EXPECT_EQ(units.toPixelsX(4), units.averageCharWidth());
    EXPECT_EQ(units.toPixelsY(8), units.charHeight());
    EXPECT_EQ(units.toPixelsX(2), (2 * units.averageCharWidth() + 2) / 4);
    EXPECT_EQ(units.toPixelsY(3), (3 * units.charHeight() + 4) / 8);
    EXPECT_EQ(units.rect(1, 2, 3, 4), QRect(units.toPixelsX(1), units.toPixelsY(2),
                                            units.toPixelsX(3), units.toPixelsY(4)));
}

TEST_F(MainWindowTest, TabVisitsTheTabStopsInLayoutOrder) {
    const std::vector<QWidget*> order = {controls().load, controls().save,        controls().saveAs,
                                         controls().help, controls().alwaysOnTop, &edit};
    edit.setFocus();
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
}

struct ModeCase {
    const char* name;
    const char* line;
    QRadioButton* MainWindow::Controls::*button;
    const char* status;
};

TEST_F(MainWindowTest, ModeButtonsRerunTheCaretLineUnderTheNewSetting) {
    const ModeCase cases[] = {
        {"radians", "sin(30)", &MainWindow::Controls::radians, "Result: -0.988031624093"},
        {"degrees again", "sin(30)", &MainWindow::Controls::degrees, "Result: 0.5"},
        {"hexadecimal", "255", &MainWindow::Controls::hexadecimal, "Result: 0xFF"},
        {"binary", "5", &MainWindow::Controls::binary, "Result: 0b 00000101"},
        {"decimal again", "255", &MainWindow::Controls::decimal, "Result: 255"},
        {"already selected", "2+2", &MainWindow::Controls::decimal, "Result: 4"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        setText(c.line);
        window.setStatusText("");
        click(controls().*c.button);
        EXPECT_TRUE((controls().*c.button)->isChecked());
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(edit.toPlainText(), c.line);
        EXPECT_TRUE(edit.hasFocus());
    }
    click(controls().radians);
    EXPECT_FALSE(controls().degrees->isChecked());
    EXPECT_FALSE(engine.degrees());
    click(controls().hexadecimal);
    EXPECT_FALSE(controls().decimal->isChecked());
    EXPECT_EQ(window.logic().displayBase(), DisplayBase::Hexadecimal);
}

TEST_F(MainWindowTest, ModeButtonOnAnEmptyLineLeavesTheStatusLine) {
    window.setStatusText("kept");
    click(controls().hexadecimal);
    EXPECT_EQ(status(), "kept");
}

TEST_F(MainWindowTest, ButtonClickKeepsTheWorksheetSelection) {
    setText("abc\n255");
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    click(controls().hexadecimal);
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.textCursor().anchor(), 5);
    EXPECT_EQ(edit.textCursor().position(), 7);
    EXPECT_EQ(status(), "Result: 0xFF");
}

TEST_F(MainWindowTest, UntickedCheckBoxKeepsResultsOutOfTheWorksheet) {
    click(controls().showResults);
    EXPECT_FALSE(controls().showResults->isChecked());
    EXPECT_TRUE(edit.hasFocus());
    typeLine("1+2");
    EXPECT_EQ(edit.toPlainText(), "1+2\n");
    EXPECT_EQ(status(), "Result: 3");
}

TEST_F(MainWindowTest, EscapeIsSwallowedEverywhere) {
    for (QWidget* target : std::vector<QWidget*>{&edit, controls().help, controls().decimal}) {
        SCOPED_TRACE(target->metaObject()->className());
        target->setFocus();
        QTest::keyClick(&edit, Qt::Key_A);
        const int lastKey = window.logic().lastKey();
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.logic().lastKey(), lastKey);
    }
}

TEST_F(MainWindowTest, KeypadDecimalTypesAPointWhateverTheLayoutAndFocus) {
    struct {
        const char* name;
        Qt::Key key;
        QString text;
        QWidget* target;
    } cases[] = {
        {"German layout", Qt::Key_Comma, ",", &edit},
        {"English layout", Qt::Key_Period, ".", &edit},
        {"button focused", Qt::Key_Comma, ",", controls().save},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setText("1");
        c.target->setFocus();
        const int lastKey = window.logic().lastKey();
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::KeypadModifier, c.text);
        QApplication::sendEvent(c.target, &press);
        EXPECT_EQ(edit.toPlainText(), "1.");
        EXPECT_EQ(window.logic().lastKey(), lastKey);
        EXPECT_TRUE(edit.isModified());
        EXPECT_FALSE(edit.document()->isUndoAvailable());
    }
}

TEST_F(MainWindowTest, PeriodOutsideTheKeypadIsTypedNormally) {
    QTest::keyClicks(&edit, "1.5");
    EXPECT_EQ(edit.toPlainText(), "1.5");
    EXPECT_EQ(window.logic().lastKey(), 48 + 5);
}

TEST_F(MainWindowTest, AlwaysOnTopSetsTheStackingAndMovesToTheCorner) {
    window.move(120, 90);
    const QSize size = window.size();
    click(controls().alwaysOnTop);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.size(), size);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.focusWidget(), controls().alwaysOnTop);

    window.move(50, 40);
    click(controls().alwaysOnTop);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.size(), size);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, SizeHasAMinimumAndResizingMovesNoControl) {
    EXPECT_EQ(window.minimumSize(), QSize(230, 150));
    window.resize(100, 80);
    EXPECT_EQ(window.size(), QSize(230, 150));
    const QRect worksheet = edit.geometry();
    const QRect saveAs = controls().saveAs->geometry();
    window.resize(900, 700);
    EXPECT_EQ(edit.geometry(), worksheet);
    EXPECT_EQ(controls().saveAs->geometry(), saveAs);
}

TEST_F(MainWindowTest, MinimisingHidesTheCompanionWindowsAndRestoringShowsThoseOpen) {
    QWidget& list = window.variableListWindow();
    QWidget& graph = window.graphWindow();
    QWidget* functions = window.graphWindow().functionListWindow();
    ASSERT_NE(functions, nullptr);
    const struct {
        const char* name;
        bool listOpen;
        bool graphOpen;
    } cases[] = {
        {"list only", true, false},
        {"graph only", false, true},
        {"both", true, true},
        {"none", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        list.setVisible(c.listOpen);
        graph.setVisible(c.graphOpen);
        functions->hide();
        window.showMinimized();
        EXPECT_FALSE(list.isVisible());
        EXPECT_FALSE(graph.isVisible());
        window.showNormal();
        EXPECT_EQ(list.isVisible(), c.listOpen);
        EXPECT_EQ(graph.isVisible(), c.graphOpen);
        EXPECT_FALSE(functions->isVisible());
    }
}

TEST_F(MainWindowTest, VariableListButtonShowsTheListWithoutRebuildingIt) {
    typeLine("v=4");
    engine.variables().lookupOrCreate("w") = 9.0;
    click(controls().variableList);
    EXPECT_TRUE(window.variableListWindow().isVisible());
    EXPECT_EQ(window.variableListWindow().itemTexts(), QStringList{"v = 4"});
}

TEST_F(MainWindowTest, FunctionDefinitionBringsUpTheGraphWindow) {
    typeLine("fx0 -1,1,x*x");
    EXPECT_EQ(status(), "F(x) OK!");
    EXPECT_TRUE(window.graphWindow().isVisible());
    EXPECT_EQ(edit.toPlainText(), "fx0 -1,1,x*x\n");
    EXPECT_TRUE(window.graphWindow().windowTitle().startsWith(
        QStringLiteral("y = x*x     F(x)的定积分 = 0.66")))
        << window.graphWindow().windowTitle().toStdString();
    EXPECT_EQ(window.graphWindow().functionListWindow()->windowTitle(),
              QStringLiteral("自变量范围:  -1 -->         1"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
}

TEST_F(MainWindowTest, FileButtonsRunTheFileOperations) {
    click(controls().load);
    EXPECT_EQ(dialogs.openDialogs, 1);
    click(controls().save);
    EXPECT_EQ(dialogs.saveDialogs, 1);
    click(controls().saveAs);
    EXPECT_EQ(dialogs.saveDialogs, 2);
}

TEST_F(MainWindowTest, SavingAsNamesTheFileInTheTitle) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    dialogs.savePath = dir.filePath("sheet.txt");
    typeLine("1+2");
    click(controls().saveAs);
    EXPECT_TRUE(window.windowTitle().startsWith("Quillet - ["))
        << window.windowTitle().toStdString();
    EXPECT_TRUE(window.windowTitle().contains("sheet")) << window.windowTitle().toStdString();
}

TEST_F(MainWindowTest, CloseAsksAndCancelKeepsTheWindowOpen) {
    window.logic().setCurrentFilePath("/tmp/quillet-close-test.txt");
    typeLine("1");
    dialogs.answer = FileDialogs::Answer::Cancel;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(dialogs.questions, 1);
    dialogs.answer = FileDialogs::Answer::No;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dialogs.questions, 2);
}

TEST_F(MainWindowTest, ClosingAnUntitledWorksheetAsksNothingAndHidesTheCompanions) {
    typeLine("1");
    window.variableListWindow().show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dialogs.questions, 0);
    EXPECT_FALSE(window.variableListWindow().isVisible());
}

TEST_F(MainWindowTest, HelpOpensTheDocumentInTheCurrentFolderOnlyWhenItExists) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QTextBrowser opened;
    QDesktopServices::setUrlHandler("file", &opened, "setSource");

    click(controls().help);
    EXPECT_TRUE(opened.source().isEmpty());
    EXPECT_TRUE(window.isVisible());

    QFile help(dir.filePath("help.mht"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("help");
    help.close();
    click(controls().help);
    EXPECT_EQ(opened.source(), QUrl::fromLocalFile(QDir(dir.path()).absoluteFilePath("help.mht")));

    QDesktopServices::unsetUrlHandler("file");
    QDir::setCurrent(previous);
}

} // namespace
} // namespace quillet
