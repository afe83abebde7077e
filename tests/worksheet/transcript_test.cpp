// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheet transcripts: lines typed one after another into a fresh worksheet, each with what
// Enter writes below it and shows in the status line. The engine's and the line processor's
// behaviour is stated here once.
#include "graphs/worksheet_session.h"
#include "tests/test_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quillet {
namespace {

using test::repeat;

std::string unknown(std::string_view run) {
    return "# 无法识别的输入'" + std::string(run) + "',请查阅帮助获取程序支持的运算符";
}
const std::string kMissing = " => # 无法识别的输入,请查阅帮助获取程序支持的运算符";

class Transcript : public testing::Test {
protected:
    // Rows are separated by "; ". Each row is "line => written | status": the line typed and
    // completed with Enter, the line written below it (none when empty; "?x" for the message
    // that x is unrecognised) and, when given, the status line; else "Result: " and the
    // result, or the message.
    void type(std::initializer_list<std::string> texts) {
        for (const std::string& text : texts)
            for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 2) {
                end = text.find("; ", start);
                typeRow(text.substr(start, end - start));
            }
    }
    void typeRow(const std::string& row) {
        SCOPED_TRACE(row.substr(0, 60));
        const std::size_t arrow = row.find(" => "), bar = row.find('|', arrow);
        ASSERT_NE(arrow, std::string::npos);
        const std::string line = row.substr(0, arrow);
        std::string written = row.substr(arrow + 4, bar - std::min(bar, arrow + 5)); // " |"
        if (written.starts_with("?"))
            written = unknown(written.substr(1));
        const std::string before = session.text();
        session.worksheet().setStatusText("before");
        session.completeLine(line);
        EXPECT_EQ(session.text(), before + line + "\n" + written + (written.empty() ? "" : "\n"));
        const std::string status = bar != std::string::npos
                                       ? row.substr(std::min(bar + 2, row.size()))
                                   : written.starts_with("# ") ? written.substr(2)
                                                               : "Result: " + written;
        EXPECT_EQ(session.status(), status);
    }
    WorksheetSession session;
};

TEST_F(Transcript, LiteralsAndOperators) {
    type({"3 + 4i => 3 + 4i; 1e3i => 0 + 1000i; .5 => 0.5; 5. => 5; 2e => 2; 2e+ => 2; 1.e3 => "
          "1000; 1 000 => 1000; 1E-2 => 0.01; . => 0; 007 => 7; 1e400 => inf; 1e-400 => 0; "
          "4.9e-324 => 4.94065645841e-324; 0x1F => 31; 0XFFFFFFFF => -1; 0x80000000 => "
          "-2147483648; 0x7fffffff => 2147483647; 0x => 0; 0x123456789 => 591751049; 0b101 => 5; "
          "0b => 0; 0B11 => 3",
          "0b" + repeat("1", 32) + " => -1", "0b1" + repeat("0", 31) + "1 => 1",
          "pi => 3.14159265359; PI*Pi => 9.86960440109; 2*e => 5.43656365692; s in( 30 ) => 0.5"});
    type({"i => ?i; E => ?E; sqrt(4) => ?sqrt(4; foo(1) => ?foo(1; 2.5.3 => ?.; 0x1g => ?g; 1e5j "
          "=> ?j; 0x1i => ?i; 2pi => ?p; 5! => ?!; pi(1) => ?pi(1; e2 => ?e2; 5中 => ?中; 中文 => "
          "?中文; 5\xff => ?\uFFFD; \xe4\xb8 => ?\uFFFD\uFFFD",
          repeat("中", 150) + " => " + unknown(repeat("中", 99)),
          repeat("q", 300) + " => " + unknown(repeat("q", 99))});
    type({"8/2/2 => 2; 2*3%4 => 2; -2*3 => -6; 2*-3 => -6; --3 => 3; 2--3 => 5; 1+2*3 => 7; -7%3 "
          "=> -1; 7%-3 => 1; +-+5 => -5; 2*(3+4) => 14; ((2)) => 2; 7.5%2 => 1.5; 2-1-1 => 0; "
          "1e16-1e16+1 => 0; 1+1e16-1e16 => 1; 1-2+3 => 2; -0 => -0; sqr(-4) => 0 - 2i; "
          "(3+4i)/(3+4i) => 1; ln(-1) => 0 - 3.14159265359i; (1+2i)*(3+4i) => -5 + 10i"});
    type({"5/0 => # Division by Zero; 5%0 => # Division by Zero; 0/0 => # Division by Zero; "
          "5/(0*1i) => # Division by Zero; 5%1i => # 复数值错误; 1i%5 => # 复数值错误; (1+2 => # "
          "您的输入缺少')'; (1+2)) => ?)",
          "5+" + kMissing, "5*" + kMissing, "()" + kMissing, "sin()" + kMissing,
          "max(,2)" + kMissing,
          "max(1) => # 您的输入缺少','; 2(3) => ?(; max(1,2,3) => ?,; sin(1,2) => ?,"});
}

