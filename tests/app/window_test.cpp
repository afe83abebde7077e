// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, its worksheet editor and its companion windows (variable list, graph,
// function list, help) with real widgets and real key and mouse events: what only the widgets
// do (layout, focus, stacking, keys, undo, pixels, the wiring of every control), not what the
// lines typed compute. Runs inside a QApplication, offscreen unless a display is chosen.
#include "app/dialog_units.h"
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "app/help_window.h"
#include "app/variable_list_window.h"
#include "graphs/fonts.h"
#include "graphs/function_graphs.h"
#include "graphs/function_palette.h"
#include "tests/app/window_fixture.h"
#include "tests/graphs/pixels.h"
#include "worksheet/worksheet_logic.h"

#include <string>

namespace quillet {
namespace {

using WorksheetEditTest = WindowTest;
using MainWindowTest = WindowTest;

TEST_F(WorksheetEditTest, EveryEnterEndsTheLineButPastedLineBreaksProcessNothing) {
    type(u"4*4"_s);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier); // no soft line break
    type(u"5*5"_s);
    QTest::keyClick(&edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(text(), u"4*4\n16\n5*5\n25\n"_s);
    setText({});
    type(u"1+2"_s);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.insertPlainText(u"5\n"_s);
    EXPECT_EQ(text(), u"1+5\n"_s);
}

TEST_F(WorksheetEditTest, HeldArrowKeyShowsOnlyTheLineReached) {
    edit.setWorksheetText(u"y=1\ny=2\n30\n40"_s);
    QTest::keyPress(&edit, Qt::Key_Down);
    // A held key repeats as release and press pairs marked as repeats.
    for (const auto type :
         {QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent event(type, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&edit, &event);
        EXPECT_EQ(status(), QString()) << type;
    }
    QTest::keyRelease(&edit, Qt::Key_Down);
    EXPECT_EQ(status(), u"Result: 40"_s);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(status(), u"Result: 30"_s);
}

TEST_F(WorksheetEditTest, UndoTakesBackEachEnterWithItsOutputAndThenTheEarlierEdits) {
    const auto undoTrail = [this] { // the text now and after each Ctrl+Z while it undoes something
        QStringList trail{text()};
        while (edit.document()->isUndoAvailable() && trail.size() < 5) {
            QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
            trail << text();
        }
        return trail;
    };
    setText(u"old\n"_s);
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    type(u"1+2\n"_s);
    EXPECT_EQ(undoTrail(), (QStringList{u"1+2\n3\n"_s, u"1+2"_s, u"old\n"_s}));
    // The Insert key's text and the keypad point join the step before them.
    setText({});
    type(u"6*7\n"_s);
    QTest::keyClick(&edit, Qt::Key_Insert);
    QTest::keyClick(&edit, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(undoTrail(), (QStringList{u"6*7\n42\n42."_s, u"6*7"_s, {}}));
    // Clearing leaves an unmodified worksheet; undone, it differs from the file again.
    setText(u"a=1\n"_s);
    type(u"cls\n"_s);
    EXPECT_FALSE(edit.isModified());
    EXPECT_EQ(undoTrail(), (QStringList{{}, u"a=1\ncls"_s, u"a=1\n"_s}));
    EXPECT_TRUE(edit.isModified());
}

TEST_F(WorksheetEditTest, ShiftInsertPastesTheClipboardAndAShiftReleasedElsewhereIsForgotten) {
    type(u"6*7\n"_s);
    QApplication::clipboard()->setText(u"clip"_s);
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyPress(&edit, Qt::Key_Shift);
    c.help->setFocus();
    QTest::keyRelease(c.help, Qt::Key_Shift);
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_EQ(text(), u"6*7\n42\nclip42"_s);
}

TEST_F(WorksheetEditTest, SelectionSurvivesAButtonClickAndFollowsTextInsertedMeanwhile) {
    edit.setWorksheetText(u"abc\n255"_s);
    select(5, 7);
    click(c.hexadecimal); // takes the focus for a moment and gives it back
    EXPECT_EQ(std::pair(edit.hasFocus(), selection()), std::pair(true, std::pair(5, 7)));
    select(1, 3);
    c.help->setFocus();
    edit.insertSystemText(u"def"_s); // replaces "bc"
    edit.setFocus();
    EXPECT_EQ(std::pair(text(), selection()), std::pair(u"adef\n255"_s, std::pair(4, 4)));
    EXPECT_EQ(edit.lineWrapMode(), QPlainTextEdit::NoWrap); // a line is a line of the worksheet
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutTableInDialogUnits) {
    // Each control's text, then its x, y, width and height in dialog units; the status line
    // is as wide as the worksheet.
    const std::tuple<const QWidget*, QString, int, int, int, int> rows[] = {
        // clang-format off
        {c.worksheet, {}, 0, 36, 194, 108}, {c.status, {}, 5, 148, 194, 8},
        {c.angleFrame, {}, 3, 1, 73, 17}, {c.baseFrame, {}, 78, 1, 116, 17},
        {c.degrees, u"角度制"_s, 4, 6, 36, 10}, {c.radians, u"弧度制"_s, 40, 6, 34, 10},
        {c.decimal, u"十进制"_s, 80, 6, 33, 10}, {c.hexadecimal, u"十六进制"_s, 114, 6, 42, 10},
        {c.binary, u"二进制"_s, 157, 6, 34, 10}, {c.showResults, u"编辑框内显示运算结果"_s, 4, 22, 91, 10},
        {c.alwaysOnTop, u"主窗口总在最前"_s, 115, 22, 67, 10}, {c.help, u"帮  助"_s, 199, 28, 37, 14},
        {c.variableList, u"变量列表"_s, 199, 53, 37, 14}, {c.load, u"载入文件"_s, 199, 78, 37, 14},
        {c.save, u"保存文件"_s, 199, 103, 37, 14}, {c.saveAs, u"另存为"_s, 199, 128, 37, 14},
        // clang-format on
    };
    const DialogUnits units(window.font());
    for (const auto& [control, label, x, y, width, height] : rows) {
        const char* property = control->inherits("QGroupBox") ? "title" : "text";
        EXPECT_EQ(std::pair(control->property(property).toString(), control->geometry()),
                  std::pair(label, units.rect(x, y, width, height)));
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

TEST_F(MainWindowTest, TabVisitsOnlyTheTabStopsInLayoutOrderAndClicksElsewhereKeepTheFocus) {
    for (QWidget* expected :
         std::vector<QWidget*>{c.load, c.save, c.saveAs, c.help, c.alwaysOnTop, &edit}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
    // Clicks on the frames and the status line leave the keyboard where it was.
    for (QWidget* control : std::vector<QWidget*>{c.angleFrame, c.baseFrame, c.status}) {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(1, 1));
        EXPECT_TRUE(edit.hasFocus()) << control->metaObject()->className();
    }
}

// The window starts in degrees and decimal, results shown in the worksheet.
TEST_F(MainWindowTest, ModeButtonsRerunTheCaretLineAndTheCheckBoxKeepsResultsOut) {
    EXPECT_TRUE(c.degrees->isChecked() && c.decimal->isChecked() && c.showResults->isChecked());
    type(u"sin(30)\n"_s);
    EXPECT_EQ(status(), u"Result: 0.5"_s);
    // The line at the caret, the button clicked and the status line then.
    const std::tuple<QString, QRadioButton*, QString> cases[] = {
        {u"sin(30)"_s, c.radians, u"Result: -0.988031624093"_s},
        {u"sin(30)"_s, c.degrees, u"Result: 0.5"_s},
        {u"255"_s, c.hexadecimal, u"Result: 0xFF"_s},
        {u"5"_s, c.binary, u"Result: 0b 00000101"_s},
        {u"255"_s, c.decimal, u"Result: 255"_s},
    };
    for (const auto& [line, button, shown] : cases) {
        setText(line);
        window.setStatusText("kept");
        click(button);
        EXPECT_EQ(std::tuple(status(), text(), edit.hasFocus()), std::tuple(shown, line, true));
    }
    setText({});
    click(c.showResults);
    EXPECT_TRUE(edit.hasFocus());
    type(u"255\n"_s);
    EXPECT_EQ(text() + status(), u"255\nResult: 255"_s);
}

TEST_F(MainWindowTest, EscapeIsSwallowedAndKeypadDecimalTypesAPointWhateverTheFocus) {
    // The keypad decimal key: "," on a German layout, "." on an English one.
    for (const auto& [target, key] :
         {std::pair<QWidget*, Qt::Key>{&edit, Qt::Key_Comma}, {c.decimal, Qt::Key_Period}}) {
        SCOPED_TRACE(target->metaObject()->className());
        setText(u"1"_s);
        target->setFocus();
        const int lastKey = window.logic().lastKey();
        QTest::keyClick(target, Qt::Key_Escape);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, QString(QChar(key)));
        QApplication::sendEvent(target, &press);
        // The key is not remembered, and the loaded text still has nothing to undo.
        EXPECT_EQ(std::tuple(text(), window.logic().lastKey(), edit.isModified(),
                             edit.document()->isUndoAvailable()),
                  std::tuple(u"1."_s, lastKey, true, false));
    }
}

TEST_F(MainWindowTest, AlwaysOnTopSetsTheStackingAndMovesToTheCorner) {
    for (const bool onTop : {true, false}) {
        window.move(120, 90);
        click(c.alwaysOnTop);
        EXPECT_EQ(std::tuple(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), window.pos(),
                             window.isVisible(), window.focusWidget() == c.alwaysOnTop),
                  std::tuple(onTop, QPoint(0, 0), true, true));
    }
}

// The companion windows are hidden with the main window and shown again with it when they
// were open. Escape and the close box only hide them (the graph window with its function
// list) and give the keyboard back to the worksheet; opened again, they are where they were.
TEST_F(MainWindowTest, CompanionWindowsFollowTheMainWindowAndHideOnEscapeOrClose) {
    qputenv("PATH", ""); // no desktop viewer: the help opens in its own window
    GraphWindow& graph = window.graphWindow();
    const std::function<QWidget*()> openers[] = {
        [&] { return click(c.variableList), &window.variableListWindow(); },
        [&] { return type(u"fx0 -1,1,x*x\n"_s), click(graph.functionsButton()), &graph; },
        [&] { return click(c.help), static_cast<QWidget*>(window.helpWindow()); },
    };
    for (const auto& open : openers) {
        QWidget* companion = open();
        SCOPED_TRACE(companion->metaObject()->className());
        companion->setGeometry(40, 30, 500, 350);
        window.showMinimized();
        EXPECT_FALSE(companion->isVisible() || graph.functionListWindow()->isVisible());
        window.showNormal();
        EXPECT_TRUE(companion->isVisible());
        for (const bool escape : {true, false}) {
            companion->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(companion));
            escape ? QTest::keyClick(companion->focusWidget(), Qt::Key_Escape)
                   : void(companion->close());
            EXPECT_FALSE(companion->isVisible() || graph.functionListWindow()->isVisible());
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window) && edit.hasFocus());
            window.showMinimized();
            window.showNormal();
            EXPECT_FALSE(companion->isVisible());
            EXPECT_EQ(open(), companion);
            EXPECT_EQ(companion->geometry(), QRect(40, 30, 500, 350));
        }
        companion->close();
    }
}

TEST_F(MainWindowTest, StatusLineMarksACutTextWithAnEllipsisAndShowsItWholeUnderTheMouse) {
    const std::string text = "Result: " + std::string(200, '7');
    window.setStatusText(text);
    const QString shown = c.status->text();
    EXPECT_LE(c.status->fontMetrics().horizontalAdvance(shown), c.status->contentsRect().width());
    EXPECT_TRUE(shown.startsWith(u"Result: 777"_s) && shown.endsWith(QChar(0x2026)));
    EXPECT_EQ(c.status->toolTip().toStdString(), text);
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

// The desktop's launcher and type database are stand-ins put alone on PATH.
TEST_F(MainWindowTest, HelpOpensInTheDesktopViewerWhenThereIsOneAndInItsOwnWindowOtherwise) {
    QTest::keyClick(&edit, Qt::Key_F1); // help is reached by its button only
    EXPECT_EQ(window.helpWindow(), nullptr);
    QTextBrowser opened;
    QDesktopServices::setUrlHandler(u"file"_s, &opened, "setSource");
    // A document, a launcher, the application for the document's type; the viewer opens it.
    const std::tuple<bool, bool, QByteArray, bool> cases[] = {
        {false, true, "viewer.desktop", false},
        {true, false, "viewer.desktop", false},
        {true, true, "", false},
        {true, true, "viewer.desktop", true},
    };
    for (const auto& [document, launcher, application, viewer] : cases) {
        SCOPED_TRACE(document * 100 + launcher * 10 + viewer);
        QTemporaryDir folder, tools;
        ASSERT_TRUE(QDir::setCurrent(folder.path()));
        if (launcher)
            writeFile(tools.filePath(u"xdg-open"_s), "#!/bin/sh\n");
        writeFile(tools.filePath(u"xdg-mime"_s),
                  "#!/bin/sh\n[ $2 = filetype ] && echo text/x-help || echo " + application);
        qputenv("PATH", QFile::encodeName(tools.path()));
        if (document)
            writeFile(folder.filePath(u"help.mht"_s), "help");
        opened.setSource(QUrl());
        if (window.helpWindow())
            window.helpWindow()->hide();

        click(c.help);
        const HelpWindow* help = window.helpWindow();
        EXPECT_EQ(std::tuple(opened.source(), help && help->isVisible(), edit.hasFocus()),
                  std::tuple(viewer ? QUrl::fromLocalFile(folder.filePath(u"help.mht"_s)) : QUrl(),
                             !viewer, true));
    }
    QDesktopServices::unsetUrlHandler(u"file"_s);
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    EXPECT_EQ(window.helpWindow()->size(), QSize(720, 640).boundedTo(screen * 9 / 10));
}

class VariableListWindowTest : public WindowTest {
protected:
    // Shows the list window, made active, and selects the first item.
    void showAndSelect() {
        list.show();
        list.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&list));
        list.list()->setCurrentRow(0);
    }

