// The main window with real widgets: layout, start state, mode buttons, check boxes, keys
// filtered for every control, minimising, files, help and closing.
#include "app/dialog_units.h"
#include "app/file_dialogs.h"
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/variable_list_window.h"
#include "app/worksheet_edit.h"
#include "app/worksheet_files.h"
#include "engine/expression_engine.h"
#include "graphs/fonts.h"
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

#include <functional>
#include <string>

using namespace Qt::StringLiterals;

namespace quillet {
namespace {

class FakeDialogs : public FileDialogs {
public:
    Answer ask(QWidget*, const QString&, const QString&) override { return ++questions, answer; }
    QString openFileName(QWidget*) override { return ++openDialogs, QString(); }
    QString saveFileName(QWidget*) override { return ++saveDialogs, savePath; }
    void showMessage(QWidget*, const QString&) override {}

    Answer answer = Answer::No;
    QString savePath;
    int questions = 0, openDialogs = 0, saveDialogs = 0;
};

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest() : window(engine, dialogs), edit(window.worksheet()), c(window.controls()) {
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

    ExpressionEngine engine;
    FakeDialogs dialogs;
    MainWindow window;
    WorksheetEdit& edit;
    const MainWindow::Controls& c;
};

TEST_F(MainWindowTest, StartsWithDegreesDecimalAndResultsWrittenIntoTheWorksheet) {
    EXPECT_TRUE(c.degrees->isChecked() && c.decimal->isChecked() && c.showResults->isChecked());
    EXPECT_FALSE(c.radians->isChecked() || c.hexadecimal->isChecked() || c.binary->isChecked() ||
                 c.alwaysOnTop->isChecked());
    EXPECT_EQ(status(), u""_s);
    EXPECT_EQ(window.windowTitle(), u"Quillet"_s);
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_FALSE(window.variableListWindow().isVisible() || window.graphWindow().isVisible());
    typeLine(u"sin(30)"_s);
    EXPECT_EQ(status(), u"Result: 0.5"_s);
    EXPECT_EQ(edit.toPlainText(), u"sin(30)\n0.5\n"_s);
    // Unticked, the check box keeps results out of the worksheet but not off the status line.
    click(c.showResults);
    EXPECT_FALSE(c.showResults->isChecked());
    EXPECT_TRUE(edit.hasFocus());
    typeLine(u"1+2"_s);
    EXPECT_EQ(edit.toPlainText(), u"sin(30)\n0.5\n1+2\n"_s);
    EXPECT_EQ(status(), u"Result: 3"_s);
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutTableInDialogUnits) {
    const struct {
        const QWidget* control;
        const char* text;
        int x, y, width, height;
    } rows[] = {
        {c.worksheet, "", 0, 36, 194, 108},
        {c.degrees, "角度制", 4, 6, 36, 10},
        {c.radians, "弧度制", 40, 6, 34, 10},
        {c.angleFrame, "", 3, 1, 73, 17},
        {c.variableList, "变量列表", 199, 53, 37, 14},
        {c.status, "", 5, 148, 194, 8}, // as wide as the worksheet
        {c.showResults, "编辑框内显示运算结果", 4, 22, 91, 10},
        {c.decimal, "十进制", 80, 6, 33, 10},
        {c.hexadecimal, "十六进制", 114, 6, 42, 10},
        {c.binary, "二进制", 157, 6, 34, 10},
        {c.baseFrame, "", 78, 1, 116, 17},
        {c.load, "载入文件", 199, 78, 37, 14},
        {c.save, "保存文件", 199, 103, 37, 14},
        {c.saveAs, "另存为", 199, 128, 37, 14},
        {c.help, "帮  助", 199, 28, 37, 14},
        {c.alwaysOnTop, "主窗口总在最前", 115, 22, 67, 10},
    };
    const DialogUnits units(window.font());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x * 1000 + row.y);
        ASSERT_NE(row.control, nullptr);
        const char* textProperty = row.control->inherits("QGroupBox") ? "title" : "text";
        EXPECT_EQ(row.control->property(textProperty).toString(), QString::fromUtf8(row.text));
        EXPECT_EQ(row.control->geometry(), units.rect(row.x, row.y, row.width, row.height));
    }
    EXPECT_EQ(window.size(), units.size(237, 160));
    // A dialog unit is a quarter of the average character width and an eighth of its height.
    const DialogUnits nine(dialogFont(9));
    const int w = nine.averageCharWidth(), h = nine.charHeight();
    EXPECT_GT(w, 0);
    EXPECT_EQ(nine.rect(2, 3, 4, 8), QRect((2 * w + 2) / 4, (3 * h + 4) / 8, w, h));
}

