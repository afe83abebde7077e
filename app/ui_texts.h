// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the main window, the variable list window and the graph window's button, byte
// for byte (UTF-8), kept together so that every caption and label can be checked in one place.
#pragma once

#include <QString>

namespace quillet::ui_texts {

// The product name: the main window's caption and the application name.
inline const QString kAppName = QStringLiteral("Quillet");

// Angle mode buttons.
inline const QString kDegrees = QStringLiteral("角度制");
inline const QString kRadians = QStringLiteral("弧度制");
// Display base buttons.
inline const QString kDecimal = QStringLiteral("十进制");
inline const QString kHexadecimal = QStringLiteral("十六进制");
inline const QString kBinary = QStringLiteral("二进制");

inline const QString kShowResults = QStringLiteral("编辑框内显示运算结果");
inline const QString kAlwaysOnTop = QStringLiteral("主窗口总在最前");

// Push buttons; the help button's text holds two blanks.
inline const QString kVariableList = QStringLiteral("变量列表");
inline const QString kLoadFile = QStringLiteral("载入文件");
inline const QString kSaveFile = QStringLiteral("保存文件");
inline const QString kSaveFileAs = QStringLiteral("另存为");
inline const QString kHelp = QStringLiteral("帮  助");

// The help document, looked up in the current directory, and the caption of the help
// window that shows the help when the desktop cannot open the document.
inline const QString kHelpFile = QStringLiteral("help.mht");
inline const QString kHelpCaption = QStringLiteral("Quillet 帮助");

// The variable list window's caption, and the text between a name and its value.
inline const QString kVariableListCaption = QStringLiteral("变量列表");
inline const QString kNameValueSeparator = QStringLiteral(" = ");

// The graph window's button that opens the function list.
inline const QString kFunctionsButton = QStringLiteral("函数");

} // namespace quillet::ui_texts