    VariableListWindow& list = window.variableListWindow();
};

// Items are sorted by their text without regard to case (by value for names that differ only
// in case), in decimal whatever the display base, at the precision set. When the list is
// rebuilt is stated in the transcripts. The window's title, stacking and window buttons are
// seen from outside in the end-to-end test.
TEST_F(VariableListWindowTest, ItemsAreDecimalAndSortedAndTheListFillsTheWindowAtAnySize) {
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.size(), DialogUnits(dialogFont(10)).size(154, 82));
    click(c.hexadecimal);
    type(u"A=5\na=3\nY=2\nx=5\nz=3+4i\nh=255.125\nprecision 4\n"_s);
    EXPECT_EQ(list.itemTexts(), (QStringList{u"a = 3"_s, u"A = 5"_s, u"h = 255.1"_s, u"x = 5"_s,
                                             u"Y = 2"_s, u"z = 3 + 4i"_s}));
    list.show();
    for (const QSize size : {QSize(400, 300), QSize(20, 10)}) {
        list.resize(size);
        EXPECT_EQ(list.list()->geometry(), QRect(QPoint(0, 0), list.size()));
    }
}

TEST_F(VariableListWindowTest, DoubleClickInsertsTheNameUndoablyReplacingTheSelection) {
    type(u"x=5\n"_s);
    edit.setWorksheetText(u"a+b"_s);
    select(2, 3);
    showAndSelect();
    // The events of a real double-click: press, release, double-click, release.
    QWidget* viewport = list.list()->viewport();
    const QPoint centre = list.list()->visualItemRect(list.list()->item(0)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window) && edit.hasFocus());
    EXPECT_EQ(std::pair(text(), edit.isModified()), std::pair(u"a+x"_s, true));
    edit.undo();
    EXPECT_EQ(text(), u"a+b"_s);
}