TEST_F(MainWindowTest, TabVisitsOnlyTheTabStopsInLayoutOrder) {
    edit.setFocus();
    for (QWidget* expected :
         std::vector<QWidget*>{c.load, c.save, c.saveAs, c.help, c.alwaysOnTop, &edit}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
}

TEST_F(MainWindowTest, ModeButtonsRerunTheCaretLineUnderTheNewSetting) {
    using C = MainWindow::Controls;
    const struct {
        const char* line;
        QRadioButton* C::*button;
        const char* status;
    } cases[] = {
        {"sin(30)", &C::radians, "Result: -0.988031624093"},
        {"sin(30)", &C::degrees, "Result: 0.5"},
        {"255", &C::hexadecimal, "Result: 0xFF"},
        {"5", &C::binary, "Result: 0b 00000101"},
        {"255", &C::decimal, "Result: 255"},
        {"2+2", &C::decimal, "Result: 4"}, // the button already selected
        {"", &C::hexadecimal, "kept"},     // an empty line leaves the status line
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.status);
        setText(QString::fromUtf8(row.line));
        window.setStatusText("kept");
        click(c.*row.button);
        EXPECT_TRUE((c.*row.button)->isChecked());
        EXPECT_EQ(status(), QString::fromUtf8(row.status));
        EXPECT_EQ(edit.toPlainText(), QString::fromUtf8(row.line));
        EXPECT_TRUE(edit.hasFocus());
    }
    click(c.radians);
    EXPECT_FALSE(c.degrees->isChecked() || engine.degrees() || c.decimal->isChecked());
}

TEST_F(MainWindowTest, EscapeIsSwallowedAndKeypadDecimalTypesAPointWhateverTheFocus) {
    const struct {
        QWidget* target;
        Qt::Key key; // the keypad decimal key: "," on a German layout, "." on an English one
        const char* text;
    } cases[] = {{&edit, Qt::Key_Comma, ","},
                 {&edit, Qt::Key_Period, "."},
                 {c.save, Qt::Key_Comma, ","},
                 {c.help, Qt::Key_Period, "."},
                 {c.decimal, Qt::Key_Comma, ","}};
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.target->metaObject()->className()) + row.text);
        setText(u"1"_s);
        row.target->setFocus();
        const int lastKey = window.logic().lastKey();
        QTest::keyClick(row.target, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
        QKeyEvent press(QEvent::KeyPress, row.key, Qt::KeypadModifier, QString::fromUtf8(row.text));
        QApplication::sendEvent(row.target, &press);
        EXPECT_EQ(edit.toPlainText(), u"1."_s);
        EXPECT_EQ(window.logic().lastKey(), lastKey);
        EXPECT_TRUE(edit.isModified());
        EXPECT_FALSE(edit.document()->isUndoAvailable());
    }
}

TEST_F(MainWindowTest, AlwaysOnTopSetsTheStackingAndMovesToTheCorner) {
    const QSize size = window.size();
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop);
        window.move(120, 90);
        click(c.alwaysOnTop);
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(window.pos(), QPoint(0, 0));
        EXPECT_EQ(window.size(), size);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.focusWidget(), c.alwaysOnTop);
    }
}

