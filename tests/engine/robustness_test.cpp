#include "engine_test_support.h"

#include <clocale>
#include <random>

namespace quillet::test {
namespace {

std::string repeat(std::string_view piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

const std::string kTooDeep = "表达式嵌套过深,请减少括号或函数的层数";

TEST(Robustness, NestingThatFitsALineIsEvaluated) {
    ExpressionEngine engine;
    // 1023 pairs of parentheses are the deepest a 2047-byte line can hold.
    EXPECT_EQ(engine.evaluateLine(repeat("(", 1023) + "1" + repeat(")", 1023)), Complex(1, 0));
    // A sum of 1024 terms.
    EXPECT_EQ(engine.evaluateLine("1" + repeat("+1", 1023)), Complex(1024, 0));
    EXPECT_EQ(engine.evaluateLine(repeat("sin(", 400) + "0" + repeat(")", 400)), Complex(0, 0));
    EXPECT_EQ(engine.evaluateLine(repeat("-(", 680) + "1" + repeat(")", 680)), Complex(1, 0));
}

TEST(Robustness, DeeperNestingIsRefusedWithAMessage) {
    struct Case {
        std::string line;
        std::string message;
    };
    const Case cases[] = {
        {repeat("(", 2047), "您的输入缺少')'"},
        {repeat("(", 2499) + "1" + repeat(")", 2499), kTooDeep},
        {"1" + repeat("+1", 2499), kTooDeep},
        {repeat("sin(", 1249) + "0" + repeat(")", 1249), kTooDeep},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 20));
        ExpressionEngine engine;
        EXPECT_EQ(evaluate(engine, c.line).message, c.message);
        // The depth count is restored after an error: ordinary lines still work.
        EXPECT_EQ(engine.evaluateLine(repeat("(", 1000) + "2" + repeat(")", 1000)), Complex(2, 0));
    }
}

TEST(Robustness, RandomBytesGiveAValueOrAMessage) {
    std::mt19937 random(20261207);
    const std::string alphabet =
        "0123456789+-*/%(),.=!^eEipPxXbBsincoqrtaxlmhpdw \t\xe4\xb8\xad\xff";
    ExpressionEngine engine;
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            if (random() % 8 == 0)
                line += static_cast<char>(random() % 256);
            else
                line += alphabet[random() % alphabet.size()];
        }
        try {
            engine.evaluateLine(line);
        } catch (const CalcError& error) {
            EXPECT_FALSE(error.message().empty());
        }
    }
}

TEST(Robustness, EmbeddedZeroByteEndsTheLine) {
    ExpressionEngine engine;
    EXPECT_EQ(engine.evaluateLine(std::string_view("1+2\0+5", 6)), Complex(3, 0));
}

TEST(Robustness, NumbersAreReadTheSameUnderAGermanLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale must be installed for this test";
    ExpressionEngine engine;
    EXPECT_EQ(engine.evaluateLine("1.5"), Complex(1.5, 0));
    EXPECT_EQ(engine.evaluateLine("1e400").real(), HUGE_VAL);
    EXPECT_EQ(engine.evaluateLine("2.5e-400").real(), 0.0);
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace quillet::test
