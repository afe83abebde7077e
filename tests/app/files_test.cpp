// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheet files on a real file system: loading and saving in the real main window with the
// dialogs answered by a script, the real question box and file dialog settings, and what a
// save keeps of a file (its other names, owner, mode and links) and what an unprivileged user
// can and cannot overwrite. The full disk, other owners and the unprivileged user need root.
#include "app/file_io.h"
#include "app/worksheet_files.h"
#include "tests/app/window_fixture.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quillet {
namespace {

using Answer = FileDialogs::Answer;
using namespace std::string_literals;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

class WorksheetFilesTest : public WindowTest {
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }
    // Clicks the load button with the open dialog returning path; the caret goes to the end.
    QString load(const QString& path) {
        dialogs.openPath = path;
        click(c.load);
        edit.moveCursor(QTextCursor::End);
        return path;
    }
    // Loads a file of the given bytes over an unmodified worksheet, so without a question.
    QString loadNew(const QString& name, const QByteArray& bytes) {
        edit.setModified(false);
        return load(writeFile(pathOf(name), bytes));
    }
    // The worksheet text, the window title and whether the text was modified.
    std::string state() const {
        return (text() + u" | "_s + window.windowTitle() +
                (edit.isModified() ? u" | modified"_s : u" | unmodified"_s))
            .toStdString();
    }
    // Expects exactly one message since the last check, holding every part.
    void expectMessage(const QStringList& parts) {
        ASSERT_EQ(dialogs.messages.size(), 1);
        for (const QString& part : parts)
            EXPECT_TRUE(dialogs.messages[0].contains(part)) << dialogs.messages[0].toStdString();
        dialogs.messages.clear();
    }

    WorksheetFiles& files = window.files();
    QTemporaryDir dir;
};

// A save dialog that is cancelled changes nothing: see ChangedWorksheetIsNotDiscardedUnasked.
TEST_F(WorksheetFilesTest, SaveAsksForANameOnlyWhileTheWorksheetIsUntitled) {
    type(u"1+2\n"_s);
    dialogs.savePath = pathOf(u"sum.txt"_s);
    click(c.save);
    EXPECT_EQ(
        std::pair(readFile(dialogs.savePath), state()),
        std::pair(QByteArray("1+2\r\n3\r\n"), "1+2\n3\n | Quillet - [sum.txt] | unmodified"s));
    // Tied to the file, save asks for no name; the keyboard goes back to the worksheet.
    type(u"0"_s);
    click(c.save);
    EXPECT_EQ(std::tuple(dialogs.saveDialogs, edit.hasFocus(), readFile(dialogs.savePath), state(),
                         dialogs.messages),
              std::tuple(1, true, QByteArray("1+2\r\n3\r\n0"),
                         "1+2\n3\n0 | Quillet - [sum.txt] | unmodified"s, QStringList()));
}

// A changed worksheet is not discarded unasked, on closing or loading: Yes writes it (an
// untitled one through the save dialog; the flag stays set), Cancel or a cancelled save
// dialog keeps the window open and the worksheet unreplaced. An unchanged one is not asked
// about.
TEST_F(WorksheetFilesTest, ChangedWorksheetIsNotDiscardedUnasked) {
    const QString next = writeFile(pathOf(u"next.txt"_s), "next");
    // Whether the worksheet is tied to first.txt, whether next.txt is loaded (else the window
    // closes), the text typed (none: nothing is changed), the answer, the name chosen in the
    // save dialog (none: it is cancelled), whether loading or closing goes on, first.txt or
    // kept.txt afterwards, and the worksheet then.
    const std::tuple<bool, bool, QString, Answer, QString, bool, QByteArray, std::string> rows[] = {
        // clang-format off
        {true, false, u"b"_s, Answer::Yes, {}, true, "a\r\nb", "a\nb | Quillet - [first.txt] | modified"},
        {true, true, u"b"_s, Answer::No, {}, true, "a\r\n", "next | Quillet - [next.txt] | unmodified"},
        {true, true, u"b"_s, Answer::Cancel, {}, false, "a\r\n", "a\nb | Quillet - [first.txt] | modified"},
        {false, false, u"b"_s, Answer::Cancel, {}, false, "<missing>", "b | Quillet | modified"},
        {false, false, u"b"_s, Answer::Yes, {}, false, "<missing>", "b | Quillet | modified"},
        {false, false, u"b"_s, Answer::Yes, u"kept.txt"_s, true, "b", "b | Quillet - [kept.txt] | unmodified"},
        {false, true, u"b"_s, Answer::Yes, u"kept.txt"_s, true, "b", "next | Quillet - [next.txt] | unmodified"},
        {true, false, {}, Answer::Cancel, {}, true, "a\r\n", "a\n | Quillet - [first.txt] | unmodified"},
        // clang-format on
    };
    for (const auto& [titled, loading, typed, answer, saveAs, goesOn, written, shown] : rows) {
        SCOPED_TRACE(shown);
        QFile::remove(pathOf(u"kept.txt"_s));
        const QString path = loadNew(u"first.txt"_s, "a\r\n");
        if (!titled) {
            files.setCurrentFilePath(QString());
            window.setWindowTitle(u"Quillet"_s);
            setText({});
        }
        type(typed);
        dialogs = ScriptedDialogs();
        dialogs.answers = {answer};
        dialogs.savePath = saveAs.isEmpty() ? QString() : pathOf(saveAs);
        if (loading)
            load(next);
        else
            EXPECT_EQ(files.confirmClose(), goesOn);
        EXPECT_EQ(dialogs.openDialogs, loading && goesOn ? 1 : 0);
        const QString question =
            (loading ? u"载入新文件: "_s : u"Closing program: "_s) +
            (titled ? u"将修改保存到"_s + path : u"是否保存对未命名工作表的修改？"_s);
        EXPECT_EQ(dialogs.asked, typed.isEmpty() ? QStringList() : QStringList{question});
        EXPECT_EQ(std::pair(readFile(titled ? path : pathOf(u"kept.txt"_s)), state()),
                  std::pair(written, shown));
    }
}

