#include "engine_test_support.h"

#include <cmath>
#include <cstring>

namespace quillet::test {
namespace {

struct Case {
    std::string_view line;
    double real;
};

TEST(Operators, ProductsBindTighterAndGroupFromTheLeft) {
    const Case cases[] = {
        {"8/2/2", 2},    {"2*3%4", 2}, {"-2*3", -6},   {"2*-3", -6}, {"--3", 3},
        {"2--3", 5},     {"1+2*3", 7}, {"-7%3", -1},   {"7%-3", 1},  {"+-+5", -5},
        {"2*(3+4)", 14}, {"((2))", 2}, {"7.5%2", 1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpressionEngine engine;
        const Outcome outcome = evaluate(engine, c.line);
        ASSERT_TRUE(outcome.value) << outcome.message;
        EXPECT_EQ(outcome.value->real(), c.real);
    }
}

TEST(Operators, SumsAreAddedFromTheRight) {
    const Case cases[] = {{"1e16-1e16+1", 0}, {"2-1-1", 0}, {"1+1e16-1e16", 1}, {"1-2+3", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpressionEngine engine;
        EXPECT_EQ(engine.evaluateLine(c.line).real(), c.real);
    }
}

TEST(Operators, NegationFlipsTheSignOfBothParts) {
    ExpressionEngine engine;
    const Complex minusFour = engine.evaluateLine("-4");
    EXPECT_TRUE(sameBits(minusFour.imag(), -0.0));
    // The signed zero picks the side of the branch cut.
    const Complex root = engine.evaluateLine("sqr(-4)");
    EXPECT_EQ(root.real(), 0.0);
    EXPECT_EQ(root.imag(), -2.0);
    const Complex log = engine.evaluateLine("ln(-1)");
    EXPECT_DOUBLE_EQ(log.imag(), -3.141592653589793);
}

TEST(Operators, ComplexArithmetic) {
    ExpressionEngine engine;
    EXPECT_EQ(engine.evaluateLine("(1+2i)*(3+4i)"), Complex(-5, 10));
    EXPECT_EQ(engine.evaluateLine("(3+4i)/(3+4i)"), Complex(1, 0));
}

TEST(Operators, ErrorsAndTheirMessages) {
    expectMessages({
        {"5/0", "Division by Zero"},
        {"5%0", "Division by Zero"},
        {"0/0", "Division by Zero"},
        {"5/(0*1i)", "Division by Zero"},
        {"5%1i", "复数值错误"},
        {"1i%5", "复数值错误"},
        {"(1+2", "您的输入缺少')'"},
        {"(1+2))", unrecognisedChar(")")},
        {"5+", kMissingOperand},
        {"5*", kMissingOperand},
        {"()", kMissingOperand},
        {"sin()", kMissingOperand},
        {"max(,2)", kMissingOperand},
        {"max(1)", "您的输入缺少','"},
        {"max(1,2,3)", unrecognisedChar(",")},
        {"sin(1,2)", unrecognisedChar(",")},
        {"2(3)", unrecognisedChar("(")},
        {"1=2", "Variable must begin with alpha"},
    });
}

TEST(Operators, QuotedCharactersAreWholeCharacters) {
    expectMessages({
        {"5中", unrecognisedChar("中")},
        {"中文", unrecognisedChar("中文")},
        {"5\xff", unrecognisedChar("\xEF\xBF\xBD")}, // a stray byte is quoted as U+FFFD
        {"\xe4\xb8", unrecognisedChar("\xEF\xBF\xBD\xEF\xBF\xBD")}, // a truncated character
    });
}

TEST(Operators, LongRunsAreQuotedByTheirFirst99Characters) {
    ExpressionEngine engine;
    std::string run;
    for (int i = 0; i < 150; ++i)
        run += "中";
    std::string expected;
    for (int i = 0; i < 99; ++i)
        expected += "中";
    EXPECT_EQ(evaluate(engine, run).message, unrecognisedChar(expected));
    const std::string ascii(300, 'q');
    EXPECT_EQ(evaluate(engine, ascii).message, unrecognisedChar(std::string(99, 'q')));
}

} // namespace
} // namespace quillet::test