TEST_F(MainWindowTest, SizeHasAMinimumAndResizingMovesNoControl) {
    window.resize(100, 80);
    EXPECT_EQ(window.size(), QSize(230, 150));
    const QRect worksheet = edit.geometry(), saveAs = c.saveAs->geometry();
    window.resize(900, 700);
    EXPECT_EQ(edit.geometry(), worksheet);
    EXPECT_EQ(c.saveAs->geometry(), saveAs);
}

TEST_F(MainWindowTest, MinimisingHidesTheCompanionWindowsAndRestoringShowsThoseOpen) {
    QWidget& list = window.variableListWindow();
    QWidget& graph = window.graphWindow();
    QWidget* functions = window.graphWindow().functionListWindow();
    for (const auto& [listOpen, graphOpen] : {std::pair{true, false}, std::pair{false, true},
                                              std::pair{true, true}, std::pair{false, false}}) {
        SCOPED_TRACE(listOpen * 10 + graphOpen);
        list.setVisible(listOpen);
        graph.setVisible(graphOpen);
        functions->hide();
        window.showMinimized();
        EXPECT_FALSE(list.isVisible() || graph.isVisible());
        window.showNormal();
        EXPECT_EQ(list.isVisible(), listOpen);
        EXPECT_EQ(graph.isVisible(), graphOpen);
        EXPECT_FALSE(functions->isVisible());
    }
}

TEST_F(MainWindowTest, FunctionDefinitionBringsUpTheGraphWindowAndKeepsTheFocus) {
    typeLine(u"fx0 -1,1,x*x"_s);
    EXPECT_EQ(status(), u"F(x) OK!"_s);
    EXPECT_EQ(edit.toPlainText(), u"fx0 -1,1,x*x\n"_s);
    EXPECT_TRUE(window.graphWindow().isVisible());
    EXPECT_TRUE(window.graphWindow().windowTitle().startsWith(QStringLiteral("y = x*x     F(x)")));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
}

TEST_F(MainWindowTest, FileButtonsAndShortcutsRunTheFileOperationsAndGiveTheKeyboardBack) {
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m) {
        return [this, k, m] { QTest::keyClick(&edit, k, m); };
    };
    const struct {
        std::function<void()> trigger;
        int opens, saves;
    } cases[] = {
        {[this] { click(c.load); }, 1, 0},
        {[this] { click(c.save); }, 0, 1},
        {[this] { click(c.saveAs); }, 0, 1},
        {key(Qt::Key_O, Qt::ControlModifier), 1, 0},
        {key(Qt::Key_S, Qt::ControlModifier), 0, 1},
        {key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier), 0, 1},
        {key(Qt::Key_F1, Qt::NoModifier), 0, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        dialogs.openDialogs = dialogs.saveDialogs = 0;
        cases[i].trigger();
        EXPECT_EQ(std::pair(dialogs.openDialogs, dialogs.saveDialogs),
                  std::pair(cases[i].opens, cases[i].saves));
        EXPECT_TRUE(edit.hasFocus());
        EXPECT_EQ(window.helpWindow(), nullptr);
    }
    QTemporaryDir dir;
    dialogs.savePath = dir.filePath(u"sheet.txt"_s);
    typeLine(u"1+2"_s);
    click(c.saveAs);
    EXPECT_TRUE(window.windowTitle().startsWith(u"Quillet - ["_s) &&
                window.windowTitle().contains(u"sheet"_s))
        << window.windowTitle().toStdString();
}

TEST_F(MainWindowTest, StatusLineIsAsWideAsTheWorksheetAndMarksACutTextWithAnEllipsis) {
    EXPECT_EQ(c.status->width(), edit.width());
    for (const std::string& text :
         {std::string("Result: 1.09951162778e+12"), "Result: " + std::string(200, '7')}) {
        SCOPED_TRACE(text);
        window.setStatusText(text);
        const QString shown = c.status->text();
        EXPECT_LE(c.status->fontMetrics().horizontalAdvance(shown),
                  c.status->contentsRect().width());
        EXPECT_EQ(shown == QString::fromStdString(text), text.size() < 100);
        EXPECT_EQ(shown.endsWith(QChar(0x2026)), text.size() > 100);
        EXPECT_EQ(c.status->toolTip().toStdString(), text);
        EXPECT_EQ(status().toStdString(), text);
    }
}

