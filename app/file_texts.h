// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the worksheet files: the save-changes question, the file dialogs, the window
// title that names the file and the messages about files that cannot be read or written.
#pragma once

#include "app/file_io.h"
#include "app/ui_texts.h"

#include <QString>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quillet::file_texts {

// The texts with placeholders are filled in one pass, so that a path holding "%2" stays
// as it is.

// Captions of the save-changes question.
inline const QString kLoadCaption = QStringLiteral("载入新文件");
inline const QString kCloseCaption = QStringLiteral("Closing program");

// Dialog titles and filters. "All Files" matches every name: the pattern "*.*" would hide
// the files without an extension on the desktops this program runs on.
inline const QString kOpenDialogTitle = QStringLiteral("打开");
inline const QString kSaveDialogTitle = QStringLiteral("另存为");
inline const QString kTextFilesFilter = QStringLiteral("Text Files (*.txt)");
inline const QString kAllFilesFilter = QStringLiteral("All Files (*)");
inline const QString kDefaultSuffix = QStringLiteral("txt");

// Message box buttons.
inline const QString kYesButton = QStringLiteral("是(&Y)");
inline const QString kNoButton = QStringLiteral("否(&N)");
inline const QString kCancelButton = QStringLiteral("取消");
inline const QString kOkButton = QStringLiteral("确定");

// The message when the memory for a file's contents cannot be had.
inline const QString kCannotOpenFile = QStringLiteral("无法打开文件");

// "Quillet - [name.txt]": the main window's title for a worksheet tied to a file.
inline QString windowTitle(const QString& fileName) {
    return ui_texts::kAppName + QStringLiteral(" - [") + fileName + QStringLiteral("]");
}

// The save-changes question: the path follows directly, without blank or question mark.
inline QString saveChangesQuestion(const QString& path) {
    return QStringLiteral("将修改保存到") + path;
}

// The question before an untitled worksheet that holds changed text is closed or replaced.
inline const QString kSaveUntitledQuestion = QStringLiteral("是否保存对未命名工作表的修改？");

// Why a file operation failed, from the system's error number.
inline QString systemReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("磁盘空间不足");
    case EDQUOT:
        return QStringLiteral("超出了磁盘配额");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有权限");
    case EROFS:
        return QStringLiteral("文件系统是只读的");
    case ENOENT:
        return QStringLiteral("文件或文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一部分不是文件夹");
    case EIO:
        return QStringLiteral("输入/输出错误");
    case EFBIG:
        return QStringLiteral("文件太大");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case ELOOP:
        return QStringLiteral("符号链接的层数太多");
    case ETXTBSY:
        return QStringLiteral("文件正被执行");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件太多");
    case ENOMEM:
        return QStringLiteral("内存不足");
    default:
        return QStringLiteral("系统错误 %1（%2）")
            .arg(QString::number(errorNumber), QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

// What a path names instead of a regular file: "文件夹", "命名管道", …
inline QString fileKindName(FileKind kind) {
    switch (kind) {
    case FileKind::Regular:
        return QStringLiteral("普通文件");
    case FileKind::Folder:
        return QStringLiteral("文件夹");
    case FileKind::Pipe:
        return QStringLiteral("命名管道");
    case FileKind::Device:
        return QStringLiteral("设备");
    case FileKind::Socket:
        return QStringLiteral("套接字");
    case FileKind::Other:
        break;
    }
    return QStringLiteral("特殊文件");
}

inline QString notRegularFile(const QString& path, const QString& kind) {
    return QStringLiteral("无法载入“%1”：它不是普通文件，而是%2。").arg(path, kind);
}

inline QString fileTooLarge(const QString& path, std::uint64_t size) {
    return QStringLiteral("无法载入文件“%1”：它有 %2 字节（%3 MiB），超过了 64 MiB 的上限。")
        .arg(path, QString::number(static_cast<qulonglong>(size)),
             QString::number(static_cast<double>(size) / (1 << 20), 'f', 1));
}

inline QString fileMissing(const QString& path) {
    return QStringLiteral("无法打开文件“%1”：文件不存在。").arg(path);
}

inline QString openFailed(const QString& path, const QString& reason) {
    return QStringLiteral("无法打开文件“%1”。\n原因：%2").arg(path, reason);
}

inline QString readFailed(const QString& path, const QString& reason) {
    return QStringLiteral("无法读取文件“%1”。\n原因：%2").arg(path, reason);
}

inline QString saveFailed(const QString& path, const QString& reason) {
    return QStringLiteral("无法保存文件“%1”，原来的文件保持不变。\n原因：%2").arg(path, reason);
}

inline QString saveOverNonFile(const QString& path, const QString& kind) {
    return QStringLiteral("无法保存文件“%1”：它不是普通文件，而是%2。").arg(path, kind);
}

// A write over the file itself failed after it had begun.
inline QString saveFailedPartly(const QString& path, const QString& reason) {
    return QStringLiteral("保存文件“%1”时写入中途失败，文件中可能只有一部分新内容。\n原因：%2\n"
                          "工作表的内容仍在，请另存为其他文件。")
        .arg(path, reason);
}

// A character GBK cannot encode: the file is not written.
inline QString unencodableCharacter(const QString& path, const QString& character,
                                    const QString& codePoint, int line, int column) {
    return QStringLiteral("无法保存文件“%1”：第 %2 行第 %3 个字符“%4”（U+%5）不能用 GBK "
                          "编码保存。\n文件没有写入。请删除或替换这个字符后再保存。")
        .arg(path, QString::number(line), QString::number(column), character, codePoint);
}

// A file with a zero byte is loaded up to that byte only.
inline QString zeroByte(const QString& path, std::size_t offset) {
    return QStringLiteral("文件“%1”在字节位置 %2（从 0 起算）含有一个零字节。\n"
                          "只载入了零字节之前的内容，其后的部分没有载入。")
        .arg(path, QString::number(static_cast<qulonglong>(offset)));
}

} // namespace quillet::file_texts
