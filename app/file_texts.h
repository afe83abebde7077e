// The texts of the worksheet files: the save-changes question, the file dialogs, the window
// title that names the file and the messages about files that cannot be read or written.
#pragma once

#include "app/ui_texts.h"

#include <QString>

#include <cstddef>

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
