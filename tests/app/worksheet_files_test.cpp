// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving worksheets in the real main window, with the dialogs answered by a
// script; then the real question box and file dialog settings.
#include "app/file_texts.h"
#include "app/worksheet_files.h"
#include "graphs/function_slot.h"
#include "tests/app/window_fixture.h"
#include "worksheet/worksheet_logic.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

using Answer = FileDialogs::Answer;
using namespace Qt::StringLiterals;

// A file system of 64 KiB mounted on a folder for as long as it lives (which needs root).
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : m_folder(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        if (::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k") != 0)
            m_error = std::strerror(errno);
    }
    ~SmallDisk() {
        if (m_error.empty())
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    // Why it could not be mounted; empty when it was.
    const std::string& error() const { return m_error; }
    // Takes every free block.
    void fill() const {
        QFile filler(QString::fromLocal8Bit(m_folder) + u"/filler"_s);
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {
        }
    }

private:
    QByteArray m_folder;
    std::string m_error;
};

class WorksheetFilesTest : public WindowTest {
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(pathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
    // Runs the load button with the open dialog returning path; the caret goes to the end.
    QString load(const QString& path) {
        dialogs.openPath = path;
        files.loadWorksheet();
        editor.moveCursor(QTextCursor::End);
        return path;
    }
    // Loads a file of the given bytes over an unmodified worksheet, so without a question.
    QString loadNew(const QString& name, const QByteArray& bytes) {
        editor.setModified(false);
        return load(writeFile(name, bytes));
    }
    void saveAs(const QString& path) {
        dialogs.savePath = path;
        files.saveWorksheetAs();
    }
    // The worksheet text, its file (inside the test folder), the window title and whether
    // the text was modified.
    std::string state() const {
        const QString file = QDir(dir.path()).relativeFilePath(window.files().currentFilePath());
        return (editor.toPlainText() + u" | "_s + file + u" | "_s + window.windowTitle() +
                (editor.isModified() ? u" | modified"_s : u" | unmodified"_s))
            .toStdString();
    }
    // Expects exactly one message since the last check, holding every part.
    void expectMessage(const QStringList& parts) {
        ASSERT_EQ(dialogs.messages.size(), 1);
        for (const QString& part : parts)
            EXPECT_TRUE(dialogs.messages[0].contains(part)) << dialogs.messages[0].toStdString();
        dialogs.messages.clear();
    }

    WorksheetEdit& editor = edit;
    WorksheetFiles& files = window.files();
    QTemporaryDir dir;
};

TEST_F(WorksheetFilesTest, SaveAsksForANameOnlyWhileTheWorksheetIsUntitled) {
    type(u"1+2\n"_s);
    files.saveWorksheet(); // the save dialog is cancelled: nothing changes
    EXPECT_EQ(dialogs.saveDialogs, 1);
    EXPECT_EQ(state(), "1+2\n3\n |  | Quillet | modified");
    const QString path = pathOf(u"sum.txt"_s);
    dialogs.savePath = path;
    files.saveWorksheet();
    EXPECT_EQ(readFile(path).toHex(' '), "31 2b 32 0d 0a 33 0d 0a");
    EXPECT_EQ(state(), "1+2\n3\n | sum.txt | Quillet - [sum.txt] | unmodified");
    // Tied to the file, save asks for no name.
    type(u"0"_s);
    files.saveWorksheet();
    EXPECT_EQ(dialogs.saveDialogs, 2);
    EXPECT_EQ(readFile(path), "1+2\r\n3\r\n0");
    EXPECT_EQ(state(), "1+2\n3\n0 | sum.txt | Quillet - [sum.txt] | unmodified");
    EXPECT_TRUE(dialogs.messages.empty());
    editor.undo(); // undoing past the save is a change again
    EXPECT_TRUE(editor.isModified());
}

// A changed worksheet is not discarded unasked, on closing or loading: Yes writes it (an
// untitled one through the save dialog; the flag stays set), Cancel or a cancelled save
// dialog keeps the window open and the worksheet unreplaced.
TEST_F(WorksheetFilesTest, ChangedWorksheetIsNotDiscardedUnasked) {
    const QString next = writeFile(u"next.txt"_s, "next");
    const struct {
        bool titled, loading;
        Answer answer;
        QString saveAs; // the name chosen in the save dialog, empty to cancel it
        bool goesOn;
        QByteArray written; // first.txt or kept.txt afterwards
        std::string shown;
    } rows[] = {
        {true,
         false,
         Answer::Yes,
         {},
         true,
         "a\r\nb",
         "a\nb | first.txt | Quillet - [first.txt] | modified"},
        {true,
         true,
         Answer::No,
         {},
         true,
         "a\r\n",
         "next | next.txt | Quillet - [next.txt] | unmodified"},
        {true,
         true,
         Answer::Cancel,
         {},
         false,
         "a\r\n",
         "a\nb | first.txt | Quillet - [first.txt] | modified"},
        {false, false, Answer::Cancel, {}, false, "<missing>", "b |  | Quillet | modified"},
        {false, false, Answer::Yes, {}, false, "<missing>", "b |  | Quillet | modified"},
        {false, false, Answer::Yes, u"kept.txt"_s, true, "b",
         "b | kept.txt | Quillet - [kept.txt] | unmodified"},
        {false, true, Answer::Yes, u"kept.txt"_s, true, "b",
         "next | next.txt | Quillet - [next.txt] | unmodified"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        QFile::remove(pathOf(u"kept.txt"_s));
        const QString path = loadNew(u"first.txt"_s, "a\r\n");
        if (!row.titled) {
            files.setCurrentFilePath(QString());
            window.setWindowTitle(u"Quillet"_s);
            setText({});
        }
        type(u"b"_s);
        dialogs = ScriptedDialogs();
        dialogs.answers = {row.answer};
        dialogs.savePath = row.saveAs.isEmpty() ? QString() : pathOf(row.saveAs);
        if (row.loading)
            load(next);
        else
            EXPECT_EQ(files.confirmClose(), row.goesOn);
        EXPECT_EQ(dialogs.openDialogs, row.loading && row.goesOn ? 1 : 0);
        const QString question =
            row.titled ? u"将修改保存到"_s + path : file_texts::kSaveUntitledQuestion;
        EXPECT_EQ(
            dialogs.asked,
            QStringList{(row.loading ? u"载入新文件: "_s : u"Closing program: "_s) + question});
        EXPECT_EQ(dialogs.askedBy, &editor);
        EXPECT_EQ(readFile(row.titled ? path : pathOf(u"kept.txt"_s)), row.written);
        EXPECT_EQ(state(), row.shown);
    }
}

TEST_F(WorksheetFilesTest, QuestionOnlyWhenAWorksheetTiedToAFileChanged) {
    const QString path = writeFile(u"any.txt"_s, "z\r\n");
    load(path);
    EXPECT_TRUE(files.confirmClose()); // loaded, unchanged
    EXPECT_EQ(files.promptSaveChanges(file_texts::kLoadCaption), Answer::No);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    // Yes, then a cancelled open dialog: the file is written, the text and flag stay.
    type(u"2"_s);
    dialogs.answers = {Answer::Yes};
    load(QString());
    EXPECT_EQ(readFile(path), "z\r\n2");
    EXPECT_EQ(state(), "z\n2 | any.txt | Quillet - [any.txt] | modified");
    dialogs.answers = {Answer::No};
    EXPECT_TRUE(files.confirmClose());
    EXPECT_EQ(dialogs.asked.size(), 2);
    type(u"\ncls\n"_s); // cls empties the text and clears the flag
    EXPECT_EQ(state(), " | any.txt | Quillet - [any.txt] | unmodified");
    EXPECT_TRUE(files.confirmClose());
    files.setCurrentFilePath(QString()); // untitled and empty: nothing to ask either
    EXPECT_TRUE(files.confirmClose());
    EXPECT_EQ(dialogs.asked.size(), 2);
}

// A loaded file is written back byte for byte with its own line breaks, and takes new text
// in its own encoding: a UTF-8 file (with or without a byte-order mark) stays UTF-8, any
// other stays GBK.
TEST_F(WorksheetFilesTest, FilesKeepTheirBytesLineBreaksAndEncoding) {
    const struct {
        QByteArray bytes;
        QString shown, typed;
        QByteArray saved; // empty: the bytes loaded
    } rows[] = {
        {"a=\xB8\xB4\r\n# \xD7\xD4\r\n", u"a=复\n# 自\n"_s, {}, {}},
        {"\xFF\xFE\x41\x80\xA1\x7F\r\n\x81\x30", {}, {}, {}}, // not valid GBK
        {"a\r\nb\nc\r\r\n\rd", {}, {}, {}},                   // mixed and stray line breaks
        {"\xEF\xBB\xBF"
         "1\n\xFF\xC3\xA9",
         {},
         {},
         {}},
        {"a=\xE5\xA4\x8D\r\n", u"a=复\n"_s, u"数😀"_s,
         "a=\xE5\xA4\x8D\r\n\xE6\x95\xB0\xF0\x9F\x98\x80"},
        {"a=\xB8\xB4\r\n", u"a=复\n"_s, u"数"_s, "a=\xB8\xB4\r\n\xCA\xFD"},
        {"1+2\n", {}, u"4\n5"_s, "1+2\n4\n5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toHex(' ').toStdString());
        const QString path = loadNew(u"round.txt"_s, row.bytes);
        EXPECT_TRUE(row.shown.isEmpty() || editor.toPlainText() == row.shown)
            << editor.toPlainText().toStdString();
        editor.insertPlainText(row.typed);
        QFile::remove(path);
        files.saveWorksheet();
        const QByteArray saved = row.saved.isEmpty() ? row.bytes : row.saved;
        EXPECT_EQ(readFile(path), saved);
        saveAs(pathOf(u"round copy.txt"_s));
        EXPECT_EQ(readFile(pathOf(u"round copy.txt"_s)), saved);
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
}

// Only regular files of at most 64 MiB are read; nothing else may block or flood the
// program. A file with a zero byte loads the text before it.
TEST_F(WorksheetFilesTest, LoadRefusesWhatCannotBeAWorksheet) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.txt"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pathOf(u"pipe.txt"_s)).constData(), 0600), 0);
    const auto sparse = [&](const QString& name, qint64 size) {
        QFile file(pathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
        return file.fileName();
    };
    const struct {
        QString path;
        QStringList message;
    } cases[] = {
        {pathOf(u"missing.txt"_s), {u"无法打开文件"_s, u"不存在"_s}},
        {pathOf(u"folder.txt"_s), {u"不是普通文件"_s, u"文件夹"_s}},
        {pathOf(u"pipe.txt"_s), {u"不是普通文件"_s, u"命名管道"_s}},
        {u"/dev/zero"_s, {u"不是普通文件"_s, u"设备"_s}},
        {sparse(u"huge.txt"_s, (64 << 20) + 1),
         {u"67108865 字节"_s, u"64.0 MiB"_s, u"64 MiB 的上限"_s}},
    };
    type(u"kept"_s);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.path.toStdString());
        dialogs.answers = {Answer::No};
        load(row.path);
        expectMessage(row.message + QStringList{row.path});
        EXPECT_EQ(state(), "kept |  | Quillet | modified");
    }
    // At the limit a file still loads: here up to its first byte, a zero.
    dialogs.answers = {Answer::No};
    const QString path = load(sparse(u"limit.txt"_s, 64 << 20));
    expectMessage({u"零字节"_s, u" 0"_s, path});
    const QString zero = loadNew(u"zero.txt"_s, QByteArray("1+2\r\nab\0cd\r\n", 12));
    expectMessage({u"零字节"_s, u" 7"_s, zero});
    EXPECT_EQ(state(), "1+2\nab | zero.txt | Quillet - [zero.txt] | unmodified");
}

TEST_F(WorksheetFilesTest, LoadingRunsNoLine) {
    type(u"y=1\n"_s); // the last key pressed in the worksheet was Enter
    const QString status = window.statusText();
    const std::size_t variables = engine.variables().size();
    loadNew(u"lines.txt"_s, "x=5\r\nfx1 x\r\n1/0\r\nprecision 3\r\ncls\r\n");
    EXPECT_EQ(editor.toPlainText(), u"x=5\nfx1 x\n1/0\nprecision 3\ncls\n"_s);
    EXPECT_EQ(window.statusText(), status);
    EXPECT_EQ(engine.variables().size(), variables);
    EXPECT_EQ(window.graphs().slot(1).state(), SlotState::Empty);
    EXPECT_EQ(window.logic().precision(), WorksheetLogic::kStartPrecision);
}

TEST_F(WorksheetFilesTest, UnencodableCharacterRefusesTheSave) {
    const QString path = loadNew(u"emoji.txt"_s, "1+2\r\n");
    editor.insertPlainText(QStringLiteral("ok \U0001F600 \U0001F680"));
    files.saveWorksheet();
    EXPECT_FALSE(dialogs.messages.value(0).contains(QStringLiteral("\U0001F680")));
    expectMessage({u"\U0001F600"_s, u"第 2 行"_s, u"1F600"_s});
    // Save as writes nothing either and keeps the worksheet tied to its file.
    saveAs(pathOf(u"other.txt"_s));
    expectMessage({u"\U0001F600"_s});
    EXPECT_FALSE(QFile::exists(pathOf(u"other.txt"_s)));
    EXPECT_EQ(state(),
              "1+2\nok \U0001F600 \U0001F680 | emoji.txt | Quillet - [emoji.txt] | modified");
    // The question on closing fails the same way and keeps the window open.
    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(files.confirmClose());
    EXPECT_EQ(readFile(path), "1+2\r\n");
}

// A failed write reports why and changes nothing: the old file stays, the flag stays set,
// and a failed write for the question keeps the window open and stops the load.
TEST_F(WorksheetFilesTest, FailedWritesChangeNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"work"_s));
    const QString path = loadNew(u"work/sheet.txt"_s, "1\r\n");
    type(u"2"_s);
    // The folder vanishes under the worksheet's file (renamed away with the file in it).
    ASSERT_TRUE(QDir(dir.path()).rename(u"work"_s, u"moved"_s));
    files.saveWorksheet();
    expectMessage({u"无法保存文件"_s, u"原因"_s});
    EXPECT_FALSE(QFile::exists(path));
    dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(files.confirmClose());
    expectMessage({u"无法保存文件"_s});
    dialogs.answers = {Answer::Yes};
    load(writeFile(u"next.txt"_s, "n"));
    expectMessage({u"无法保存文件"_s});
    EXPECT_EQ(dialogs.openDialogs, 1);       // only the one of loadNew
    saveAs(pathOf(u"next.txt/below.txt"_s)); // a path under a regular file
    expectMessage({u"无法保存文件"_s});
    EXPECT_EQ(state(), "1\n2 | work/sheet.txt | Quillet - [sheet.txt] | modified");
    EXPECT_EQ(readFile(pathOf(u"moved/sheet.txt"_s)), "1\r\n");
    EXPECT_EQ(readFile(pathOf(u"next.txt"_s)), "n");
}

// On a full disk no way of saving loses the old file, whatever the size of the text; the
// message names the full disk. Only a file with other names is overwritten in place, and a
// text that fits into the file's old blocks is written there.
TEST_F(WorksheetFilesTest, SavesOnAFullDiskKeepTheOldFile) {
    enum class Way { Save, SaveAs, YesOnClose };
    const struct {
        const char* name;
        Way way;
        int length; // of the typed text
        bool hardLinked, written;
    } cases[] = {
        {"save, small", Way::Save, 10, false, false},
        {"save as, large", Way::SaveAs, 100'000, false, false},
        {"Yes on closing, small", Way::YesOnClose, 10, false, false},
        {"hard-linked, small", Way::Save, 10, true, true},
        {"hard-linked, large", Way::Save, 100'000, true, false},
    };
    int number = 0;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const QString folder = QString::number(++number);
        const SmallDisk disk(pathOf(folder));
        if (!disk.error().empty())
            GTEST_SKIP() << "cannot mount a small file system to fill (needs root): "
                         << disk.error();
        const QString path = loadNew(folder + u"/sheet.txt"_s, "old\r\n");
        const QString other = writeFile(folder + u"/other.txt"_s, "other\r\n");
        if (row.hardLinked) {
            ASSERT_EQ(
                ::link(QFile::encodeName(path), QFile::encodeName(pathOf(folder + u"/link"_s))), 0);
        }
        disk.fill();
        const QString text = QString(row.length, u'7');
        editor.insertPlainText(text);
        const QString target = row.way == Way::SaveAs ? other : path;
        dialogs.answers = {Answer::Yes};
        switch (row.way) {
        case Way::Save:
            files.saveWorksheet();
            break;
        case Way::SaveAs:
            saveAs(other);
            break;
        case Way::YesOnClose:
            EXPECT_FALSE(files.confirmClose());
            break;
        }
        if (row.written) {
            EXPECT_TRUE(dialogs.messages.isEmpty());
            EXPECT_EQ(readFile(target), "old\r\n" + text.toLatin1());
            continue;
        }
        expectMessage({u"磁盘空间不足"_s, target, u"原来的文件保持不变"_s});
        EXPECT_EQ(readFile(target), row.way == Way::SaveAs ? "other\r\n" : "old\r\n");
        EXPECT_EQ(state(), "old\n" + text.toStdString() + " | " + folder.toStdString() +
                               "/sheet.txt | Quillet - [sheet.txt] | modified");
    }
}

// The real question box: each button, and Escape, gives its answer.
TEST(QtFileDialogsTest, QuestionButtonsGiveTheirAnswers) {
    const struct {
        QMessageBox::StandardButton button; // NoButton: Escape is pressed
        Answer answer;
    } cases[] = {{QMessageBox::Yes, Answer::Yes},
                 {QMessageBox::No, Answer::No},
                 {QMessageBox::Cancel, Answer::Cancel},
                 {QMessageBox::NoButton, Answer::Cancel}};
    QtFileDialogs dialogs;
    for (const auto& row : cases) {
        SCOPED_TRACE(static_cast<int>(row.button));
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->windowTitle() + u": "_s + box->text();
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            if (row.button == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(row.button)->click();
        });
        EXPECT_EQ(dialogs.ask(nullptr, u"question"_s, u"caption"_s), row.answer);
        EXPECT_EQ(shown, u"caption: question"_s);
    }
}

TEST(QtFileDialogsTest, FileDialogsOfferTextFilesFirst) {
    for (const FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
        SCOPED_TRACE(static_cast<int>(kind));
        QFileDialog dialog;
        prepareFileDialog(dialog, kind);
        EXPECT_EQ(dialog.nameFilters(), QStringList({u"Text Files (*.txt)"_s, u"All Files (*)"_s}));
        EXPECT_EQ(dialog.selectedNameFilter(), u"Text Files (*.txt)"_s);
        EXPECT_EQ(dialog.defaultSuffix(), u"txt"_s);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.acceptMode(),
                  kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
}

} // namespace
} // namespace quillet
