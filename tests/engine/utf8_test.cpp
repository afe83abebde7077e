// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/utf8.h"
#include "tests/byte_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using test::hex;
using test::kFffd;

TEST(Utf8, EachInvalidByteIsReplacedAndReported) {
    using Offsets = std::vector<std::size_t>;
    const std::tuple<std::string, std::string, Offsets> cases[] = {
        {"a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80", "a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80", {}},
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", {}}, // the highest code point
        {"a\x80z", "a" + kFffd + "z", {1}},           // a stray continuation byte
        {"\xC1\xBF", kFffd + kFffd, {0, 1}},          // overlong forms
        {"\xE0\x9F\xBF", kFffd + kFffd + kFffd, {0, 1, 2}},
        {"\xED\xBF\xBF", kFffd + kFffd + kFffd, {0, 1, 2}},                // an encoded surrogate
        {"\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd, {0, 1, 2, 3}}, // above U+10FFFF
        {"x\xF0\x9F\x98", "x" + kFffd + kFffd + kFffd, {1, 2, 3}},         // truncated at the end
        {"0123456789\xFF", "0123456789" + kFffd, {10}},                    // after a run of ASCII
    };
    for (const auto& [input, sanitized, offsets] : cases) {
        SCOPED_TRACE(hex(input));
        std::string appended;
        EXPECT_EQ(utf8::appendSanitized(appended, input, input.size()), input.size());
        EXPECT_EQ(hex(appended), hex(sanitized));
        Offsets reported;
        EXPECT_EQ(hex(utf8::sanitized(input, reported)), hex(sanitized));
        EXPECT_EQ(reported, offsets);
        EXPECT_EQ(utf8::isValid(input), offsets.empty());
    }
}

} // namespace
} // namespace quillet
