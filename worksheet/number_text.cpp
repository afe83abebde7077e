// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/number_text.h"

#include <algorithm>
#include <charconv>

namespace quillet {

std::string formatGeneral(double value, int significantDigits) {
    // A general conversion needs at most the digits, a sign, a point and "e-308".
    char buffer[160];
    const int digits = std::clamp(significantDigits, 0, 120);
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

std::string formatGeneralPadded(double value, int significantDigits, int width) {
    std::string text = formatGeneral(value, significantDigits);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace quillet
