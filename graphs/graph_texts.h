// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the function graphs show in captions, titles and result lines and the graph
// window draws under its plot, byte for byte (UTF-8).
#pragma once

#include <string_view>

namespace quillet::graph_texts {

// The function list window's title until the first definition.
inline constexpr std::string_view kListTitleInitial = "图形函数列表";
// The function list window's title after a definition: prefix, lower bound, arrow, upper bound.
inline constexpr std::string_view kRangeTitlePrefix = "自变量范围:  ";
inline constexpr std::string_view kRangeArrow = " --> ";
// A slot's caption: prefix, expression, then five blanks as the gap to what follows.
inline constexpr std::string_view kCaptionPrefix = "y = ";
inline constexpr std::string_view kCaptionGap = "     ";
// A slot's result line, followed by the integral in "%g" form.
inline constexpr std::string_view kIntegralPrefix = "F(x)的定积分 = ";
// Written under the plot while the envelope drawing is on.
inline constexpr std::string_view kEnvelopeCaption = "画出最大值点";

} // namespace quillet::graph_texts