TEST_F(Transcript, FunctionsInDegreesThenRadians) {
    type({"sin(30) => 0.5; cos(180) => -1; tan(45) => 1; asin(0.5) => 30; acos(0) => 90; atan(1) "
          "=> 45; SIN(30)-Sin(30) => 0; sinh(90) => 2.30129890231; cosh(90) => 2.50917847866; "
          "tanh(90) => 0.917152335667; pol(2,90) => 1.22464679915e-16 + 2i; abs(3+4i) => 5; "
          "norm(3+4i) => 25; sqr(9) => 3; sqrn(8,3) => 2; sqrn(4,0) => inf; pow(2,10) => 1024; "
          "exp(0) => 1; ln(e) => 1; log(1000) => 3; re(3+4i) => 3; im(3+4i) => 4; int(-2.7) => -2; "
          "int(2.7) => 2; max(max(1,5),min(3,4)) => 5; max(-0,0) => -0; min(0,-0) => 0; !(5) => "
          "120; !(3.7) => 6; !(0) => 1; !(0.5) => 1; !(171) => inf; !(1e15) => inf; !(170) => "
          "7.25741561531e+306; !(1e400) => inf; asin(2) => nan; -asin(2) => -nan; !(asin(2)) => 1; "
          "sin(1i) => 0 + 0.0174541786296i; exp(1i*pi) => -1 + 1.22464679915e-16i"});
    type({"asin(1+1i) => # 复数值错误; max(1+1i,2) => # 复数值错误; tan(1i) => # 复数值错误; !(1i) "
          "=> # 复数值错误; cpx(1i,2) => # 复数值错误; sqrn(2,1i) => # 复数值错误; pol(1,1i) => # "
          "复数值错误; !(-1) => # Factorial do not handle negative values"});
    // cpx(a,b) is 1 when a <= x < b; it creates x.
    type({"cpx(0,1) => 1; x=1 => | Result: 1; cpx(0,1) => 0; cpx(1,2) => 1; cpx(1.5,2) => 0"});
    session.engine().setDegrees(false);
    type({"sin(pi/6) => 0.5; asin(1) => 1.57079632679; sinh(1) => 1.17520119364; pol(2,pi/2) => "
          "1.22464679915e-16 + 2i"});
}

TEST_F(Transcript, VariablesAndBadNamesThatStoreNothing) {
    const std::string alpha = "# Variable must begin with alpha";
    const std::string alnum = "# A non alphanumeric value in variable";
    const std::string reserved = "# e和pi是程序的保留字,不能作为变量名";
    type({"1x=5 => " + alpha, "=5 => " + alpha, "中=5 => " + alpha, "1=2 => " + alpha,
          "x_1=5 => " + alnum, "a中=5 => " + alnum, "pi=3 => " + reserved, "PI=3 => " + reserved,
          "e=1 => " + reserved, "1x=1/0 => # Division by Zero; a=b=3 => ?b=3"});
    EXPECT_TRUE(session.engine().variables().empty());
    type({"r = 2.5 => | Result: 2.5; r=2.5 => | Result: 2.5; n=0 => | Result: 0"});
    EXPECT_EQ(session.variableListRefreshes(), 1); // only a changed value rebuilds the list
    type(
        {"r*2 => 5; n => 0; R => ?R; a=2 => | Result: 2; ab => ?b; ab=3 => | Result: 3; a*ab => 6; "
         "y=7 => | Result: 7; y=1/0 => # Division by Zero; y => 7; b=1 => | Result: 1; a=b=3 => "
         "?=; a => 2; Pi=3 => | Result: 3; Pi => 3; PI => 3.14159265359; p=2 => | Result: 2; pi => "
         "?i; sin=5 => | Result: 5; sin*sin(30) => 2.5; z=3+4i => | Result: 3 + 4i; re(z) => 3"});
    EXPECT_EQ(session.engine().variables().size(), 10u);
    type({"precision 3 => # precision is set to 3"}); // the values are shown anew
    EXPECT_EQ(session.variableListRefreshes(), 10);
}

