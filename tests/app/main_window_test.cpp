// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with real widgets: layout, start state, mode buttons, check boxes, keys
// filtered for every control, minimising, files, help and closing.
#include "app/dialog_units.h"
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "app/help_window.h"
#include "app/variable_list_window.h"
#include "app/worksheet_files.h"
#include "graphs/fonts.h"
#include "tests/app/window_fixture.h"
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
#include <QTextBrowser>

#include <functional>
#include <string>

namespace quillet {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithDegreesDecimalAndResultsWrittenIntoTheWorksheet) {
    EXPECT_TRUE(c.degrees->isChecked() && c.decimal->isChecked() && c.showResults->isChecked());
    EXPECT_FALSE(c.alwaysOnTop->isChecked());
    EXPECT_EQ(window.windowTitle(), u"Quillet"_s);
    EXPECT_FALSE(window.variableListWindow().isVisible() || window.graphWindow().isVisible());
    type(u"sin(30)\n"_s);
    EXPECT_EQ(text(), u"sin(30)\n0.5\n"_s);
    // Unticked, the check box keeps results out of the worksheet but not off the status line.
    click(c.showResults);
    EXPECT_TRUE(edit.hasFocus());
    type(u"1+2\n"_s);
    EXPECT_EQ(text(), u"sin(30)\n0.5\n1+2\n"_s);
    EXPECT_EQ(status(), u"Result: 3"_s);
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutTableInDialogUnits) {
    const struct {
        const QWidget* control;
        QString text;
        int x, y, width, height;
    } rows[] = {
        {c.worksheet, {}, 0, 36, 194, 108},
        {c.degrees, u"角度制"_s, 4, 6, 36, 10},
        {c.radians, u"弧度制"_s, 40, 6, 34, 10},
        {c.angleFrame, {}, 3, 1, 73, 17},
        {c.variableList, u"变量列表"_s, 199, 53, 37, 14},
        {c.status, {}, 5, 148, 194, 8}, // as wide as the worksheet
        {c.showResults, u"编辑框内显示运算结果"_s, 4, 22, 91, 10},
        {c.decimal, u"十进制"_s, 80, 6, 33, 10},
        {c.hexadecimal, u"十六进制"_s, 114, 6, 42, 10},
        {c.binary, u"二进制"_s, 157, 6, 34, 10},
        {c.baseFrame, {}, 78, 1, 116, 17},
        {c.load, u"载入文件"_s, 199, 78, 37, 14},
        {c.save, u"保存文件"_s, 199, 103, 37, 14},
        {c.saveAs, u"另存为"_s, 199, 128, 37, 14},
        {c.help, u"帮  助"_s, 199, 28, 37, 14},
        {c.alwaysOnTop, u"主窗口总在最前"_s, 115, 22, 67, 10},
    };
    const DialogUnits units(window.font());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x * 1000 + row.y);
        const char* textProperty = row.control->inherits("QGroupBox") ? "title" : "text";
        EXPECT_EQ(row.control->property(textProperty).toString(), row.text);
        EXPECT_EQ(row.control->geometry(), units.rect(row.x, row.y, row.width, row.height));
    }
    EXPECT_EQ(window.size(), units.size(237, 160));
    // A dialog unit is a quarter of the average character width and an eighth of its height.
    const DialogUnits nine(dialogFont(9));
    const int w = nine.averageCharWidth(), h = nine.charHeight();
    EXPECT_EQ(nine.rect(2, 3, 4, 8), QRect((2 * w + 2) / 4, (3 * h + 4) / 8, w, h));
    // The size has a minimum, and resizing moves no control.
    window.resize(100, 80);
    EXPECT_EQ(window.size(), QSize(230, 150));
    window.resize(900, 700);
    EXPECT_EQ(c.saveAs->geometry(), units.rect(199, 128, 37, 14));
}

TEST_F(MainWindowTest, TabVisitsOnlyTheTabStopsInLayoutOrder) {
    for (QWidget* expected :
         std::vector<QWidget*>{c.load, c.save, c.saveAs, c.help, c.alwaysOnTop, &edit}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
}

TEST_F(MainWindowTest, ModeButtonsRerunTheCaretLineUnderTheNewSetting) {
    using C = MainWindow::Controls;
    const struct {
        QString line;
        QRadioButton* C::*button;
        QString status;
    } cases[] = {
        {u"sin(30)"_s, &C::radians, u"Result: -0.988031624093"_s},
        {u"sin(30)"_s, &C::degrees, u"Result: 0.5"_s},
        {u"255"_s, &C::hexadecimal, u"Result: 0xFF"_s},
        {u"5"_s, &C::binary, u"Result: 0b 00000101"_s},
        {u"255"_s, &C::decimal, u"Result: 255"_s},
        {{}, &C::hexadecimal, u"kept"_s}, // an empty line leaves the status line
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.status.toStdString());
        setText(row.line);
        window.setStatusText("kept");
        click(c.*row.button);
        EXPECT_EQ(status(), row.status);
        EXPECT_EQ(text(), row.line);
        EXPECT_TRUE(edit.hasFocus());
    }
}