// A loaded file is written back with its own line breaks and takes new text in its own
// encoding: a UTF-8 file stays UTF-8, any other GBK. Loading runs no line, even right after
// an Enter.
TEST_F(WorksheetFilesTest, FilesKeepTheirBytesLineBreaksAndEncoding) {
    // The bytes loaded, the text typed and the bytes saved (none: the bytes loaded).
    const std::tuple<QByteArray, QString, QByteArray> rows[] = {
        {"x=5\r\nfx1 x\nprecision 3\r\r\n\rd\xFF", {}, {}}, // mixed line breaks, invalid GBK
        {"a=\xE5\xA4\x8D\r\n", u"数😀"_s, "a=\xE5\xA4\x8D\r\n\xE6\x95\xB0\xF0\x9F\x98\x80"},
        {"1+2\n", u"4\n5"_s, "1+2\n4\n5"},
        {"\xC2\xA0\xE2\x80\xA8\xC3\xA9\r\n", {}, {}}, // a no-break space, a line separator
        {"a=\xB8\xB4\r\n", u"数"_s, "a=\xB8\xB4\r\n\xCA\xFD"},
    };
    type(u"y=1\n"_s);
    for (const auto& [bytes, typed, saved] : rows) {
        SCOPED_TRACE(bytes.toHex(' ').toStdString());
        const QString path = loadNew(u"round.txt"_s, bytes);
        edit.insertPlainText(typed);
        QFile::remove(path);
        QTest::keyClick(&edit, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(std::pair(readFile(path), dialogs.messages),
                  std::pair(saved.isEmpty() ? bytes : saved, QStringList()));
    }
    EXPECT_EQ(std::tuple(text(), status(), engine.variables().size()),
              std::tuple(u"a=复\n数"_s, u"Result: 1"_s, 1u));
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
    // The path chosen and the parts of the message besides the path.
    const std::pair<QString, QStringList> cases[] = {
        {pathOf(u"missing.txt"_s), {u"无法打开文件"_s, u"不存在"_s}},
        {pathOf(u"folder.txt"_s), {u"不是普通文件"_s, u"文件夹"_s}},
        {pathOf(u"pipe.txt"_s), {u"不是普通文件"_s, u"命名管道"_s}},
        {u"/dev/zero"_s, {u"不是普通文件"_s, u"设备"_s}},
        {sparse(u"huge.txt"_s, (64 << 20) + 1),
         {u"67108865 字节"_s, u"64.0 MiB"_s, u"64 MiB 的上限"_s}},
    };
    type(u"kept"_s);
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path.toStdString());
        dialogs.answers = {Answer::No};
        load(path);
        expectMessage(message + QStringList{path});
        EXPECT_EQ(state(), "kept | Quillet | modified");
    }
    // At the limit a file still loads: here up to its first byte, a zero.
    dialogs.answers = {Answer::No};
    const QString path = load(sparse(u"limit.txt"_s, 64 << 20));
    expectMessage({u"零字节"_s, u" 0"_s, path});
    const QString zero = loadNew(u"zero.txt"_s, QByteArray("1+2\r\nab\0cd\r\n", 12));
    expectMessage({u"零字节"_s, u" 7"_s, zero});
    EXPECT_EQ(state(), "1+2\nab | Quillet - [zero.txt] | unmodified");
}

