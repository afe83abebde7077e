// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/builtin_functions.h"

#include "engine/ascii.h"
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "engine/messages.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace quillet {

namespace {

using F = FunctionId;

// Names grouped by their first character; within a group the order is the order of trial.
constexpr FunctionName kNames[] = {
    {"!(", F::Factorial, false}, {"(", F::Group, false},    {"abs(", F::Abs, false},
    {"asin(", F::Asin, false},   {"acos(", F::Acos, false}, {"atan(", F::Atan, false},
    {"cos(", F::Cos, false},     {"cosh(", F::Cosh, false}, {"cpx(", F::Cpx, true},
    {"exp(", F::Exp, false},     {"im(", F::Im, false},     {"int(", F::Int, false},
    {"ln(", F::Ln, false},       {"log(", F::Log, false},   {"max(", F::Max, true},
    {"min(", F::Min, true},      {"norm(", F::Norm, false}, {"pow(", F::Pow, true},
    {"pol(", F::Pol, true},      {"re(", F::Re, false},     {"rnd(", F::Rnd, false},
    {"sqr(", F::Sqr, false},     {"sin(", F::Sin, false},   {"sqrn(", F::Sqrn, true},
    {"sinh(", F::Sinh, false},   {"tan(", F::Tan, false},   {"tanh(", F::Tanh, false},
};

bool startsWithIgnoringCase(const char* text, std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i)
        if (ascii::toLower(text[i]) != name[i]) // a terminator never matches, so no overrun
            return false;
    return true;
}

} // namespace

const FunctionName* matchFunctionName(const char* text) {
    const char first = ascii::toLower(text[0]);
    for (const FunctionName& entry : kNames)
        if (entry.name[0] == first && startsWithIgnoringCase(text, entry.name))
            return &entry;
    return nullptr;
}

double factorial(double x) {
    if (x < 0)
        throw CalcError(messages::kNegativeFactorial);
    if (!(x >= 1))
        return 1.0; // also NaN
    if (x >= 171)
        return std::numeric_limits<double>::infinity(); // 171! overflows; no need to loop
    const int n = static_cast<int>(x);
    double result = 1.0;
    for (int k = 1; k <= n; ++k)
        result *= k;
    return result;
}

Complex ExpressionEngine::callFunction(FunctionId id, const Complex& a, const Complex& b) {
    const auto scaleIn = [this](const Complex& z) { return m_degrees ? kDegreeFactor * z : z; };
    const auto scaleOut = [this](double r) {
        return m_degrees ? r * kFullTurnDegrees / kFullTurnRadians : r;
    };
    const auto real = [](double r) { return Complex(r, 0.0); };

    switch (id) {
    case F::Factorial:
        return real(factorial(requireReal(a)));
    case F::Group:
        return a;
    case F::Abs:
        return real(std::abs(a));
    case F::Asin:
        return real(scaleOut(std::asin(requireReal(a))));
    case F::Acos:
        return real(scaleOut(std::acos(requireReal(a))));
    case F::Atan:
        return real(scaleOut(std::atan(requireReal(a))));
    case F::Cos:
        return std::cos(scaleIn(a));
    case F::Cosh:
        return std::cosh(scaleIn(a));
    case F::Cpx: {
        const double x = requireReal(m_variables.lookupOrCreate("x"));
        if (requireReal(a) > x)
            return real(0.0);
        return real(requireReal(b) > x ? 1.0 : 0.0);
    }
    case F::Exp:
        return std::exp(a);
    case F::Im:
        return real(a.imag());
    case F::Int:
        return real(std::trunc(requireReal(a)));
    case F::Ln:
        return std::log(a);
    case F::Log:
        return std::log10(a);
    case F::Max:
    case F::Min: {
        const double ra = requireReal(a);
        const double rb = requireReal(b);
        const bool takeB = id == F::Max ? rb > ra : rb < ra;
        return takeB ? b : a;
    }
    case F::Norm:
        return real(std::norm(a));
    case F::Pow:
        return std::pow(a, b);
    case F::Pol: {
        const double modulus = requireReal(a);
        const double angle = requireReal(scaleIn(b));
        return Complex(modulus * std::cos(angle), modulus * std::sin(angle));
    }
    case F::Re:
        return real(a.real());
    case F::Rnd: {
        const double u1 = m_random.next(); // the first draw belongs to the imaginary part
        const double u2 = m_random.next();
        return Complex(a.real() * u2 / 4294967295.0, a.imag() * u1 / 4294967295.0);
    }
    case F::Sqr:
        return std::sqrt(a);
    case F::Sin:
        return std::sin(scaleIn(a));
    case F::Sqrn: {
        const double exponent = 1.0 / requireReal(b);
        return std::pow(a, exponent);
    }
    case F::Sinh:
        return std::sinh(scaleIn(a));
    case F::Tan:
        return real(std::tan(requireReal(scaleIn(a))));
    case F::Tanh:
        return real(std::tanh(requireReal(scaleIn(a))));
    }
    return a;
}

} // namespace quillet