TEST_F(VariableListWindowTest, DeleteErasesOnlyTheSelectedVariable) {
    type(u"x=5\nY=2\n"_s);
    showAndSelect();
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(list.itemTexts(), QStringList{u"Y = 2"_s});
    // No item is selected afterwards: a second Delete erases nothing.
    QTest::keyClick(list.list(), Qt::Key_Delete);
    EXPECT_EQ(engine.variables().find("x"), nullptr);
    // Showing does not rebuild the list: a variable made behind its back is not listed.
    list.hide();
    type(u"x=8\n"_s);
    engine.variables().lookupOrCreate("w") = 9.0;
    click(c.variableList);
    EXPECT_EQ(list.itemTexts(), (QStringList{u"x = 8"_s, u"Y = 2"_s}));
}

class GraphWindowTest : public WindowTest {
protected:
    GraphWindowTest() { graph.resize(400, 300); }

    // The pixels of the first function's colour in the plot.
    int curvePixels() {
        return test::countColour(graph.grab().toImage(), FunctionPalette::colour(0), 61, 0, 400,
                                 270);
    }
    // The envelope caption's pixels: below the label row, right of the button.
    int captionPixels() {
        const int h = graph.height();
        return test::countNot(graph.grab().toImage(), test::kGraphFill, 60, h - 11, 160, h);
    }
    void clickList(int x) { QTest::mouseClick(&functions, Qt::LeftButton, {}, QPoint(x, 10)); }