// A save that fails, whatever the road (the button, save as, Yes on closing or loading),
// reports why and changes nothing: the old file stays, the worksheet stays tied to it and
// modified, the window stays open and nothing is loaded.
TEST_F(WorksheetFilesTest, FailedSavesChangeNothing) {
    // The text typed, whether the folder vanishes (renamed away with the file in it), and the
    // parts of the message.
    const std::tuple<QString, bool, QStringList> rows[] = {
        {u"ok \U0001F600 \U0001F680"_s, false, {u"\U0001F600"_s, u"第 2 行"_s, u"1F600"_s}},
        {u"2"_s, true, {u"无法保存文件"_s, u"原因"_s}},
    };
    const QString next = writeFile(pathOf(u"next.txt"_s), "n");
    for (const auto& [typed, folderVanishes, message] : rows) {
        SCOPED_TRACE(folderVanishes);
        const QString folder = u"work"_s + QString::number(folderVanishes);
        ASSERT_TRUE(QDir(dir.path()).mkdir(folder));
        const QString path = loadNew(folder + u"/sheet.txt"_s, "1\r\n");
        edit.insertPlainText(typed);
        const std::string shown = state();
        ASSERT_TRUE(!folderVanishes || QDir(dir.path()).rename(folder, u"moved"_s));
        click(c.save);
        expectMessage(message);
        dialogs.savePath = pathOf(u"next.txt/below.txt"_s); // a path under a regular file
        QTest::keyClick(&edit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        expectMessage(message.mid(0, 1));
        dialogs.answers = {Answer::Yes, Answer::Yes}; // on closing, then on loading
        EXPECT_FALSE(files.confirmClose());
        expectMessage(message.mid(0, 1));
        load(next);
        expectMessage(message.mid(0, 1));
        // The only open dialog is the one of loadNew.
        EXPECT_EQ(std::tuple(dialogs.openDialogs, state(), files.currentFilePath()),
                  std::tuple(1, shown, path));
        EXPECT_EQ(readFile(folderVanishes ? pathOf(u"moved/sheet.txt"_s) : path), "1\r\n");
        dialogs.openDialogs = 0;
    }
    EXPECT_EQ(readFile(next), "n");
}

// On a full disk no way of saving loses the old file, whatever the size of the text; the
// message names the full disk. Only a file with other names is overwritten in place, and a
// text that fits into the file's old blocks is written there. (Yes on closing fails like a
// save: see FailedSavesChangeNothing.)
TEST_F(WorksheetFilesTest, SavesOnAFullDiskKeepTheOldFile) {
    const QString disk = pathOf(u"disk"_s);
    ASSERT_TRUE(QDir().mkdir(disk));
    if (::mount("tmpfs", QFile::encodeName(disk), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system (needs root): " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk), MNT_DETACH); });
    // Save as (else save), whether the file has a second name, the length of the text typed,
    // and whether it is written.
    const std::tuple<bool, bool, int, bool> cases[] = {
        // clang-format off
        {false, false, 10, false}, {true, false, 100'000, false},
        {false, true, 10, true}, {false, true, 100'000, false},
        // clang-format on
    };
    for (const auto& [saveAs, hardLinked, length, written] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::tuple(saveAs, hardLinked, length)));
        QDir(disk).removeRecursively(); // empties the disk; the mount point itself stays
        const QString path = loadNew(u"disk/sheet.txt"_s, "old\r\n");
        const QString target = saveAs ? writeFile(disk + u"/other.txt"_s, "old\r\n") : path;
        ASSERT_TRUE(!hardLinked ||
                    ::link(QFile::encodeName(path), QFile::encodeName(path + u'2')) == 0);
        QFile filler(disk + u"/filler"_s); // takes every free block
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(512, 'f')) == 512) {
        }
        const QString typed(length, u'7');
        edit.insertPlainText(typed);
        dialogs.savePath = target;
        click(saveAs ? c.saveAs : c.save);
        EXPECT_EQ(readFile(target), "old\r\n" + (written ? typed.toLatin1() : QByteArray()));
        if (!written) {
            expectMessage({u"磁盘空间不足"_s, target, u"原来的文件保持不变"_s});
            EXPECT_EQ(state(),
                      "old\n" + typed.toStdString() + " | Quillet - [sheet.txt] | modified");
        }
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
}

// The real question and message boxes: their texts, and the answer each button, and Escape,
// gives.
TEST(QtFileDialogsTest, BoxesShowTheirTextsAndEachButtonGivesItsAnswer) {
    QtFileDialogs dialogs;
    QString shown; // "title: text [buttons, the default one starred, sorted] icon"
    const auto answerWith = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&shown, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QStringList buttons;
            for (QAbstractButton* each : box->buttons())
                buttons << (each == box->defaultButton() ? u"*"_s : QString()) + each->text();
            buttons.sort();
            shown = box->windowTitle() + u": "_s + box->text() + u" ["_s + buttons.join(u' ') +
                    u"] "_s + QString::number(box->icon());
            button == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                            : box->button(button)->click();
        });
    };
    for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, Answer::Yes},
                                         {QMessageBox::No, Answer::No},
                                         {QMessageBox::Cancel, Answer::Cancel},
                                         {QMessageBox::NoButton, Answer::Cancel}}) {
        answerWith(button);
        EXPECT_EQ(dialogs.ask(nullptr, u"question"_s, u"caption"_s), answer);
        EXPECT_EQ(shown, u"caption: question [*是(&Y) 取消 否(&N)] 4"_s);
    }
    answerWith(QMessageBox::Ok);
    dialogs.showMessage(nullptr, u"message"_s);
    EXPECT_EQ(shown, u"Quillet: message [确定] 2"_s);
}

