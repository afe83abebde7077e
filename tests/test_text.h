// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by the tests.
#pragma once

#include "engine/utf8.h"

#include <string>
#include <string_view>

namespace quillet::test {

inline const std::string kFffd(utf8::kReplacementCharacter);

// Bytes as hex, so that failures show exactly which bytes differ.
inline std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += {kDigits[byte >> 4], kDigits[byte & 0xF], ' '};
    }
    return out;
}

inline std::string repeat(std::string_view piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

} // namespace quillet::test
