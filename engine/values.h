// SPDX-License-Identifier: GPL-3.0-or-later
// Values of the expression engine: the complex number type, the mathematical constants,
// and the conversion of a value to a plain real number.
#pragma once

#include <complex>

namespace quillet {

using Complex = std::complex<double>;

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kE = 2.718281828459045;
inline constexpr double kDegreeFactor = 0.017453292519943295;
inline constexpr double kFullTurnDegrees = 360.0;
inline constexpr double kFullTurnRadians = 6.283185307179586;

// The real part of z; raises CalcError "复数值错误" when the imaginary part is not exactly 0.
double requireReal(const Complex& z);

} // namespace quillet
