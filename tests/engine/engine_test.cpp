// SPDX-License-Identifier: GPL-3.0-or-later
// What the worksheet transcripts cannot state: the random generator bit for bit, nesting
// deeper than a line can hold, numbers under another locale, and UTF-8 checking byte by
// byte.
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "tests/test_text.h"
#include "worksheet/number_text.h"
#include "worksheet/result_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using test::kFffd, test::repeat;

// Draws 1, 2, 55 and 500 after seeding, and rnd's scaling of two draws, the imaginary part's
// factor first.
TEST(Random, SequenceFollowsTheSeedBitForBitAndRndScalesTwoDraws) {
    const std::pair<std::uint32_t, std::vector<std::uint32_t>> cases[] = {
        {0, {2795896711, 655486403, 1221627406, 2842188299}},
        {1, {110699199, 634934798, 1535826474, 1962646870}},
        {12345, {2484058794, 1182156993, 3360809188, 3275251637}},
        {65731, {2712805057, 566575972, 3310219917, 1403595428}},
        {1765096303, {4100138699, 3704387781, 2979325215, 3683169816}},
        {0xFFFFFFFF, {2969986582, 3113054881, 3741196125, 3065054120}},
    };
    for (const auto& [seed, expected] : cases) {
        ExpressionEngine engine;
        engine.seedRandom(seed);
        std::vector<std::uint32_t> draws;
        for (int i = 1; i <= 500; ++i)
            if (const std::uint32_t draw = engine.nextRandom(); i <= 2 || i == 55 || i == 500)
                draws.push_back(draw);
        EXPECT_EQ(draws, expected) << seed;
    }
    ExpressionEngine engine; // draws 1 to 4 after seed 99: 2646611737, 89267069, -, 518690623
    engine.seedRandom(99);
    EXPECT_EQ(engine.evaluateLine("rnd(6+2i)"),
              Complex(6.0 * 89267069 / 4294967295.0, 2.0 * 2646611737 / 4294967295.0));
    EXPECT_EQ(engine.evaluateLine("rnd(1)").real(), 518690623 / 4294967295.0);
}

TEST(Nesting, WhatFitsALineIsEvaluatedDeeperIsRefused) {
    ExpressionEngine engine;
    // 1023 pairs of parentheses are the deepest a 2047-byte line can hold.
    EXPECT_EQ(engine.evaluateLine(repeat("(", 1023) + "1" + repeat(")", 1023)), Complex(1, 0));
    EXPECT_EQ(engine.evaluateLine("1" + repeat("+1", 1023)), Complex(1024, 0));
    EXPECT_EQ(engine.evaluateLine(repeat("sin(", 400) + "0" + repeat(")", 400)), Complex(0, 0));
    EXPECT_EQ(engine.evaluateLine(repeat("-(", 680) + "1" + repeat(")", 680)), Complex(1, 0));
    EXPECT_EQ(engine.evaluateLine(std::string_view("1+2\0+5", 6)), Complex(3, 0));
    const std::string tooDeep = "表达式嵌套过深,请减少括号或函数的层数";
    const std::pair<std::string, std::string> cases[] = {
        {repeat("(", 2047), "您的输入缺少')'"},
        {repeat("(", 2499) + "1" + repeat(")", 2499), tooDeep},
        {"1" + repeat("+1", 2499), tooDeep},
        {repeat("sin(", 1249) + "0" + repeat(")", 1249), tooDeep}};
    for (const auto& [line, message] : cases) {
        try {
            engine.evaluateLine(line);
            ADD_FAILURE() << "no error";
        } catch (const CalcError& error) {
            EXPECT_EQ(error.message(), message);
        }
        // The depth count is restored after an error.
        EXPECT_EQ(engine.evaluateLine(repeat("(", 1000) + "2" + repeat(")", 1000)), Complex(2, 0));
    }
}

TEST(Locale, NumbersAreReadAndWrittenTheSameUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    ExpressionEngine engine;
    EXPECT_EQ(formatComplex(engine.evaluateLine("1.5+1/3"), 12), "1.83333333333");
    EXPECT_EQ(formatComplex(engine.evaluateLine("1e400-2.5e-400"), 12), "inf");
    EXPECT_EQ(formatGeneralPadded(1.5, 3, 9), "      1.5");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Utf8, EachInvalidByteIsReplacedAndReported) {
    using Offsets = std::vector<std::size_t>;
    const std::string f2 = kFffd + kFffd, f3 = f2 + kFffd;
    const std::tuple<std::string, std::string, Offsets> cases[] = {
        {"a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80", "a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80", {}},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", {}}, // the highest code point
        {"a\x80z", "a" + kFffd + "z", {1}},           // a stray continuation byte
        {"\xC1\xBF", f2, {0, 1}},                     // overlong forms
        {"\xE0\x9F\xBF", f3, {0, 1, 2}},
        {"\xED\xBF\xBF", f3, {0, 1, 2}},                // an encoded surrogate
        {"\xF4\x90\x80\x80", f3 + kFffd, {0, 1, 2, 3}}, // above U+10FFFF
        {"x\xF0\x9F\x98", "x" + f3, {1, 2, 3}},         // truncated at the end
        {"0123456789\xFF", "0123456789" + kFffd, {10}}, // after a run of ASCII
    };
    for (const auto& [input, sanitized, offsets] : cases) {
        SCOPED_TRACE(testing::PrintToString(input));
        std::string appended;
        EXPECT_EQ(utf8::appendSanitized(appended, input, input.size()), input.size());
        EXPECT_EQ(appended, sanitized);
        Offsets reported;
        EXPECT_EQ(utf8::sanitized(input, reported), sanitized);
        EXPECT_EQ(reported, offsets);
        EXPECT_EQ(utf8::isValid(input), offsets.empty());
    }
}

} // namespace
} // namespace quillet
