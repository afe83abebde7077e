// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the line processor itself shows, byte for byte (UTF-8).
#pragma once

#include <string_view>

namespace quillet::messages {

inline constexpr std::string_view kBadSlot = "错误: FX?中,'?'的值只能从0到9";
inline constexpr std::string_view kMaxDigits = "Max 18 digits";
inline constexpr std::string_view kPrecisionSetPrefix = "precision is set to ";
inline constexpr std::string_view kFunctionDefined = "F(x) OK!";
inline constexpr std::string_view kResultPrefix = "Result: ";
// Followed by the limit in bytes and the suffix.
inline constexpr std::string_view kLineTooLongPrefix = "错误: 输入行太长,每行最多";
inline constexpr std::string_view kLineTooLongSuffix = "个字节(一个汉字占两个字节)";

} // namespace quillet::messages
