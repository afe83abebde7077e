#include "worksheet_test_support.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

struct Case {
    std::string_view line;
    std::string_view text; // worksheet afterwards, lines joined with "\n"
    std::string_view status;
};

void expectCompleted(std::initializer_list<Case> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Sheet sheet;
        sheet.worksheet.setStatusText("before");
        sheet.complete(c.line);
        EXPECT_EQ(sheet.text(), c.text);
        EXPECT_EQ(sheet.status(), c.status);
    }
}

TEST(LineProcessor, CompletedLinesWriteTheirResultBelow) {
    expectCompleted({
        {"1+2", "1+2\n3\n", "Result: 3"},
        {"x=5", "x=5\n", "Result: 5"},
        {"1/0", "1/0\n# Division by Zero\n", "Division by Zero"},
        {"y = 1/0", "y = 1/0\n# Division by Zero\n", "Division by Zero"},
        {"fact 360", "fact 360\n2 * 2 * 2 * 3 * 3 * 5\n", "Result: 2 * 2 * 2 * 3 * 3 * 5"},
        {"precision 4", "precision 4\n# precision is set to 4\n", "precision is set to 4"},
        {"cls", "", ""},
        {"  CLR", "", ""},
        {"   ", "   \n", "before"},
        {"", "\n", "before"},
        {"  # note", "  # note\n", ""},
        {"# Division by Zero", "# Division by Zero\n", ""},
        {"  x = 2 # note", "  x = 2 # note\n", "Result: 2"},
        {"3 # 1/0", "3 # 1/0\n3\n", "Result: 3"},
        {"cls # c", "cls # c\n# 无法识别的输入'cls',请查阅帮助获取程序支持的运算符\n",
         "无法识别的输入'cls',请查阅帮助获取程序支持的运算符"},
        {"cls ", "cls \n# 无法识别的输入'cls',请查阅帮助获取程序支持的运算符\n",
         "无法识别的输入'cls',请查阅帮助获取程序支持的运算符"},
        {"fxclr", "fxclr\n", ""},
        {"0.1+0.2", "0.1+0.2\n0.3\n", "Result: 0.3"},
        {"1+2i", "1+2i\n1 + 2i\n", "Result: 1 + 2i"},
    });
}

TEST(LineProcessor, FunctionDefinitionCommands) {
    const std::string badSlot = "错误: FX?中,'?'的值只能从0到9";
    expectCompleted({
        {"fx", "fx\n# " + badSlot + "\n", badSlot},
        {"fxa x", "fxa x\n# " + badSlot + "\n", badSlot},
        {"fx12 x", "fx12 x\n# " + badSlot + "\n", badSlot},
        {"fx1", "fx1\n# " + badSlot + "\n", badSlot},
        {"FX3 x*x", "FX3 x*x\n", "F(x) OK!"},
    });
}

TEST(LineProcessor, DefinitionPassesTextSlotAndShowFlag) {
    Sheet sheet;
    sheet.complete("  Fx0 -1, 1, x*x # comment");
    ASSERT_EQ(sheet.graphs.definitions.size(), 1u);
    EXPECT_EQ(sheet.graphs.definitions[0].text, " -1, 1, x*x ");
    EXPECT_EQ(sheet.graphs.definitions[0].slot, 0);
    EXPECT_TRUE(sheet.graphs.definitions[0].show);
    EXPECT_EQ(sheet.graphs.shows, 1);
    EXPECT_EQ(sheet.graphs.titleRefreshes, 1);
    EXPECT_EQ(sheet.graphs.repaints, 1);
    EXPECT_EQ(sheet.logic.lastResult(), "");

    // Re-run by a caret move: not shown, nothing brought up; an ignored call empties the status.
    sheet.graphs.accept = false;
    sheet.worksheet.setCaret(0, 0);
    sheet.logic.processLine(false, true);
    EXPECT_FALSE(sheet.graphs.definitions.back().show);
    EXPECT_EQ(sheet.graphs.shows, 1);
    EXPECT_EQ(sheet.status(), "");

    // After F12 the definition brings the graph window up even without Enter.
    sheet.logic.keyPressed(VirtualKey::F12);
    sheet.logic.processLine(false, true);
    EXPECT_TRUE(sheet.graphs.definitions.back().show);
    EXPECT_EQ(sheet.graphs.shows, 2);
}