    GraphWindow& graph = window.graphWindow();
    FunctionListWindow& functions = *graph.functionListWindow();
    FunctionGraphs& graphs = window.graphs();
};

// A definition brings the graph up and draws it; a line run again by a mode button does so only
// after F12. The titles are seen from outside in the end-to-end test.
TEST_F(GraphWindowTest, DefinitionShowsTheGraphAndTheWorksheetKeepsTheFocus) {
    setText(u"fx0 -1,1,x*x"_s);
    click(c.radians);
    EXPECT_FALSE(graph.isVisible());
    QTest::keyClick(&edit, Qt::Key_F12);
    click(c.degrees);
    EXPECT_TRUE(graph.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window) && edit.hasFocus());
    EXPECT_GT(curvePixels(), 100);
}

TEST_F(GraphWindowTest, StartsHiddenAndItsButtonStaysInTheCornerAndShowsTheFixedSizeList) {
    EXPECT_FALSE(graph.isVisible() || graph.envelopeMode() || functions.isVisible());
    EXPECT_EQ(graph.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    QPushButton* button = graph.functionsButton();
    EXPECT_EQ(std::tuple(graph.minimumSize(), functions.windowType(), functions.minimumSize(),
                         button->text()),
              std::tuple(QSize(130, 100), Qt::Tool, functions.maximumSize(), u"函数"_s));
    EXPECT_GT(functions.height(), 200); // 126 dialog units: room for the ten rows
    graph.showWindow();
    for (const QSize size : {QSize(640, 480), QSize(130, 100)}) {
        graph.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(button->geometry(), QRect(5, size.height() - 27, 45, 22)) << size.width();
    }
    QTest::mouseClick(graph.functionsButton(), Qt::LeftButton);
    EXPECT_TRUE(functions.isVisible());
    EXPECT_EQ(functions.pos(), graph.mapToGlobal(QPoint(0, 0)));
    EXPECT_FALSE(graph.envelopeMode()); // the button takes its own click
}

TEST_F(GraphWindowTest, ClicksOnThePlotAndTheListChangeWhatIsDrawn) {
    type(u"fx0 -1,1,x*x+5\nfx1 x\n"_s);
    // Two clicks on the plot show the envelope caption and return to ordinary drawing.
    QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_GT(captionPixels(), 20);
    QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(captionPixels(), 0);
    // A click on a swatch hides the curve; one on the text side flips the rows.
    QTest::mouseClick(graph.functionsButton(), Qt::LeftButton);
    clickList(10);
    EXPECT_EQ(curvePixels(), 0);
    clickList(100);
    EXPECT_TRUE(!graphs.slot(0).shown() && !functions.showCaptions());
}

} // namespace
} // namespace quillet

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
