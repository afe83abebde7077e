// SPDX-License-Identifier: GPL-3.0-or-later
// Locale-independent tests of single ASCII characters, shared by every reader of typed text.
#pragma once

namespace quillet::ascii {

// The blank characters removed from lines and definitions: space, tab, CR, LF, VT, FF.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr char toLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace quillet::ascii