TEST_F(MainWindowTest, CloseAsksAboutChangesAndCancelKeepsTheWindowOpen) {
    typeLine(u"1"_s);
    window.variableListWindow().show();
    window.files().setCurrentFilePath(QStringLiteral("/tmp/quillet-close-test.txt"));
    dialogs.answer = FileDialogs::Answer::Cancel;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible() && window.variableListWindow().isVisible());
    EXPECT_EQ(dialogs.questions, 1);
    window.files().setCurrentFilePath(QString()); // never saved or loaded, typed into: asked too
    dialogs.answer = FileDialogs::Answer::No;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dialogs.questions, 2);
    EXPECT_FALSE(window.variableListWindow().isVisible());
}

// A folder of stand-ins for the desktop's launcher and type database, put alone on PATH.
void writeDesktopTools(const QString& folder, bool launcher, const char* application) {
    const auto write = [&](const char* name, const QByteArray& script) {
        QFile file(folder + u"/"_s + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(script) == script.size());
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    if (launcher)
        write("xdg-open", "#!/bin/sh\nexit 0\n");
    write("xdg-mime", QByteArray("#!/bin/sh\n[ \"$2\" = filetype ] && echo multipart/related\n"
                                 "[ \"$2\" = default ] && echo ") +
                          application + "\nexit 0\n");
}

TEST_F(MainWindowTest, HelpOpensInTheDesktopViewerWhenThereIsOneAndInItsOwnWindowOtherwise) {
    const QString previousFolder = QDir::currentPath();
    const QByteArray previousPath = qgetenv("PATH");
    QTextBrowser opened;
    QDesktopServices::setUrlHandler(u"file"_s, &opened, "setSource");
    const struct {
        bool document, launcher;
        const char* application;
        bool viewer;
    } cases[] = {
        {false, true, "viewer.desktop", false}, // no document
        {true, false, "viewer.desktop", false}, // no launcher
        {true, true, "", false},                // no application for the type
        {true, true, "viewer.desktop", true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.document * 100 + row.launcher * 10 + row.viewer);
        QTemporaryDir folder, tools;
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        writeDesktopTools(tools.path(), row.launcher, row.application);
        qputenv("PATH", QFile::encodeName(tools.path()));
        QFile document(folder.filePath(u"help.mht"_s));
        if (row.document) {
            ASSERT_TRUE(document.open(QIODevice::WriteOnly) && document.write("help") == 4);
            document.close();
        }
        opened.setSource(QUrl());
        if (window.helpWindow())
            window.helpWindow()->hide();

        click(c.help);
        EXPECT_EQ(opened.source(),
                  row.viewer
                      ? QUrl::fromLocalFile(QDir(folder.path()).absoluteFilePath(u"help.mht"_s))
                      : QUrl());
        HelpWindow* help = window.helpWindow();
        EXPECT_EQ(help && help->isVisible(), !row.viewer);
        EXPECT_TRUE(edit.hasFocus());
        if (!row.viewer) {
            EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("工作表的用法")));
            EXPECT_EQ(help->windowTitle(), QStringLiteral("Quillet 帮助"));
        }
    }
    qputenv("PATH", previousPath);
    QDesktopServices::unsetUrlHandler(u"file"_s);
    QDir::setCurrent(previousFolder);

    // A companion window: hidden and shown again with the main window, closed by Escape.
    HelpWindow& help = *window.helpWindow();
    help.show();
    window.showMinimized();
    EXPECT_FALSE(help.isVisible());
    window.showNormal();
    EXPECT_TRUE(help.isVisible());
    QTest::keyClick(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    EXPECT_TRUE(edit.hasFocus());
}

} // namespace
} // namespace quillet
