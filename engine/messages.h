// SPDX-License-Identifier: GPL-3.0-or-later
// Every message text the engine raises, byte for byte as the user sees it (UTF-8).
#pragma once

#include <string_view>

namespace quillet::messages {

inline constexpr std::string_view kNotReal = "复数值错误";
inline constexpr std::string_view kDivisionByZero = "Division by Zero";
// The quoting messages are built from these two halves around the quoted input.
inline constexpr std::string_view kUnrecognisedHead = "无法识别的输入'";
inline constexpr std::string_view kUnrecognisedTail = "',请查阅帮助获取程序支持的运算符";
inline constexpr std::string_view kMissingOperand = "无法识别的输入,请查阅帮助获取程序支持的运算符";
inline constexpr std::string_view kMissingParenthesis = "您的输入缺少')'";
inline constexpr std::string_view kMissingComma = "您的输入缺少','";
inline constexpr std::string_view kNegativeFactorial = "Factorial do not handle negative values";
inline constexpr std::string_view kNameNotAlpha = "Variable must begin with alpha";
inline constexpr std::string_view kNameNotAlphanumeric = "A non alphanumeric value in variable";
inline constexpr std::string_view kReservedName = "e和pi是程序的保留字,不能作为变量名";
inline constexpr std::string_view kNestingTooDeep = "表达式嵌套过深,请减少括号或函数的层数";

} // namespace quillet::messages
