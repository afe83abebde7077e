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

using test::kFffd;
using test::repeat;

// An independent rendering of the generator's rules in 64-bit arithmetic.
std::vector<std::uint64_t> referenceDraws(std::uint64_t seed, int count) {
    std::uint64_t s1 = seed % 65731, s2 = seed % 65609, table[55];
    const auto mix = [&] {
        s1 = (s1 * 1821 + 1) % 65731;
        s2 = (s2 * 1421 + 1) % 65609;
        return ((s1 << 16) & 0xFFFFFFFFu) ^ s2;
    };
    for (int i = 0; i < 99; ++i)
        mix();
    for (auto& entry : table)
        entry = mix();
    std::size_t index = 0;
    std::vector<std::uint64_t> draws;
    for (int i = 0; i < 99 + count; ++i) {
        index = (index + 1) % 55;
        table[index] = (table[(index + 23) % 55] + table[(index + 54) % 55]) & 0xFFFFFFFFu;
        if (i >= 99)
            draws.push_back(table[index]);
    }
    return draws;
}

TEST(Random, SequenceFollowsTheSeedBitForBitAndRndScalesTwoDraws) {
    for (const std::uint32_t seed : {0u, 1u, 12345u, 65731u, 1765096303u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(seed);
        ExpressionEngine engine;
        engine.seedRandom(seed);
        for (const auto expected : referenceDraws(seed, 500))
            ASSERT_EQ(engine.nextRandom(), expected);
    }
    // rnd draws the imaginary part's factor first.
    ExpressionEngine engine;
    engine.seedRandom(99);
    const auto draws = referenceDraws(99, 4);
    const Complex value = engine.evaluateLine("rnd(6+2i)");
    EXPECT_EQ(value.real(), 6.0 * static_cast<double>(draws[1]) / 4294967295.0);
    EXPECT_EQ(value.imag(), 2.0 * static_cast<double>(draws[0]) / 4294967295.0);
    EXPECT_EQ(engine.evaluateLine("rnd(1)").real(), static_cast<double>(draws[3]) / 4294967295.0);
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