TEST_F(Transcript, CommentsBlanksAndCommands) {
    type({"1+2 => 3;     => | before;  => | before;   # note => |; # Division by Zero => |;   x = "
          "2 # note => | Result: 2; 3 # 1/0 => 3; cls # c => ?cls; cls  => ?cls; fxclr => |; "
          "0.1+0.2 => 0.3; fact 360 => 2 * 2 * 2 * 3 * 3 * 5; fact 2*3 => 2 * 3; fact -5 => 0; "
          "fact => 0; fact 1 => 1; fact 12 34 => 2 * 2 * 3; fact 1i => # 复数值错误; fact 1e300 => "
          "0; fact 999999999999999989 => 999999999999999989; fact 1234567890123456789 => # Max 18 "
          "digits; fact 1000000000039 => 1000000000039; precision 4 => # precision is set to 4; "
          "1/3 => 0.3333; precision 0 => # precision is set to 0; 1/3 => 0.333333"});
    for (const char* clear : {"cls", "  CLR"}) {
        session.completeLine(clear);
        EXPECT_EQ(session.text() + session.status(), "");
    }
}

TEST_F(Transcript, FunctionDefinitions) {
    const std::string slot = "# 错误: FX?中,'?'的值只能从0到9";
    type({"fx => " + slot, "fxa x => " + slot, "fx12 x => " + slot, "fx1 => " + slot,
          "  Fx0 -1, 1, x*x # c => | F(x) OK!"});
    EXPECT_EQ(session.graphs().graphTitle(), "y = x*x     F(x)的定积分 = 0.668004");
    type({"FX3 x*x => | F(x) OK!; fx1 sqr(x) => # 复数值错误; 1 => 1"});
    EXPECT_TRUE(session.graphs().slot(3).shown());
    type({"fxclr => |"});
    EXPECT_EQ(session.graphs().graphTitle(), "");
}

// Sampling leaves x as it was, or creates it as 0; a complex x fails before anything is
// evaluated, or rnd would draw from the generator (its first draw is 0.1526...).
TEST_F(Transcript, DefinitionsLeaveTheVariableXAsItWas) {
    type(
        {"fx0 -1,1,sqr(x) => # 复数值错误; x => 0; x=5 => | Result: 5; fx0 0,1,sqr(x-0.5) => # "
         "复数值错误; x => 5; fx0 0,1,1/0 => # Division by Zero; x => 5; x=2i => | Result: 0 + 2i; "
         "fx0 0,1,rnd(1) => # 复数值错误; x => 0 + 2i; rnd(1) => 0.152617321152"});
}

TEST_F(Transcript, PrecisionIsClampedAndEveryPrecisionFormatsPiAndPointThree) {
    const std::string pi = "3.14159 3 3.1 3.14 3.142 3.1416 3.14159 3.141593 3.1415927 3.14159265 "
                           "3.141592654 3.1415926536 3.14159265359 3.14159265359 3.1415926535898 "
                           "3.14159265358979";
    type({"1e20 => 1e+20; 1099511627776 => 1.09951162778e+12; 1e-5 => 1e-05; 1073741824 => "
          "1073741824; -1-2i => -1 - 2i; 1i => 0 + 1i; -1e400 => -inf; 1+1e400i => 1 + infi; 3-0i "
          "=> 3"});
    std::istringstream digits(pi);
    std::string expected;
    for (int precision = 0; digits >> expected; ++precision) {
        session.completeLine("precision " + std::to_string(precision));
        type({"pi => " + expected, "0.1+0.2 => 0.3"});
    }
    const std::string set = " => # precision is set to ";
    type({"precision 1/0*0 => # Division by Zero; 1/3 => 0.333333333333333; precision 20" + set +
          "15; precision -1" + set + "15; precision 0" + set + "0; precision" + set +
          "0; PRECISION 3.9" + set + "3; precision 1e300" + set + "15; precision -1e300" + set +
          "15; precision 4294967299" + set + "3; precision 0x7" + set + "7; pi => 3.141593"});
}

