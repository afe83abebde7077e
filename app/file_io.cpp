// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_io.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillet {

namespace {

// Closes a descriptor when it goes out of scope; release() hands it over.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and says whether the close succeeded (a delayed write error shows here).
    bool close() {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links to the file that would be written, which need not exist yet. A
// path without links is returned as it is.
std::optional<std::string> resolveLinks(std::string path, int& error) {
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            error = errno;
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) >= target.size()) {
            error = ENAMETOOLONG;
            return std::nullopt;
        }
        std::string next(target.data(), static_cast<std::size_t>(length));
        path = next.starts_with('/') ? next : folderOf(path) + "/" + next;
    }
    error = ELOOP;
    return std::nullopt;
}

bool writeAll(int fd, std::string_view bytes, bool& anyWritten) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        anyWritten = true;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

FileWriteResult failure(int error, bool oldContentsKept = true) {
    return {false, error, FileKind::Regular, oldContentsKept};
}

// Gives the new file every extended attribute of the old one (access control lists
// among them). False when one cannot be set, so that the caller keeps the old file.
bool copyExtendedAttributes(const std::string& from, int toFd) {
    ssize_t listSize = ::listxattr(from.c_str(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP;
    std::vector<char> names(static_cast<std::size_t>(listSize));
    listSize = ::listxattr(from.c_str(), names.data(), names.size());
    if (listSize < 0)
        return false;
    for (std::size_t at = 0; at < static_cast<std::size_t>(listSize);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t valueSize = ::getxattr(from.c_str(), name, nullptr, 0);
        if (valueSize < 0)
            return false;
        std::vector<char> value(static_cast<std::size_t>(valueSize));
        if (::getxattr(from.c_str(), name, value.data(), value.size()) != valueSize ||
            ::fsetxattr(toFd, name, value.data(), value.size(), 0) != 0)
            return false;
    }
    return true;
}

// A name for the new file beside the old one, hidden and unlikely to be taken.
std::string temporaryName(const std::string& folder, int attempt) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto stamp = static_cast<unsigned long long>(now.tv_nsec) ^
                       static_cast<unsigned long long>(::getpid()) << 32 ^
                       static_cast<unsigned long long>(attempt) << 20;
    return folder + "/.quillet-save-" + std::to_string(stamp) + ".tmp";
}

// Writes bytes to a new file beside target and renames it over target. old describes the
// existing file, or is null for a new one. Returns nothing when the old file's identity
// could not be carried over (or the folder takes no new file), so that the caller writes
// in place instead; the old file is untouched then.
std::optional<FileWriteResult> replaceByNewFile(const std::string& target, std::string_view bytes,
                                                const struct stat* old) {
    const std::string folder = folderOf(target);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(folder, attempt);
        // An existing file's mode is given once its owner is set; until then only we read it.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return old ? std::nullopt : std::optional(failure(errno));
    Descriptor file(fd);
    const auto discard = [&] {
        const int error = errno;
        file.close();
        ::unlink(temporary.c_str());
        errno = error;
    };

    if (old) {
        struct stat made {};
        // Changing the owner clears the set-user-id bit, so the mode comes after it.
        if (::fstat(fd, &made) != 0 ||
            ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
             ::fchown(fd, old->st_uid, old->st_gid) != 0) ||
            ::fchmod(fd, old->st_mode & 07777) != 0 || !copyExtendedAttributes(target, fd)) {
            discard();
            return std::nullopt;
        }
    }
    bool anyWritten = false;
    if (!writeAll(fd, bytes, anyWritten) || ::fsync(fd) != 0) {
        discard();
        return failure(errno);
    }
    if (!file.close()) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        // A file that is a mount point of its own cannot be renamed over.
        if (old && (error == EBUSY || error == EXDEV))
            return std::nullopt;
        return failure(error);
    }
    // The new bytes are on the disk under the file's name already; syncing the folder only
    // hastens the rename to the disk, and some file systems cannot sync a folder.
    if (Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.valid())
        ::fsync(dir.get());
    return FileWriteResult{true, 0, FileKind::Regular, true};
}

FileKind kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}

FileWriteResult notRegular(mode_t mode) {
    FileWriteResult result;
    result.kind = kindOf(mode);
    return result;
}

FileWriteResult overwriteInPlace(const std::string& target, std::string_view bytes) {
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid())
        return failure(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return failure(errno);
    if (!S_ISREG(st.st_mode))
        return notRegular(st.st_mode);
    // Reserving the new size first finds a full disk or an exhausted quota before any old
    // byte is overwritten; file systems without reservation simply go on.
    const auto size = static_cast<off_t>(bytes.size());
    if (::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, std::max<off_t>(size, 1)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        return failure(errno);
    bool anyWritten = false;
    if (!writeAll(file.get(), bytes, anyWritten))
        return failure(errno, !anyWritten);
    if (::ftruncate(file.get(), size) != 0 || ::fsync(file.get()) != 0)
        return failure(errno, false);
    if (!file.close())
        return failure(errno, false);
    return {true, 0, FileKind::Regular, true};
}

// What a stat of a file to be read says against reading it, if anything.
std::optional<FileReadResult> refusal(const struct stat& st, std::uint64_t maxBytes) {
    FileReadResult result;
    if (!S_ISREG(st.st_mode)) {
        result.status = FileReadResult::Status::NotRegular;
        result.kind = kindOf(st.st_mode);
        return result;
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        result.status = FileReadResult::Status::TooLarge;
        result.size = static_cast<std::uint64_t>(st.st_size);
        return result;
    }
    return std::nullopt;
}

FileReadResult readFailure(int error) {
    FileReadResult result;
    result.status =
        error == ENOENT ? FileReadResult::Status::Missing : FileReadResult::Status::Failed;
    result.errorNumber = error;
    return result;
}

} // namespace

FileReadResult readWholeFile(const std::string& path, std::uint64_t maxBytes) {
    // A look before opening keeps a pipe's writer or a device from being woken; the look
    // at the opened file then settles what was really opened.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return readFailure(errno);
    if (auto refused = refusal(st, maxBytes))
        return *refused;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid())
        return readFailure(errno);
    if (::fstat(file.get(), &st) != 0)
        return readFailure(errno);
    if (auto refused = refusal(st, maxBytes))
        return *refused;

    FileReadResult result;
    std::string& bytes = result.bytes;
    // The size may change while the file is read (or be 0 for generated files): read to
    // the end, but never beyond the limit.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) {
            if (done > maxBytes) {
                result.status = FileReadResult::Status::TooLarge;
                result.size = done;
                result.bytes.clear();
                return result;
            }
            bytes.resize(std::min<std::size_t>(done * 2 + 4096, maxBytes + 1));
        }
        const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return readFailure(errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    result.status = FileReadResult::Status::Read;
    return result;
}

FileWriteResult writeWholeFile(const std::string& path, std::string_view bytes) {
    int error = 0;
    const std::optional<std::string> target = resolveLinks(path, error);
    if (!target)
        return failure(error);
    struct stat st {};
    if (::stat(target->c_str(), &st) != 0) {
        if (errno != ENOENT)
            return failure(errno);
        return *replaceByNewFile(*target, bytes, nullptr);
    }
    if (!S_ISREG(st.st_mode))
        return notRegular(st.st_mode);
    // A file the user may not write stays as it is, although its folder would let a new
    // file take its place.
    if (::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
        return failure(errno);
    if (st.st_nlink == 1)
        if (std::optional<FileWriteResult> replaced = replaceByNewFile(*target, bytes, &st))
            return *replaced;
    return overwriteInPlace(*target, bytes);
}

} // namespace quillet
