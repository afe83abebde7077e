// Widget tests of loading and saving worksheets: a real editor and worksheet logic, with the
// dialogs answered by a script.
#include "app/file_dialogs.h"
#include "app/file_texts.h"
#include "app/worksheet_edit.h"
#include "app/worksheet_files.h"
#include "engine/expression_engine.h"
#include "worksheet/worksheet_logic.h"
#include "worksheet/worksheet_views.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillet {
namespace {

using Answer = FileDialogs::Answer;
using namespace std::string_literals;

// Renders bytes as hex so that failures show exactly which bytes differ.
std::string hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toUpper().toStdString();
}

QByteArray bytesOf(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

struct FakeMainWindow : MainWindowView {
    std::string status;
    int statusChanges = 0;
    void setStatusText(std::string_view text) override {
        status = text;
        ++statusChanges;
    }
    bool showResultsInWorksheet() const override { return true; }
};

struct FakeGraphs : FunctionGraphsPort {
    int definitions = 0;
    bool defineFunction(std::string_view, int, bool) override {
        ++definitions;
        return true;
    }
    void clearFunctions() override {}
    void refreshTitle() override {}
    void showGraphWindow() override {}
    void repaintGraphWindow() override {}
};

struct FakeVariableList : VariableListView {
    int refreshes = 0;
    void refreshVariableList() override { ++refreshes; }
};

// Answers every dialog from a script and records what was shown.
struct ScriptedDialogs : FileDialogs {
    struct Question {
        QWidget* owner;
        QString text;
        QString caption;
    };
    std::deque<Answer> answers; // Cancel when the script runs out
    std::vector<Question> questions;
    QString openPath; // empty: the user cancels the dialog
    QString savePath;
    int openDialogs = 0;
    int saveDialogs = 0;
    std::vector<QString> messages;

    Answer ask(QWidget* owner, const QString& text, const QString& caption) override {
        questions.push_back({owner, text, caption});
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString openFileName(QWidget*) override {
        ++openDialogs;
        return openPath;
    }
    QString saveFileName(QWidget*) override {
        ++saveDialogs;
        return savePath;
    }
    void showMessage(QWidget*, const QString& text) override { messages.push_back(text); }
};

class WorksheetFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        editor.setLogic(&logic);
        editor.show();
        editor.setFocus();
    }

    QString pathOf(const QString& name) const { return m_dir.filePath(name); }

    QString writeFile(const QString& name, const QByteArray& bytes) const {
        const QString path = pathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll();
    }

    void load(const QString& path) {
        dialogs.openPath = path;
        files.loadWorksheet();
    }

    // Loads a file of the given bytes, discarding any changes: the worksheet is then tied
    // to it and unmodified.
    QString loadNew(const QString& name, const QByteArray& bytes) {
        const QString path = writeFile(name, bytes);
        dialogs.answers = {Answer::No};
        load(path);
        dialogs.answers.clear();
        dialogs.questions.clear();
        return path;
    }

    void type(const QString& text) { QTest::keyClicks(&editor, text); }
    void pressEnter() { QTest::keyClick(&editor, Qt::Key_Return); }
    void moveToEnd() { editor.moveCursor(QTextCursor::End); }

    QString currentPath() const { return QString::fromStdString(logic.currentFilePath()); }

    ExpressionEngine engine;
    WorksheetEdit editor;
    FakeMainWindow mainWindow;
    FakeGraphs graphs;
    FakeVariableList variableList;
    WorksheetLogic logic{engine, editor, mainWindow, graphs, variableList};
    ScriptedDialogs dialogs;
    QString title = QStringLiteral("Quillet");
    int titleChanges = 0;
    WorksheetFiles files{editor, dialogs, [this](const QString& newTitle) {
                             title = newTitle;
                             ++titleChanges;
                         }};

private:
    QTemporaryDir m_dir;
};

TEST_F(WorksheetFilesTest, CompletedLineIsSavedAsEightBytes) {
    type("1+2");
    pressEnter();
    ASSERT_EQ(editor.toPlainText(), "1+2\n3\n");
    dialogs.savePath = pathOf("sum.txt");
    files.saveWorksheet(); // untitled: runs save as
    EXPECT_EQ(hex(readFile(pathOf("sum.txt"))), "31 2B 32 0D 0A 33 0D 0A");
}

