// SPDX-License-Identifier: GPL-3.0-or-later
// Writing whole files on a real file system: what a save keeps of a file (its other names,
// owner, mode and links) and what an unprivileged user can and cannot overwrite.
#include "app/file_io.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet {
namespace {

constexpr uid_t kNobody = 65534;

struct stat statOf(const std::string& path, bool followLinks = true) {
    struct stat st {};
    EXPECT_EQ(followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "<unreadable>";
}

void makeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644,
              uid_t owner = ::geteuid(), gid_t group = ::getegid()) {
    std::ofstream(path, std::ios::binary) << bytes;
    ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

class FileWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temporary.isValid());
        // Others (the unprivileged user) may pass through to the folders below.
        ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
    }
    std::string pathOf(const std::string& name) const { return dir + "/" + name; }

    QTemporaryDir temporary;
    const std::string dir = temporary.path().toStdString();
};

TEST_F(FileWriteTest, SaveKeepsOtherNamesLinksAndANewFileGetsTheUmaskMode) {
    makeFile(pathOf("a.txt"), "old");
    ASSERT_EQ(::link(pathOf("a.txt").c_str(), pathOf("b.txt").c_str()), 0);
    ASSERT_TRUE(writeWholeFile(pathOf("a.txt"), "hard").written);
    EXPECT_EQ(contentsOf(pathOf("b.txt")), "hard");
    EXPECT_EQ(statOf(pathOf("a.txt")).st_nlink, 2u);

    // A relative link to a link to a file, and a link to a file that does not exist yet.
    makeFile(pathOf("target.txt"), "old");
    ASSERT_EQ(::symlink("target.txt", pathOf("first.txt").c_str()), 0);
    ASSERT_EQ(::symlink(pathOf("first.txt").c_str(), pathOf("second.txt").c_str()), 0);
    ASSERT_EQ(::symlink("made.txt", pathOf("dangling.txt").c_str()), 0);
    for (const char* link : {"second.txt", "dangling.txt"}) {
        SCOPED_TRACE(link);
        ASSERT_TRUE(writeWholeFile(pathOf(link), "linked").written);
        EXPECT_TRUE(S_ISLNK(statOf(pathOf(link), false).st_mode));
        EXPECT_EQ(contentsOf(pathOf(link)), "linked");
    }
    EXPECT_TRUE(S_ISLNK(statOf(pathOf("first.txt"), false).st_mode));

    const mode_t mask = ::umask(022);
    ::umask(mask);
    for (const mode_t umask : {mode_t(022), mode_t(077)}) {
        SCOPED_TRACE(umask);
        ::umask(umask);
        const std::string path = pathOf("new" + std::to_string(umask));
        const FileWriteResult result = writeWholeFile(path, "");
        ::umask(mask);
        ASSERT_TRUE(result.written);
        EXPECT_EQ(statOf(path).st_mode & 07777, 0666 & ~umask);
        EXPECT_EQ(contentsOf(path), "");
    }
}

// A file that is a mount point of its own cannot be renamed over: it is written in place,
// and no temporary file is left beside it.
TEST_F(FileWriteTest, FileMountedOverIsWrittenInPlace) {
    makeFile(pathOf("source.txt"), "old");
    makeFile(pathOf("mounted.txt"), "");
    if (::mount(pathOf("source.txt").c_str(), pathOf("mounted.txt").c_str(), nullptr, MS_BIND,
                nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a file (needs root)";
    const bool written = writeWholeFile(pathOf("mounted.txt"), "new").written;
    ::umount2(pathOf("mounted.txt").c_str(), MNT_DETACH);
    EXPECT_TRUE(written);
    EXPECT_EQ(contentsOf(pathOf("source.txt")), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
}

TEST_F(FileWriteTest, SaveKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    makeFile(pathOf("owned.txt"), "old", 02640, 12345, 23456);
    ASSERT_TRUE(writeWholeFile(pathOf("owned.txt"), "new contents").written);
    const struct stat st = statOf(pathOf("owned.txt"));
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
    EXPECT_EQ(contentsOf(pathOf("owned.txt")), "new contents");
}

// Runs fn in a child process as the unprivileged user nobody; gives fn's exit status.
int runAsNobody(const std::function<int()>& fn) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(255);
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A file the user may write is written even where the folder is closed to new files (in
// place, keeping its root owner); a file the user may not write keeps its bytes.
TEST_F(FileWriteTest, UnprivilegedUserWritesWhatThePermissionsAllow) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "the user is switched to nobody, which needs root";
    const struct {
        const char* name;
        bool folderWritable;
        mode_t mode;
        uid_t owner;
        int error; // 0: written
    } cases[] = {
        {"read-only folder, writable file", false, 0644, kNobody, 0},
        {"writable folder, read-only file", true, 0444, kNobody, EACCES},
        {"read-only folder, read-only file", false, 0444, kNobody, EACCES},
        {"writable folder, root's file writable by all", true, 0666, 0, 0},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = pathOf(std::to_string(++row));
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        if (c.folderWritable) {
            ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
        }
        const std::string path = folder + "/sheet.txt";
        makeFile(path, "old bytes", c.mode, c.owner, c.owner);
        const ino_t inode = statOf(path).st_ino;
        EXPECT_EQ(runAsNobody([&] { return writeWholeFile(path, "new").errorNumber; }), c.error);
        EXPECT_EQ(contentsOf(path), c.error ? "old bytes" : "new");
        const struct stat st = statOf(path);
        EXPECT_EQ(st.st_uid, c.owner);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        if (!c.folderWritable) {
            EXPECT_EQ(st.st_ino, inode);
        }
    }
}

} // namespace
} // namespace quillet
