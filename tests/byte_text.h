// SPDX-License-Identifier: GPL-3.0-or-later
// Byte strings as the codec tests compare them: failures show the bytes in hex.
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

} // namespace quillet::test