TEST_F(WorksheetFilesTest, ModifiedFlagFollowsEditsLoadsAndSaves) {
    struct Case {
        const char* name;
        std::function<void()> act;
        bool modified;
    };
    const Case cases[] = {
        {"typing", [&] { type("7"); }, true},
        {"deleting", [&] { QTest::keyClick(&editor, Qt::Key_Backspace); }, true},
        {"a completed line and its result",
         [&] {
             type("2*3");
             pressEnter();
         },
         true},
        {"the Insert key pastes the last result",
         [&] {
             type("2*3");
             pressEnter();
             editor.setModified(false);
             QTest::keyClick(&editor, Qt::Key_Insert);
         },
         true},
        {"text inserted at the caret without undo", [&] { editor.replaceSelection("."); }, true},
        {"a variable name from the list",
         [&] { editor.replaceSelectionUndoable(QStringLiteral("x")); }, true},
        {"undo",
         [&] {
             type("5");
             files.saveWorksheet();
             editor.undo();
         },
         true},
        {"cls",
         [&] {
             type("cls");
             pressEnter();
         },
         false},
        {"clr",
         [&] {
             type("clr");
             pressEnter();
         },
         false},
        {"loading",
         [&] {
             type("9");
             dialogs.answers = {Answer::No};
             load(writeFile("other.txt", "4\r\n"));
         },
         false},
        {"save",
         [&] {
             type("9");
             files.saveWorksheet();
         },
         false},
        {"save as",
         [&] {
             type("9");
             dialogs.savePath = pathOf("copy.txt");
             files.saveWorksheetAs();
         },
         false},
        {"Yes to the save-changes question",
         [&] {
             type("9");
             dialogs.answers = {Answer::Yes};
             files.promptSaveChanges(file_texts::kCloseCaption);
         },
         true},
        {"nothing", [] {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        loadNew("sheet.txt", "1+2\r\n3\r\n");
        ASSERT_FALSE(editor.isModified());
        moveToEnd();
        c.act();
        EXPECT_EQ(editor.isModified(), c.modified);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(WorksheetFilesTest, CloseQuestionAnswers) {
    struct Case {
        Answer answer;
        bool closes;
        bool written;
    };
    const Case cases[] = {
        {Answer::Yes, true, true},
        {Answer::No, true, false},
        {Answer::Cancel, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const QString path = loadNew("close.txt", "1\r\n");
        moveToEnd();
        type("2");
        dialogs.answers = {c.answer};

        EXPECT_EQ(files.confirmClose(), c.closes);

        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("将修改保存到") + path);
        EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("Closing program"));
        EXPECT_EQ(dialogs.questions[0].owner, &editor);
        EXPECT_EQ(readFile(path), c.written ? QByteArray("1\r\n2") : QByteArray("1\r\n"));
        // Writing for the question leaves the flag set; so do No and Cancel.
        EXPECT_TRUE(editor.isModified());
        EXPECT_EQ(editor.toPlainText(), "1\n2");
    }
}

TEST_F(WorksheetFilesTest, LoadQuestionAnswers) {
    struct Case {
        Answer answer;
        bool loads;
        bool written;
    };
    const Case cases[] = {
        {Answer::Yes, true, true},
        {Answer::No, true, false},
        {Answer::Cancel, false, false},
    };
    const QString next = writeFile("next.txt", "next\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const QString path = loadNew("first.txt", "a");
        moveToEnd();
        type("b");
        dialogs.openDialogs = 0;
        dialogs.answers = {c.answer};

        load(next);

        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("将修改保存到") + path);
        EXPECT_EQ(dialogs.questions[0].caption, QStringLiteral("载入新文件"));
        EXPECT_EQ(dialogs.openDialogs, c.loads ? 1 : 0);
        EXPECT_EQ(readFile(path), c.written ? QByteArray("ab") : QByteArray("a"));
        EXPECT_EQ(editor.toPlainText(), c.loads ? "next\n" : "ab");
        EXPECT_EQ(currentPath(), c.loads ? next : path);
        EXPECT_EQ(title, c.loads ? "Quillet - [next.txt]" : "Quillet - [first.txt]");
        EXPECT_EQ(editor.isModified(), !c.loads);
    }
}

TEST_F(WorksheetFilesTest, UntitledWorksheetIsNeverAskedAbout) {
    type("1+1");
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(files.confirmClose());
    load(writeFile("any.txt", "z"));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(editor.toPlainText(), "z");
}

TEST_F(WorksheetFilesTest, UnchangedFileIsNotAskedAbout) {
    loadNew("same.txt", "1\r\n");
    EXPECT_TRUE(files.confirmClose());
    EXPECT_EQ(files.promptSaveChanges(file_texts::kLoadCaption), Answer::No);
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(WorksheetFilesTest, ClsClearsTheFlagSoClosingAsksNothing) {
    loadNew("cls.txt", "1\r\n");
    moveToEnd();
    type("cls");
    pressEnter();
    EXPECT_TRUE(editor.toPlainText().isEmpty());
    EXPECT_TRUE(files.confirmClose());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(WorksheetFilesTest, YesThenCancelledOpenDialogKeepsTextAndFlag) {
    const QString path = loadNew("kept.txt", "1");
    moveToEnd();
    type("2");
    dialogs.answers = {Answer::Yes};
    load(QString()); // the open dialog is cancelled
    EXPECT_EQ(readFile(path), "12");
    EXPECT_EQ(editor.toPlainText(), "12");
    EXPECT_TRUE(editor.isModified());
    dialogs.answers = {Answer::No};
    EXPECT_TRUE(files.confirmClose());
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

TEST_F(WorksheetFilesTest, CancelledSaveAsChangesNothing) {
    type("1");
    files.saveWorksheetAs();
    EXPECT_EQ(dialogs.saveDialogs, 1);
    EXPECT_TRUE(currentPath().isEmpty());
    EXPECT_EQ(title, "Quillet");
    EXPECT_EQ(titleChanges, 0);
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WorksheetFilesTest, SaveOnUntitledWorksheetRunsSaveAs) {
    type("x");
    dialogs.savePath = pathOf("new.txt");
    files.saveWorksheet();
    EXPECT_EQ(dialogs.saveDialogs, 1);
    EXPECT_EQ(readFile(pathOf("new.txt")), "x");
    EXPECT_EQ(currentPath(), pathOf("new.txt"));
    EXPECT_EQ(title, "Quillet - [new.txt]");
    EXPECT_FALSE(editor.isModified());
}

TEST_F(WorksheetFilesTest, SaveToKnownFileKeepsTitleAndAsksForNoName) {
    const QString path = loadNew("known.txt", "1");
    const int titleChangesAfterLoad = titleChanges;
    moveToEnd();
    type("0");
    files.saveWorksheet();
    EXPECT_EQ(dialogs.saveDialogs, 0);
    EXPECT_EQ(readFile(path), "10");
    EXPECT_EQ(titleChanges, titleChangesAfterLoad);
    EXPECT_FALSE(editor.isModified());
}

TEST_F(WorksheetFilesTest, SaveKeepsTheFilePermissions) {
    const QString path = loadNew("mode.txt", "1");
    const QFileDevice::Permissions mode =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    moveToEnd();
    type("2");
    files.saveWorksheet();
    EXPECT_EQ(readFile(path), "12");
    const auto ownerGroupOther = QFileDevice::Permissions::fromInt(0x7077);
    EXPECT_EQ(QFile::permissions(path) & ownerGroupOther, mode);
}

TEST_F(WorksheetFilesTest, SaveAsReplacesAnExistingFileWithoutAQuestion) {
    const QString existing = writeFile("existing.txt", "old contents");
    type("new");
    dialogs.savePath = existing;
    files.saveWorksheetAs();
    EXPECT_EQ(readFile(existing), "new");
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(title, "Quillet - [existing.txt]");
}

TEST_F(WorksheetFilesTest, EmptyWorksheetIsAnEmptyFile) {
    dialogs.savePath = pathOf("empty.txt");
    files.saveWorksheetAs();
    EXPECT_EQ(readFile(pathOf("empty.txt")), QByteArray());
    type("junk");
    dialogs.answers = {Answer::No};
    load(pathOf("empty.txt"));
    EXPECT_TRUE(editor.toPlainText().isEmpty());
    EXPECT_EQ(title, "Quillet - [empty.txt]");
}

TEST_F(WorksheetFilesTest, LoadedFilesAreSavedBackByteForByte) {
    std::string everyPair;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            everyPair.push_back(static_cast<char>(lead));
            everyPair.push_back(static_cast<char>(trail));
        }
        everyPair += "\r\n";
    }
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"completed line", "1+2\r\n3\r\n"},
        {"Chinese text", "a=\xB8\xB4\xCA\xFD\r\n# \xD7\xD4\xB1\xE4\xC1\xBF\r\n"},
        {"invalid GBK bytes", "\xFF\xFE\x41\x80\xA1\x7F\r\n\x81\x30"},
        {"lone lead byte at the end", "1+2\r\n\xB0"},
        {"bare LF", "x=1\ny=2\nx+y\n"},
        {"mixed line breaks", "a\r\nb\nc\r\n\r\nd\n"},
        {"stray CR", "a\rb\r\r\nc\r"},
        {"no final line break", "1\r\n2"},
        {"every two-byte code", everyPair},
        {"ideographic space and control characters", "\xA1\xA1\t\x0B\x0C\x1B\x7F\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = bytesOf(c.bytes);
        const QString path = loadNew("round.txt", bytes);
        ASSERT_TRUE(dialogs.messages.empty());
        QFile::remove(path);
        files.saveWorksheet();
        EXPECT_EQ(readFile(path) == bytes, true) << hex(readFile(path).left(64));
        // Save as keeps the file's line breaks as well.
        dialogs.savePath = pathOf("round copy.txt");
        files.saveWorksheetAs();
        EXPECT_EQ(readFile(pathOf("round copy.txt")) == bytes, true);
    }
}

TEST_F(WorksheetFilesTest, NewLinesOfABareLfFileGetBareLf) {
    const QString path = loadNew("unix.txt", "1+2\n");
    moveToEnd();
    type("4*5");
    pressEnter();
    files.saveWorksheet();
    EXPECT_EQ(readFile(path), "1+2\n4*5\n20\n");
}

TEST_F(WorksheetFilesTest, ZeroByteLoadsTheTextBeforeItAndSaysSo) {
    const QString path = loadNew("zero.txt", bytesOf("1+2\r\nab\0cd\r\n"s));
    EXPECT_EQ(editor.toPlainText(), "1+2\nab");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("零字节")))
        << dialogs.messages[0].toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral(" 7")))
        << dialogs.messages[0].toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains(path));
    EXPECT_EQ(currentPath(), path);
    EXPECT_EQ(title, "Quillet - [zero.txt]");
    EXPECT_FALSE(editor.isModified());
}