TEST(LineProcessor, FailedDefinitionTakesTheErrorRoad) {
    Sheet sheet;
    sheet.graphs.failWith = "您的输入缺少','";
    sheet.complete("fx0 0,1");
    EXPECT_EQ(sheet.text(), "fx0 0,1\n# 您的输入缺少','\n");
    EXPECT_EQ(sheet.status(), "您的输入缺少','");
    EXPECT_EQ(sheet.graphs.shows, 0);
}

TEST(LineProcessor, ClearingCommandsActOnlyOnEnter) {
    for (const std::string_view command : {"fxclr", "cls", "CLR"}) {
        SCOPED_TRACE(command);
        Sheet sheet;
        sheet.worksheet.insertAtCaret(std::string("1\n") + std::string(command));
        for (const bool showResult : {false, true}) { // the caret passing, then arriving
            sheet.worksheet.setStatusText("x");
            sheet.logic.processLine(false, showResult);
            EXPECT_EQ(sheet.status(), "");
        }
        EXPECT_EQ(sheet.text(), "1\n" + std::string(command));
        EXPECT_EQ(sheet.graphs.clears, 0);
        sheet.press(VirtualKey::Enter);
        EXPECT_EQ(sheet.graphs.clears, command == "fxclr" ? 1 : 0);
        EXPECT_EQ(sheet.text(), command == "fxclr" ? "1\nfxclr\n" : "");
    }
}

TEST(LineProcessor, PrecisionValues) {
    struct PrecisionCase {
        std::string_view line;
        std::uint32_t precision;
    };
    const PrecisionCase cases[] = {
        {"precision 20", 15},     {"precision -1", 15},    {"precision 0", 0},
        {"precision", 0},         {"PRECISION 3.9", 3},    {"precision 1e300", 15},
        {"precision -1e300", 15}, {"precision 1/0*0", 12}, {"precision 4294967299", 3},
        {"precision 0x7", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Sheet sheet;
        sheet.complete(c.line);
        EXPECT_EQ(sheet.logic.precision(), c.precision);
    }
}

TEST(LineProcessor, PrecisionActsSilentlyAndRebuildsTheList) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("precision 3");
    sheet.logic.processLine(false, false);
    EXPECT_EQ(sheet.logic.precision(), 3u);
    EXPECT_EQ(sheet.variables.refreshes, 1);
    EXPECT_EQ(sheet.status(), "");
    sheet.worksheet.setCaret(0, 11);
    sheet.complete("");
    sheet.complete("1/3");
    EXPECT_EQ(sheet.status(), "Result: 0.333");
    sheet.complete("precision 0");
    sheet.complete("1/3");
    EXPECT_EQ(sheet.status(), "Result: 0.333333");
}

TEST(LineProcessor, Factorisation) {
    expectCompleted({
        {"fact 1234567890123456789", "fact 1234567890123456789\n# Max 18 digits\n",
         "Max 18 digits"},
        {"fact 2*3", "fact 2*3\n2 * 3\n", "Result: 2 * 3"},
        {"fact -5", "fact -5\n0\n", "Result: 0"},
        {"fact 0", "fact 0\n0\n", "Result: 0"},
        {"fact", "fact\n0\n", "Result: 0"},
        {"fact 1", "fact 1\n1\n", "Result: 1"},
        {"fact 12 34", "fact 12 34\n2 * 2 * 3\n", "Result: 2 * 2 * 3"},
        {"fact 1i", "fact 1i\n# 复数值错误\n", "复数值错误"},
        {"fact 1e300", "fact 1e300\n0\n", "Result: 0"},
        {"fact 999999999999999989", "fact 999999999999999989\n999999999999999989\n",
         "Result: 999999999999999989"},
    });
}

TEST(LineProcessor, LargeFactorisationsStartOnlyFromEnter) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("fact 1000000000039");
    sheet.worksheet.setStatusText("before");
    sheet.logic.processLine(false, true);
    EXPECT_EQ(sheet.status(), "");
    sheet.worksheet.setCaret(0, 18);
    sheet.press(VirtualKey::Enter);
    EXPECT_EQ(sheet.status(), "Result: 1000000000039");
}

