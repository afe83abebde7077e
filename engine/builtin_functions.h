// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in functions: their names as the evaluator recognises them, and the factorial.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillet {

enum class FunctionId : std::uint8_t {
    Factorial,
    Group,
    Abs,
    Asin,
    Acos,
    Atan,
    Cos,
    Cosh,
    Cpx,
    Exp,
    Im,
    Int,
    Ln,
    Log,
    Max,
    Min,
    Norm,
    Pow,
    Pol,
    Re,
    Rnd,
    Sqr,
    Sin,
    Sqrn,
    Sinh,
    Tan,
    Tanh,
};

struct FunctionName {
    std::string_view name; // lower case, including the opening parenthesis
    FunctionId id;
    bool twoArguments;
};

// The first function name (with its "(") that starts text, ignoring letter case, tried in the
// fixed order of the name table; nullptr when none does. text must be zero-terminated.
const FunctionName* matchFunctionName(const char* text);

// The product 1 * 2 * ... * trunc(x) in doubles; +infinity from 171 on, 1 for NaN.
// Raises CalcError for a negative argument.
double factorial(double x);

} // namespace quillet