TEST_F(WorksheetFilesTest, MissingFileChangesNothing) {
    type("kept");
    load(pathOf("missing.txt"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("无法打开文件")));
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("不存在")));
    EXPECT_TRUE(dialogs.messages[0].contains(pathOf("missing.txt")));
    EXPECT_EQ(editor.toPlainText(), "kept");
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(currentPath().isEmpty());
    EXPECT_EQ(titleChanges, 0);
}

TEST_F(WorksheetFilesTest, FolderInsteadOfAFileChangesNothing) {
    ASSERT_TRUE(QDir(pathOf("")).mkdir("folder.txt"));
    type("kept");
    load(pathOf("folder.txt"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(editor.toPlainText(), "kept");
    EXPECT_TRUE(currentPath().isEmpty());
    EXPECT_EQ(titleChanges, 0);
}

TEST_F(WorksheetFilesTest, LoadingRunsNoLine) {
    type("y=1");
    pressEnter(); // the last key pressed in the worksheet was Enter
    const int statusChanges = mainWindow.statusChanges;
    const std::size_t variables = engine.variables().size();
    loadNew("lines.txt", "x=5\r\nfx1 x\r\n1/0\r\nprecision 3\r\ncls\r\n");
    EXPECT_EQ(editor.toPlainText(), "x=5\nfx1 x\n1/0\nprecision 3\ncls\n");
    EXPECT_EQ(mainWindow.statusChanges, statusChanges);
    EXPECT_EQ(engine.variables().size(), variables);
    EXPECT_EQ(graphs.definitions, 0);
    EXPECT_EQ(logic.precision(), WorksheetLogic::kStartPrecision);
}

TEST_F(WorksheetFilesTest, UnencodableCharacterRefusesTheSave) {
    const QString path = loadNew("emoji.txt", "1+2\r\n");
    moveToEnd();
    editor.insertPlainText(QStringLiteral("ok \U0001F600 \U0001F680"));
    files.saveWorksheet();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QString message = dialogs.messages[0];
    EXPECT_TRUE(message.contains(QStringLiteral("\U0001F600"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("\U0001F680")));
    EXPECT_TRUE(message.contains(QStringLiteral("第 2 行"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("1F600")));
    EXPECT_EQ(readFile(path), "1+2\r\n");
    EXPECT_TRUE(editor.isModified());

    // Save as writes nothing either and keeps the worksheet tied to its file.
    dialogs.savePath = pathOf("other.txt");
    files.saveWorksheetAs();
    EXPECT_FALSE(QFile::exists(pathOf("other.txt")));
    EXPECT_EQ(currentPath(), path);
    EXPECT_EQ(title, "Quillet - [emoji.txt]");
    EXPECT_TRUE(editor.isModified());

    // The question on closing fails the same way and keeps the window open.
    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(files.confirmClose());
    EXPECT_EQ(readFile(path), "1+2\r\n");
}

TEST_F(WorksheetFilesTest, FailedSaveKeepsTheOldFileAndTheFlag) {
    ASSERT_TRUE(QDir(pathOf("")).mkdir("work"));
    const QString path = loadNew("work/sheet.txt", "1\r\n");
    moveToEnd();
    type("2");
    // The folder vanishes under the worksheet's file (renamed away with the file in it).
    ASSERT_TRUE(QDir(pathOf("")).rename("work", "moved"));
    files.saveWorksheet();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("无法保存文件")));
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("原因")));
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(readFile(pathOf("moved/sheet.txt")), "1\r\n");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(WorksheetFilesTest, FailedSaveAsChangesNothing) {
    const QString path = loadNew("plain.txt", "1");
    moveToEnd();
    type("2");
    const int titleChangesBefore = titleChanges;
    dialogs.savePath = path + "/below.txt"; // a path under a regular file
    files.saveWorksheetAs();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("无法保存文件")));
    EXPECT_EQ(currentPath(), path);
    EXPECT_EQ(titleChanges, titleChangesBefore);
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(readFile(path), "1");
}