TEST_F(Transcript, HexadecimalAndBinaryShowTheLow32BitsOfTheTruncatedValue) {
    session.logic().setDisplayBase(DisplayBase::Hexadecimal);
    type({"5 => 0x5; 255.9 => 0xFF; 256 => 0x100; 65535 => 0xFFFF; 65536 => 0x10000; 0 => 0x0; "
          "-1 => 0xFFFFFFFF; -2.9 => 0xFFFFFFFE; 4294967296 => 0x0; 4294967301 => 0x5; "
          "1e300 => 0x0; asin(2) => 0x0; -1e400 => 0x0; 1+1i => # 复数值错误"});
    session.logic().setDisplayBase(DisplayBase::Binary);
    type({"5 => 0b 00000101; 0 => 0b 00000000; 256 => 0b 00000001 00000000; 4294967301 => 0b "
          "00000101; 65536 => 0b 00000000 00000001 00000000 00000000; -2.9 => 0b 11111111 11111111 "
          "11111111 11111110; asin(2) => 0b 00000000; 1+1i => # 复数值错误"});
}

TEST_F(Transcript, LinesOverTheLimitAreRefusedNotCut) {
    const std::string tooLong = "# 错误: 输入行太长,每行最多2047个字节(一个汉字占两个字节)";
    const std::string pad(2040, ' ');
    // "中" is two bytes in GBK (three in UTF-8): 2047 bytes, then one byte too many.
    type({"1+1 #" + pad + "中 => 2", "x=1 #" + pad + " 中 => " + tooLong,
          "x=1" + repeat("+1", 1100) + " => " + tooLong, "  #" + pad + pad + " => |"});
    EXPECT_TRUE(session.engine().variables().empty());
}

TEST_F(Transcript, CaretMovesRunTheLineLeftSilentlyAndTheLineReachedIntoTheStatus) {
    const std::string text = "10*2\nr=7\nfact x=12\nfact 1000000000039\nfx5 x\ncls";
    session.worksheet().insertAtCaret(text);
    // Clearing commands and large factorisations wait for Enter; a definition is not shown.
    const char* statuses[] = {"Result: 20", "Result: 7", "Result: 2 * 2 * 3", "", ""};
    for (int line = 4; line >= 0; --line) {
        session.worksheet().setStatusText("before");
        session.moveCaret(VirtualKey::Up, line);
        EXPECT_EQ(session.status(), statuses[line]) << line;
    }
    session.logic().keyPressed(VirtualKey::Down); // "10*2" is left silently
    EXPECT_EQ(session.status(), "Result: 20");
    EXPECT_EQ(session.text(), text);
    EXPECT_FALSE(session.graphs().slot(5).shown());
    // All blanks go before "=" is looked for: leaving "fact x=12" sets "factx".
    EXPECT_NE(session.engine().variables().find("factx"), nullptr);
    EXPECT_EQ(session.engine().variables().size(), 3u); // r, x and factx
}

TEST_F(Transcript, EnterInTheMiddleOfALineSplitsItAndRunsTheFirstHalf) {
    session.worksheet().insertAtCaret("1+2x=5");
    session.worksheet().setCaret(0, 3);
    session.pressEnter();
    EXPECT_EQ(session.text(), "1+2\n3\nx=5");
}

TEST_F(Transcript, InsertPastesTheLastResultUnlessShiftOrCtrlIsHeld) {
    session.completeLine("6*7");
    EXPECT_TRUE(session.logic().keyPressed(VirtualKey::Insert));
    for (const VirtualKey modifier : {VirtualKey::Shift, VirtualKey::Ctrl}) {
        session.logic().keyPressed(modifier);
        EXPECT_FALSE(session.logic().keyPressed(VirtualKey::Insert));
        session.logic().keyReleased(modifier);
    }
    session.pressEnter(); // "42" runs again
    session.completeLine("1/0");
    session.logic().keyPressed(VirtualKey::Insert);
    EXPECT_EQ(session.text(), "6*7\n42\n42\n42\n1/0\n# Division by Zero\n");
}

} // namespace
} // namespace quillet
