// Shared helpers of the engine tests: evaluate a line and report its value or its message.
#pragma once

#include "engine/calc_error.h"
#include "engine/expression_engine.h"

#include <gtest/gtest.h>

#include <cstring>

#include <optional>
#include <string>

namespace quillet::test {

struct Outcome {
    std::optional<Complex> value;
    std::string message;
};

inline Outcome evaluate(ExpressionEngine& engine, std::string_view line) {
    try {
        return {engine.evaluateLine(line), {}};
    } catch (const CalcError& error) {
        return {std::nullopt, std::string(error.message())};
    }
}

struct MessageCase {
    std::string_view line;
    std::string message;
};

// Each line, evaluated by a fresh engine, fails with its message.
inline void expectMessages(std::initializer_list<MessageCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpressionEngine engine;
        EXPECT_EQ(evaluate(engine, c.line).message, c.message);
    }
}

inline std::string unrecognisedChar(std::string_view c) {
    return "无法识别的输入'" + std::string(c) + "',请查阅帮助获取程序支持的运算符";
}
inline const std::string kMissingOperand = "无法识别的输入,请查阅帮助获取程序支持的运算符";

// Bitwise equality, so that signed zeros and exact results are told apart.
inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace quillet::test
