// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers shared by the tests.
#pragma once

#include "engine/utf8.h"

#include <string>
#include <string_view>

namespace quillet::test {

inline const std::string kFffd(utf8::kReplacementCharacter);

inline std::string repeat(std::string_view piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

} // namespace quillet::test
