// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing whole worksheet files at the level of the operating system, so that
// every failure is seen: a read never blocks on something that is not a file, and a write
// counts only once its bytes are on the disk and never leaves a half-written file behind
// where that can be avoided.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// Files larger than this are not loaded: a worksheet that size could not be edited.
inline constexpr std::uint64_t kMaxWorksheetFileBytes = 64ull << 20;

// What a path names; only regular files are read or written.
enum class FileKind { Regular, Folder, Pipe, Device, Socket, Other };

struct FileReadResult {
    enum class Status {
        Read,
        Missing,    // no such file (or a dangling link)
        NotRegular, // kind says what it is
        TooLarge,   // size holds its size
        Failed,     // errorNumber says why
    };

    Status status = Status::Failed;
    std::string bytes;
    FileKind kind = FileKind::Regular;
    std::uint64_t size = 0;
    int errorNumber = 0;
};

// Reads the whole file at path when it is a regular file of at most maxBytes bytes. Throws
// std::bad_alloc when its contents do not fit in memory.
FileReadResult readWholeFile(const std::string& path,
                             std::uint64_t maxBytes = kMaxWorksheetFileBytes);

struct FileWriteResult {
    bool written = false;
    int errorNumber = 0;               // why it was not written, or 0 when kind says it
    FileKind kind = FileKind::Regular; // what the path named instead of a regular file
    // False only when a write over the file itself failed after it had begun, so that the
    // file may hold part of the new text.
    bool oldContentsKept = true;
};

// Makes the file at path hold exactly bytes, synced to the disk. A symbolic link stays a
// link and the file it leads to receives the bytes. An existing file is replaced by a
// complete new one in the same folder when that keeps its owner, group, mode and extended
// attributes and it has no other names; otherwise (a folder the user cannot write to, hard
// links, an owner only root could give back) it is overwritten in place after its new size
// was reserved on the disk, so that a full disk is found before any old byte changes. A new
// file gets the mode that the process's umask leaves of rw-rw-rw-.
FileWriteResult writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace quillet
