// SPDX-License-Identifier: GPL-3.0-or-later
// The text forms of a result: decimal with a number of significant digits, hexadecimal,
// and grouped binary digits.
#pragma once

#include "engine/values.h"

#include <cstdint>
#include <string>

namespace quillet {

enum class DisplayBase { Decimal = 0, Hexadecimal = 1, Binary = 2 };

// Real part, then " + 1i" or " - 1i" when the imaginary part is not zero. precision is the
// number of significant digits; 0 means the default of 6.
std::string formatComplex(const Complex& value, std::uint32_t precision);

// "0x" and the low 32 bits of the truncated real part in upper-case hexadecimal.
std::string formatHex(const Complex& value);

// "0b" and the low 32 bits of the truncated real part in groups of eight digits.
std::string formatBinary(const Complex& value);

std::string formatResult(const Complex& value, DisplayBase base, std::uint32_t precision);

// Whether the truncated value fits a signed 64-bit integer; false for infinities and NaN.
bool fitsInt64(double value);

// The real value truncated toward zero to 64 bits; values outside that range, infinities and
// NaN give the smallest 64-bit integer.
std::int64_t truncateToInt64(double value);

} // namespace quillet
