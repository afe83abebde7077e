// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/result_format.h"

#include "worksheet/number_text.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

constexpr int kDefaultPrecision = 6;

std::uint32_t low32Bits(const Complex& value) {
    return static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(truncateToInt64(requireReal(value))));
}

} // namespace

bool fitsInt64(double value) {
    // -2^63 is exact in a double; 2^63 is the first value out of range.
    return value >= -9223372036854775808.0 && value < 9223372036854775808.0;
}

std::int64_t truncateToInt64(double value) {
    return fitsInt64(value) ? static_cast<std::int64_t>(value) : INT64_MIN;
}

std::string formatComplex(const Complex& value, std::uint32_t precision) {
    const int digits =
        precision == 0 ? kDefaultPrecision : static_cast<int>(std::min(precision, 100u));
    std::string text = formatGeneral(value.real(), digits);
    const double imag = value.imag();
    if (imag == 0.0)
        return text;
    if (imag > 0.0) {
        text += " + ";
        text += formatGeneral(imag, digits);
    } else {
        text += " - ";
        text += formatGeneral(imag * -1, digits);
    }
    text += 'i';
    return text;
}

std::string formatHex(const Complex& value) {
    std::uint32_t bits = low32Bits(value);
    char digits[8];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[bits & 0xFu];
        bits >>= 4;
    } while (bits != 0);
    std::string text = "0x";
    while (count > 0)
        text += digits[--count];
    return text;
}

std::string formatBinary(const Complex& value) {
    const std::uint32_t bits = low32Bits(value);
    int width = 8;
    if (bits > 0xFFFFu)
        width = 32;
    else if (bits > 0xFFu)
        width = 16;
    std::string text = "0b";
    for (int bit = width - 1; bit >= 0; --bit) {
        if ((bit + 1) % 8 == 0)
            text += ' ';
        text += (bits >> bit) & 1u ? '1' : '0';
    }
    return text;
}

std::string formatResult(const Complex& value, DisplayBase base, std::uint32_t precision) {
    switch (base) {
    case DisplayBase::Hexadecimal:
        return formatHex(value);
    case DisplayBase::Binary:
        return formatBinary(value);
    case DisplayBase::Decimal:
        break;
    }
    return formatComplex(value, precision);
}

} // namespace quillet
