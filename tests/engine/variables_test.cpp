#include "engine_test_support.h"

#include <vector>

namespace quillet::test {
namespace {

TEST(Variables, AssignmentStoresAndReportsChanges) {
    ExpressionEngine engine;
    EXPECT_EQ(engine.evaluateLine("r = 2.5"), Complex(2.5, 0));
    EXPECT_TRUE(engine.lastLineAssigned());
    EXPECT_TRUE(engine.variableChanged());
    engine.evaluateLine("r=2.5");
    EXPECT_TRUE(engine.lastLineAssigned());
    EXPECT_FALSE(engine.variableChanged());
    engine.evaluateLine("r*2");
    EXPECT_FALSE(engine.lastLineAssigned());
    EXPECT_EQ(engine.evaluateLine("r*2"), Complex(5, 0));
}

TEST(Variables, AssigningZeroToANewNameChangesNothing) {
    ExpressionEngine engine;
    engine.evaluateLine("n=0");
    EXPECT_TRUE(engine.lastLineAssigned());
    EXPECT_FALSE(engine.variableChanged());
    EXPECT_NE(engine.variables().find("n"), nullptr);
}

TEST(Variables, BlankLineLeavesTheFlags) {
    ExpressionEngine engine;
    engine.evaluateLine("a=1");
    engine.evaluateLine("   ");
    EXPECT_TRUE(engine.lastLineAssigned());
}

TEST(Variables, NameRulesAndMessages) {
    struct Case {
        std::string_view line;
        std::string message;
    };
    const Case cases[] = {
        {"1x=5", "Variable must begin with alpha"},
        {"=5", "Variable must begin with alpha"},
        {"x_1=5", "A non alphanumeric value in variable"},
        {"中=5", "Variable must begin with alpha"},
        {"a中=5", "A non alphanumeric value in variable"},
        {"pi=3", "e和pi是程序的保留字,不能作为变量名"},
        {"PI=3", "e和pi是程序的保留字,不能作为变量名"},
        {"e=1", "e和pi是程序的保留字,不能作为变量名"},
        {"1x=1/0", "Division by Zero"}, // the expression is evaluated first
        {"a=b=3", unrecognisedChar("b=3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpressionEngine engine;
        EXPECT_EQ(evaluate(engine, c.line).message, c.message);
        EXPECT_FALSE(engine.lastLineAssigned());
        EXPECT_FALSE(engine.variableChanged());
        EXPECT_TRUE(engine.variables().empty());
    }
}

TEST(Variables, ChainedAssignmentFailsAtTheSecondEquals) {
    ExpressionEngine engine;
    engine.evaluateLine("b=1");
    EXPECT_EQ(evaluate(engine, "a=b=3").message, unrecognisedChar("="));
    EXPECT_EQ(engine.variables().find("a"), nullptr);
}

TEST(Variables, OrdinaryNamesMadeOfReservedLetters) {
    ExpressionEngine engine;
    EXPECT_EQ(engine.evaluateLine("Pi=3"), Complex(3, 0));
    EXPECT_EQ(engine.evaluateLine("Pi"), Complex(3, 0));
    EXPECT_EQ(engine.evaluateLine("pi").real(), 3.141592653589793);
    EXPECT_EQ(engine.evaluateLine("PI").real(), 3.141592653589793);
    EXPECT_EQ(engine.evaluateLine("E=4"), Complex(4, 0));
}

TEST(Variables, FailedExpressionKeepsTheOldValue) {
    ExpressionEngine engine;
    engine.evaluateLine("y=7");
    EXPECT_EQ(evaluate(engine, "y=1/0").message, "Division by Zero");
    EXPECT_EQ(engine.evaluateLine("y"), Complex(7, 0));
}

TEST(Variables, NamesAreCaseSensitiveAndMatchAsLongestPrefix) {
    ExpressionEngine engine;
    engine.evaluateLine("r=1");
    EXPECT_EQ(evaluate(engine, "R").message, unrecognisedChar("R"));
    engine.evaluateLine("a=2");
    EXPECT_EQ(evaluate(engine, "ab").message, unrecognisedChar("b"));
    engine.evaluateLine("ab=3");
    EXPECT_EQ(engine.evaluateLine("ab"), Complex(3, 0));
    EXPECT_EQ(engine.evaluateLine("a*ab"), Complex(6, 0));
}

TEST(Variables, VariablesAreTriedBeforeConstants) {
    ExpressionEngine engine;
    engine.evaluateLine("p=2");
    EXPECT_EQ(evaluate(engine, "pi").message, unrecognisedChar("i"));
    engine.evaluateLine("sin=5");
    EXPECT_EQ(engine.evaluateLine("sin"), Complex(5, 0));
    EXPECT_NEAR(engine.evaluateLine("sin(30)").real(), 0.5, 1e-15);
}

TEST(Variables, ComplexValues) {
    ExpressionEngine engine;
    engine.evaluateLine("z=3+4i");
    EXPECT_EQ(engine.evaluateLine("re(z)"), Complex(3, 0));
}

TEST(Variables, WalkIsInByteOrderAndEraseRemoves) {
    ExpressionEngine engine;
    for (const char* line : {"xy=1", "b=1", "x1=1", "A=1", "x=1", "a=1", "B=1"})
        engine.evaluateLine(line);
    std::vector<std::string> names;
    for (const auto& [name, value] : engine.variables())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "a", "b", "x", "x1", "xy"}));

    engine.variables().eraseVariable("x1");
    engine.variables().eraseVariable("missing");
    EXPECT_EQ(engine.variables().size(), 6u);
    EXPECT_EQ(evaluate(engine, "x1").message, unrecognisedChar("1"));
}

TEST(Variables, LookupOrCreateStartsAtZero) {
    ExpressionEngine engine;
    Complex& x = engine.variables().lookupOrCreate("x");
    EXPECT_EQ(x, Complex(0, 0));
    x = Complex(5, 0);
    EXPECT_EQ(engine.evaluateLine("x"), Complex(5, 0));
}

} // namespace
} // namespace quillet::test