TEST(LineProcessor, CaretMovesRunLinesSilentlyOrOnlyInTheStatusLine) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("fact x=12");
    sheet.logic.processLine(false, false);
    // All blanks are removed before "=" is looked for: the variable is "factx".
    EXPECT_EQ(sheet.engine.evaluateLine("factx"), Complex(12, 0));
    EXPECT_EQ(sheet.text(), "fact x=12");

    sheet.worksheet.setStatusText("before");
    sheet.worksheet.replaceAll("fact 12");
    sheet.logic.processLine(false, false); // evaluated as a whole; its error is not shown
    EXPECT_EQ(sheet.status(), "before");
}

TEST(LineProcessor, LastResultFollowsCompletedLines) {
    Sheet sheet;
    sheet.complete("6*7");
    EXPECT_EQ(sheet.logic.lastResult(), "42");
    sheet.complete("x=3");
    EXPECT_EQ(sheet.logic.lastResult(), "3");
    sheet.complete("1/0");
    EXPECT_EQ(sheet.logic.lastResult(), "");
}

TEST(LineProcessor, UntickedCheckBoxWritesNothingIntoTheWorksheet) {
    Sheet sheet;
    sheet.worksheet.setShowResultsInWorksheet(false);
    sheet.complete("1+2");
    EXPECT_EQ(sheet.text(), "1+2\n");
    EXPECT_EQ(sheet.status(), "Result: 3");
    EXPECT_EQ(sheet.logic.lastResult(), "3");
}

TEST(LineProcessor, ChangedVariablesRefreshTheList) {
    Sheet sheet;
    sheet.complete("a=1");
    EXPECT_EQ(sheet.variables.refreshes, 1);
    sheet.complete("a=1");
    EXPECT_EQ(sheet.variables.refreshes, 1);
    sheet.complete("b=0");
    EXPECT_EQ(sheet.variables.refreshes, 1);
    sheet.complete("a=2");
    EXPECT_EQ(sheet.variables.refreshes, 2);
}

TEST(LineProcessor, DisplayBases) {
    Sheet sheet;
    sheet.logic.setDisplayBase(DisplayBase::Hexadecimal);
    sheet.complete("255");
    EXPECT_EQ(sheet.status(), "Result: 0xFF");
    sheet.logic.setDisplayBase(DisplayBase::Binary);
    sheet.complete("5");
    EXPECT_EQ(sheet.status(), "Result: 0b 00000101");
    sheet.complete("1+1i");
    EXPECT_EQ(sheet.status(), "复数值错误");
}

TEST(LineProcessor, EnterInTheMiddleOfALineSplitsItAndRunsTheFirstHalf) {
    Sheet sheet;
    sheet.worksheet.insertAtCaret("1+2x=5");
    sheet.worksheet.setCaret(0, 3);
    sheet.press(VirtualKey::Enter);
    EXPECT_EQ(sheet.text(), "1+2\n3\nx=5");
}

TEST(LineProcessor, LinesOverTheLimitAreRefusedNotCut) {
    const std::string tooLong = "错误: 输入行太长,每行最多2047个字节(一个汉字占两个字节)";
    std::string sum = "x=1"; // 1101 ones, 2203 bytes
    for (int i = 1; i < 1101; ++i)
        sum += "+1";
    const std::string pad(2040, ' ');
    const struct {
        std::string line;
        std::string written; // below the line
        std::string status;
    } cases[] = {
        // "中" is two bytes in GBK (three in UTF-8): 2047 bytes, then one byte too many.
        {"1+1 #" + pad + "中", "2\n", "Result: 2"},
        {"1+1 #" + pad + " 中", "# " + tooLong + "\n", tooLong},
        {sum, "# " + tooLong + "\n", tooLong},
        {"  #" + pad + pad, "", ""}, // a comment is never evaluated, whatever its length
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.size());
        Sheet sheet;
        sheet.complete(c.line);
        EXPECT_EQ(sheet.text(), c.line + "\n" + c.written);
        EXPECT_EQ(sheet.status(), c.status);
        EXPECT_EQ(sheet.engine.variables().find("x"), nullptr);
    }
    // Passing over the line does not evaluate it either; arriving shows why.
    Sheet sheet;
    sheet.worksheet.insertAtCaret(sum);
    sheet.logic.processLine(false, false);
    EXPECT_EQ(sheet.engine.variables().find("x"), nullptr);
    sheet.logic.processLine(false, true);
    EXPECT_EQ(sheet.status(), tooLong);
    EXPECT_EQ(sheet.text(), sum);
}

} // namespace
} // namespace quillet::test