TEST(QtFileDialogsTest, FileDialogsOfferTextFilesFirst) {
    for (const FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
        const bool save = kind == FileDialogKind::Save;
        QFileDialog dialog;
        prepareFileDialog(dialog, kind);
        EXPECT_EQ(dialog.windowTitle() + u": "_s + dialog.nameFilters().join(u", "_s) + u" | "_s +
                      dialog.selectedNameFilter() + u" | "_s + dialog.defaultSuffix(),
                  (save ? u"另存为"_s : u"打开"_s) +
                      u": Text Files (*.txt), All Files (*) | Text Files (*.txt) | txt"_s);
        EXPECT_TRUE(dialog.fileMode() == QFileDialog::AnyFile &&
                    dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
}

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

class FileWriteTest : public testing::Test {
protected:
    // Others (the unprivileged user) may pass through to the folders below.
    void SetUp() override { ASSERT_EQ(::chmod(dir.c_str(), 0755), 0); }
    std::string pathOf(const std::string& name) const { return dir + "/" + name; }
    std::string contentsOf(const std::string& name) const {
        return readFile(QString::fromStdString(pathOf(name))).toStdString();
    }
    void makeFile(const std::string& name, mode_t mode = 0644, uid_t owner = ::geteuid(),
                  gid_t group = ::getegid()) {
        writeFile(QString::fromStdString(pathOf(name)), "old");
        ASSERT_EQ(::chown(pathOf(name).c_str(), owner, group), 0);
        ASSERT_EQ(::chmod(pathOf(name).c_str(), mode), 0);
    }
    bool write(const std::string& name, std::string_view bytes) {
        return writeWholeFile(pathOf(name), bytes).written;
    }

    QTemporaryDir temporary;
    const std::string dir = temporary.path().toStdString();
};

TEST_F(FileWriteTest, SaveKeepsOtherNamesLinksAndANewFileGetsTheUmaskMode) {
    makeFile("a.txt");
    ASSERT_EQ(::link(pathOf("a.txt").c_str(), pathOf("b.txt").c_str()), 0);
    ASSERT_TRUE(write("a.txt", "hard"));
    EXPECT_EQ(contentsOf("b.txt"), "hard");
    EXPECT_EQ(fs::hard_link_count(pathOf("a.txt")), 2u);
    // A relative link to a link to a file, and a link to a file that does not exist yet.
    makeFile("target.txt");
    fs::create_symlink("target.txt", pathOf("first.txt"));
    fs::create_symlink(pathOf("first.txt"), pathOf("second.txt"));
    fs::create_symlink("made.txt", pathOf("dangling.txt"));
    for (const char* link : {"second.txt", "dangling.txt"}) {
        ASSERT_TRUE(write(link, "linked")) << link;
        EXPECT_TRUE(fs::is_symlink(pathOf(link)) && fs::is_symlink(pathOf("first.txt"))) << link;
        EXPECT_EQ(contentsOf(link), "linked");
    }
    const mode_t mask = ::umask(022);
    for (const mode_t umask : {mode_t(022), mode_t(077)}) {
        ::umask(umask);
        const std::string name = "new" + std::to_string(umask);
        const bool written = write(name, "");
        ::umask(mask);
        ASSERT_TRUE(written);
        EXPECT_EQ(fs::status(pathOf(name)).permissions(), fs::perms(0666 & ~umask));
    }
}

// A save that replaces the file gives the new one every extended attribute (access control
// lists among them), empty ones too.
TEST_F(FileWriteTest, SaveKeepsExtendedAttributes) {
    makeFile("tagged.txt");
    const std::string tagged = pathOf("tagged.txt");
    if (::setxattr(tagged.c_str(), "user.empty", "", 0, 0) != 0 ||
        ::setxattr(tagged.c_str(), "user.b", "value", 5, 0) != 0)
        GTEST_SKIP() << "the file system keeps no extended attributes";
    struct stat before = {}, after = {};
    ASSERT_EQ(::stat(tagged.c_str(), &before), 0);
    ASSERT_TRUE(write("tagged.txt", "new"));
    char value[6] = {}; // the empty value is there too
    EXPECT_EQ(std::tuple(::stat(tagged.c_str(), &after),
                         ::getxattr(tagged.c_str(), "user.b", value, 5),
                         ::getxattr(tagged.c_str(), "user.empty", nullptr, 0)),
              std::tuple(0, ssize_t{5}, ssize_t{0}));
    EXPECT_STREQ(value, "value");
    EXPECT_NE(after.st_ino, before.st_ino); // a new file took the name: nothing was written over
}

// A file that is a mount point of its own cannot be renamed over: it is written in place,
// and no temporary file is left beside it.
TEST_F(FileWriteTest, FileMountedOverIsWrittenInPlace) {
    makeFile("source.txt");
    makeFile("mounted.txt");
    if (::mount(pathOf("source.txt").c_str(), pathOf("mounted.txt").c_str(), nullptr, MS_BIND,
                nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a file (needs root)";
    const bool written = write("mounted.txt", "new");
    ::umount2(pathOf("mounted.txt").c_str(), MNT_DETACH);
    EXPECT_TRUE(written);
    EXPECT_EQ(contentsOf("source.txt"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
}

// A save keeps the file's owner, group and mode. The unprivileged user nobody writes a file
// the permissions allow even where the folder is closed to new files (in place), and leaves a
// file they may not write as it was.
TEST_F(FileWriteTest, SaveKeepsOwnerAndModeAndHonoursThePermissions) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of other users and the user nobody need root";
    // Whether nobody saves (else root), whether the folder is nobody's (else closed to them),
    // the file's mode and owner, and the error of the write (0: written). Root saves another
    // user's file, and root's file writable by all is written by nobody.
    const std::tuple<bool, bool, mode_t, uid_t, int> cases[] = {
        // clang-format off
        {false, true, 02640, 12345, 0}, {true, false, 0644, kNobody, 0},
        {true, true, 0444, kNobody, EACCES}, {true, true, 0666, 0, 0},
        // clang-format on
    };
    int index = 0;
    for (const auto& [asNobody, folderWritable, mode, owner, error] : cases) {
        const std::string folder = std::to_string(index++), name = folder + "/sheet.txt";
        SCOPED_TRACE(folder);
        ASSERT_EQ(::mkdir(pathOf(folder).c_str(), 0755), 0);
        ASSERT_EQ(::chown(pathOf(folder).c_str(), folderWritable ? kNobody : 0, 0), 0);
        makeFile(name, mode, owner, owner + 1);
        struct stat before = {}, after = {};
        ASSERT_EQ(::stat(pathOf(name).c_str(), &before), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (asNobody &&
                (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                 ::setresuid(kNobody, kNobody, kNobody) != 0))
                ::_exit(255);
            ::_exit(writeWholeFile(pathOf(name), "new").errorNumber);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(std::pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentsOf(name)),
                  std::pair(error, std::string(error ? "old" : "new")));
        ASSERT_EQ(::stat(pathOf(name).c_str(), &after), 0);
        EXPECT_EQ(std::tuple(after.st_uid, after.st_gid, after.st_mode & 07777),
                  std::tuple(owner, owner + 1, mode));
        EXPECT_TRUE(folderWritable || after.st_ino == before.st_ino);
    }
}

} // namespace
} // namespace quillet