TEST_F(MainWindowTest, EscapeIsSwallowedAndKeypadDecimalTypesAPointWhateverTheFocus) {
    // The keypad decimal key: "," on a German layout, "." on an English one.
    for (const auto& [target, key] : {std::pair<QWidget*, Qt::Key>{&edit, Qt::Key_Comma},
                                      {c.help, Qt::Key_Period},
                                      {c.decimal, Qt::Key_Comma}}) {
        SCOPED_TRACE(target->metaObject()->className());
        setText(u"1"_s);
        target->setFocus();
        const int lastKey = window.logic().lastKey();
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, QString(QChar(key)));
        QApplication::sendEvent(target, &press);
        EXPECT_EQ(text(), u"1."_s);
        EXPECT_EQ(window.logic().lastKey(), lastKey);
        EXPECT_TRUE(edit.isModified());
        EXPECT_FALSE(edit.document()->isUndoAvailable()); // loaded text has nothing to undo
    }
}

TEST_F(MainWindowTest, AlwaysOnTopSetsTheStackingAndMovesToTheCorner) {
    for (const bool onTop : {true, false}) {
        window.move(120, 90);
        click(c.alwaysOnTop);
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(window.pos(), QPoint(0, 0));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.focusWidget(), c.alwaysOnTop);
    }
}

TEST_F(MainWindowTest, MinimisingHidesTheCompanionWindowsAndRestoringShowsThoseOpen) {
    QWidget& list = window.variableListWindow();
    QWidget& graph = window.graphWindow();
    for (const auto& [listOpen, graphOpen] : {std::pair{true, false}, std::pair{false, true}}) {
        list.setVisible(listOpen);
        graph.setVisible(graphOpen);
        window.showMinimized();
        EXPECT_FALSE(list.isVisible() || graph.isVisible());
        window.showNormal();
        EXPECT_EQ(list.isVisible(), listOpen);
        EXPECT_EQ(graph.isVisible(), graphOpen);
        EXPECT_FALSE(window.graphWindow().functionListWindow()->isVisible());
    }
}

TEST_F(MainWindowTest, FunctionDefinitionBringsUpTheGraphWindowAndKeepsTheFocus) {
    type(u"fx0 -1,1,x*x\n"_s);
    EXPECT_TRUE(window.graphWindow().isVisible());
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
    QTemporaryDir dir;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        dialogs.openDialogs = dialogs.saveDialogs = 0;
        cases[i].trigger();
        EXPECT_EQ(std::pair(dialogs.openDialogs, dialogs.saveDialogs),
                  std::pair(cases[i].opens, cases[i].saves));
        EXPECT_TRUE(edit.hasFocus());
        EXPECT_EQ(window.helpWindow(), nullptr);
    }
    dialogs.savePath = dir.filePath(u"sheet.txt"_s);
    type(u"1+2\n"_s);
    click(c.saveAs);
    EXPECT_EQ(window.windowTitle(), u"Quillet - [sheet.txt]"_s);
}

TEST_F(MainWindowTest, StatusLineMarksACutTextWithAnEllipsis) {
    for (const std::string& text :
         {std::string("Result: 1.09951162778e+12"), "Result: " + std::string(200, '7')}) {
        window.setStatusText(text);
        const QString shown = c.status->text();
        EXPECT_LE(c.status->fontMetrics().horizontalAdvance(shown),
                  c.status->contentsRect().width());
        EXPECT_EQ(shown == QString::fromStdString(text), text.size() < 100);
        EXPECT_EQ(shown.endsWith(QChar(0x2026)), text.size() > 100);
        EXPECT_EQ(c.status->toolTip().toStdString(), text);
    }
}

TEST_F(MainWindowTest, CloseAsksAboutChangesAndCancelKeepsTheWindowOpen) {
    type(u"1\n"_s);
    window.variableListWindow().show();
    dialogs.answers = {FileDialogs::Answer::Cancel, FileDialogs::Answer::No};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible() && window.variableListWindow().isVisible());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(dialogs.asked.size(), 2);
    EXPECT_FALSE(window.variableListWindow().isVisible());
}

// Stand-ins for the desktop's launcher and type database, put alone on PATH.
void writeDesktopTools(const QString& folder, bool launcher, const char* application) {
    const auto write = [&](const QString& name, const QByteArray& script) {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(script) == script.size());
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    if (launcher)
        write(u"xdg-open"_s, "#!/bin/sh\nexit 0\n");
    write(u"xdg-mime"_s, QByteArray("#!/bin/sh\n[ \"$2\" = filetype ] && echo multipart/related\n"
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
        }
        document.close();
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
            EXPECT_TRUE(help->toPlainText().contains(u"工作表的用法"_s));
            EXPECT_EQ(help->windowTitle(), u"Quillet 帮助"_s);
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
