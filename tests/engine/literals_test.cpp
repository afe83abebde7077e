#include "engine_test_support.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace quillet::test {
namespace {

struct ValueCase {
    std::string_view line;
    double real;
    double imag;
};

void expectValues(std::initializer_list<ValueCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpressionEngine engine;
        const Outcome outcome = evaluate(engine, c.line);
        ASSERT_TRUE(outcome.value) << outcome.message;
        EXPECT_EQ(outcome.value->real(), c.real);
        EXPECT_EQ(outcome.value->imag(), c.imag);
    }
}

TEST(Literals, DecimalNumbersFollowTheLongestValidNumber) {
    expectValues({
        {"3 + 4i", 3, 4},
        {"1e3i", 0, 1000},
        {".5", 0.5, 0},
        {"5.", 5, 0},
        {"2e", 2, 0},
        {"2e+", 2, 0},
        {"1.e3", 1000, 0},
        {"1e5i", 0, 1e5},
        {"1 000", 1000, 0},
        {"0.1", 0.1, 0},
        {"1E-2", 0.01, 0},
        {".", 0, 0},
        {"007", 7, 0},
        {"1e400", HUGE_VAL, 0},
        {"1e-400", 0, 0},
        {"4.9e-324", 4.9e-324, 0},
    });
}

TEST(Literals, HexadecimalIsASigned32BitPattern) {
    expectValues({
        {"0x1F", 31, 0},
        {"0xffffffff", -1, 0},
        {"0XFFFFFFFF", -1, 0},
        {"0x80000000", -2147483648.0, 0},
        {"0x7fffffff", 2147483647, 0},
        {"0x", 0, 0},
        {"0x123456789", 0x23456789, 0}, // longer numbers keep their low 32 bits
    });
}

TEST(Literals, BinaryIsASigned32BitPattern) {
    expectValues({
        {"0b101", 5, 0},
        {"0b", 0, 0},
        {"0B11", 3, 0},
        {"0b11111111111111111111111111111111", -1, 0},
        // A 33rd digit pushes the oldest one out.
        {"0b100000000000000000000000000000001", 1, 0},
    });
}

TEST(Literals, ConstantsPiAndE) {
    expectValues({{"pi", 3.141592653589793, 0},
                  {"PI", 3.141592653589793, 0},
                  {"Pi", 3.141592653589793, 0},
                  {"e", 2.718281828459045, 0},
                  {"2*e", 2 * 2.718281828459045, 0}});
}

TEST(Literals, UnreadableTextsNameTheirRun) {
    expectMessages({
        {"i", unrecognisedChar("i")},
        {"E", unrecognisedChar("E")},
        {"sqrt(4)", unrecognisedChar("sqrt(4")},
        {"foo(1)", unrecognisedChar("foo(1")},
        {"2.5.3", unrecognisedChar(".")},
        {"0x1g", unrecognisedChar("g")},
        {"1e5j", unrecognisedChar("j")},
        {"0x1i", unrecognisedChar("i")}, // hexadecimal literals never take the i
        {"2pi", unrecognisedChar("p")},
        {"5!", unrecognisedChar("!")},
        {"pi(1)", unrecognisedChar("pi(1")},
        {"e2", unrecognisedChar("e2")},
    });
}

TEST(Literals, BlankLinesAreZeroAndBlanksVanishEverywhere) {
    expectValues({{"", 0, 0}, {"   \t ", 0, 0}, {"s in( 30 )", 0.49999999999999994, 0}});
}

} // namespace
} // namespace quillet::test
