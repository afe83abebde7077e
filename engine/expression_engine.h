// SPDX-License-Identifier: GPL-3.0-or-later
// The expression engine: evaluates worksheet lines and expression ranges to complex values,
// holds the angle mode, the variables, the assignment flags and the random generator.
#pragma once

#include "engine/random_generator.h"
#include "engine/values.h"
#include "engine/variable_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum class FunctionId : std::uint8_t;

class ExpressionEngine {
public:
    // Deeper nesting than any 2047-byte line can hold is refused with a CalcError instead of
    // risking the stack.
    static constexpr int kMaxDepth = 1200;

    ExpressionEngine() = default;
    ExpressionEngine(const ExpressionEngine&) = delete;
    ExpressionEngine& operator=(const ExpressionEngine&) = delete;

    // A whole line: blanks removed, an optional "name=" assignment, then the expression.
    // A line without non-blank characters is 0. Raises CalcError.
    Complex evaluateLine(std::string_view line);

    // The expression of length bytes at text; text must be blank-free and zero-terminated
    // somewhere at or after text + length (readers may look past the range to finish an
    // operand or argument list). Raises CalcError.
    Complex evaluateRange(const char* text, int length);

    void setDegrees(bool degrees) { m_degrees = degrees; }
    bool degrees() const { return m_degrees; }

    bool variableChanged() const { return m_variableChanged; }
    bool lastLineAssigned() const { return m_lastLineAssigned; }
    void clearFlags() { m_variableChanged = m_lastLineAssigned = false; }

    VariableTable& variables() { return m_variables; }
    const VariableTable& variables() const { return m_variables; }

    void seedRandom(std::uint32_t seed) { m_random.seed(seed); }
    std::uint32_t nextRandom() { return m_random.next(); }

private:
    struct Operand {
        Complex value;
        int consumed;
    };
    struct Arguments {
        Complex first;
        Complex second;
        int consumed;
    };

    Operand evaluatePrimary(const char* text);
    Arguments parseArguments(const char* text, bool twoArguments);
    Complex callFunction(FunctionId id, const Complex& a, const Complex& b);
    void assign(std::string_view name, const Complex& value);

    std::string m_work;
    bool m_degrees = true;
    bool m_variableChanged = false;
    bool m_lastLineAssigned = false;
    int m_depth = 0;
    VariableTable m_variables;
    RandomGenerator m_random;
};

} // namespace quillet