TEST_F(WorksheetFilesTest, FailedWriteForTheQuestionStopsLoadAndClose) {
    ASSERT_TRUE(QDir(pathOf("")).mkdir("gone"));
    loadNew("gone/sheet.txt", "1");
    moveToEnd();
    type("2");
    ASSERT_TRUE(QDir(pathOf("gone")).removeRecursively());

    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(files.confirmClose());
    EXPECT_EQ(dialogs.messages.size(), 1u);

    dialogs.answers = {Answer::Yes};
    dialogs.openDialogs = 0;
    load(writeFile("next.txt", "n"));
    EXPECT_EQ(dialogs.openDialogs, 0);
    EXPECT_EQ(editor.toPlainText(), "12");
    EXPECT_TRUE(editor.isModified());
}

QMessageBox* shownMessageBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// The real message box: each button gives its answer.
TEST(QtFileDialogsTest, QuestionButtonsGiveTheirAnswers) {
    struct Case {
        QMessageBox::StandardButton button;
        Answer answer;
    };
    const Case cases[] = {
        {QMessageBox::Yes, Answer::Yes},
        {QMessageBox::No, Answer::No},
        {QMessageBox::Cancel, Answer::Cancel},
    };
    QtFileDialogs dialogs;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.button));
        QString shownText, shownCaption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = shownMessageBox();
            ASSERT_NE(box, nullptr);
            shownText = box->text();
            shownCaption = box->windowTitle();
            icon = box->icon();
            box->button(c.button)->click();
        });
        EXPECT_EQ(dialogs.ask(nullptr, "question", "caption"), c.answer);
        EXPECT_EQ(shownText, "question");
        EXPECT_EQ(shownCaption, "caption");
        EXPECT_EQ(icon, QMessageBox::Question);
    }
}

TEST(QtFileDialogsTest, EscapeAnswersCancel) {
    QtFileDialogs dialogs;
    QTimer::singleShot(0, [] {
        QMessageBox* box = shownMessageBox();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.ask(nullptr, "question", "caption"), Answer::Cancel);
}

TEST(QtFileDialogsTest, FileDialogsOfferTextFilesFirst) {
    for (const FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
        SCOPED_TRACE(static_cast<int>(kind));
        QFileDialog dialog;
        prepareFileDialog(dialog, kind);
        EXPECT_EQ(dialog.nameFilters(), QStringList({QStringLiteral("Text Files (*.txt)"),
                                                     QStringLiteral("All Files (*)")}));
        EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Text Files (*.txt)"));
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("txt"));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.acceptMode(),
                  kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
}

} // namespace
} // namespace quillet
