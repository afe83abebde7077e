// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/utf8.h"
#include "tests/test_text.h"
#include "worksheet/text_codec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;
using Offsets = std::vector<std::size_t>;

using test::hex;
using test::kFffd;

// Encodes utf8 and checks the GBK bytes and the offset of the first unencodable character.
void expectEncoded(std::string_view utf8, std::string_view gbk,
                   std::optional<std::size_t> first = std::nullopt) {
    const EncodedText encoded = encodeGbk(utf8);
    EXPECT_EQ(hex(encoded.gbk), hex(gbk));
    EXPECT_EQ(encoded.firstUnencodable, first);
}

TEST(TextCodec, KnownTextsConvertBothWays) {
    const std::pair<std::string, std::string> texts[] = {
        {"x = 1\r\ny = 2\n", "x = 1\r\ny = 2\n"},
        {"\xB8\xB4\xCA\xFD\xD6\xB5\xB4\xED\xCE\xF3",
         "\xE5\xA4\x8D\xE6\x95\xB0\xE5\x80\xBC\xE9\x94\x99\xE8\xAF\xAF"},
        {"\x80", "\xE2\x82\xAC"}, // the euro sign is one byte
        {"\xBC\xDB\xB8\xF1\xA3\xBA\x80\x35",
         "\xE4\xBB\xB7\xE6\xA0\xBC\xEF\xBC\x9A\xE2\x82\xAC\x35"},
        {"a\0b"s, "a\0b"s},
        {"\x81\x80", "\xE4\xBA\x90"}, // 0x80 as a trail byte
    };
    for (const auto& [gbk, utf8] : texts) {
        SCOPED_TRACE(hex(gbk));
        for (const InvalidBytes mode : {InvalidBytes::Replace, InvalidBytes::Preserve}) {
            const DecodedText decoded = decodeGbk(gbk, mode);
            EXPECT_EQ(hex(decoded.utf8), hex(utf8));
            EXPECT_TRUE(decoded.invalidByteOffsets.empty());
        }
        expectEncoded(utf8, gbk);
    }
}

TEST(TextCodec, EveryMappedTwoByteCodeRoundTrips) {
    std::size_t mapped = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Replace);
            if (trail == 0x7F) { // never a trail byte: the lead byte alone is undecodable
                ASSERT_EQ(decoded.invalidByteOffsets, Offsets{0}) << hex(gbk);
                ASSERT_EQ(hex(decoded.utf8), hex(kFffd + "\x7F")) << hex(gbk);
            }
            if (!decoded.invalidByteOffsets.empty())
                continue;
            ++mapped;
            const EncodedText encoded = encodeGbk(decoded.utf8);
            ASSERT_EQ(hex(encoded.gbk), hex(gbk)) << "decoded as " << hex(decoded.utf8);
            ASSERT_FALSE(encoded.firstUnencodable.has_value()) << hex(gbk);
        }
    }
    EXPECT_EQ(mapped, 21791U); // the two-byte codes the code page defines
}

TEST(TextCodec, UndecodableBytesAreReplacedOrPreservedOneByOne) {
    const std::tuple<std::string, std::string, std::string, Offsets> cases[] = {
        // GBK, decoded in Replace mode, in Preserve mode, offsets of the undecodable bytes
        {"a\xFFz", "a" + kFffd + "z", "a\xEF\x9F\xBFz", {1}},
        {"az\xB8", "az" + kFffd, "az\xEF\x9E\xB8", {2}},       // a lead byte at the end
        {"\xB8+1", kFffd + "+1", "\xEF\x9E\xB8+1", {0}},       // ASCII that is no trail byte
        {"\xB8\r\n", kFffd + "\r\n", "\xEF\x9E\xB8\r\n", {0}}, // CR LF is no trail byte
        {"\xB8\xFF", kFffd + kFffd, "\xEF\x9E\xB8\xEF\x9F\xBF", {0, 1}},
        {"\xA1@", kFffd + "@", "\xEF\x9E\xA1@", {0}}, // a well-formed but unmapped pair
        {"\xFF\xB8\xB4", kFffd + "\xE5\xA4\x8D", "\xEF\x9F\xBF\xE5\xA4\x8D", {0}}, // then a pair
        {"\xFE\xFF\xFF", kFffd + kFffd + kFffd, "\xEF\x9F\xBE\xEF\x9F\xBF\xEF\x9F\xBF", {0, 1, 2}},
    };
    for (const auto& [gbk, replaced, preserved, offsets] : cases) {
        SCOPED_TRACE(hex(gbk));
        const DecodedText replacing = decodeGbk(gbk, InvalidBytes::Replace);
        const DecodedText preserving = decodeGbk(gbk, InvalidBytes::Preserve);
        EXPECT_EQ(hex(replacing.utf8), hex(replaced));
        EXPECT_EQ(hex(preserving.utf8), hex(preserved));
        EXPECT_TRUE(replacing.invalidByteOffsets == offsets &&
                    preserving.invalidByteOffsets == offsets);
        expectEncoded(preserving.utf8, gbk);
    }
}

TEST(TextCodec, LongInputDecodesTheSameAsItsParts) {
    // Long inputs are decoded in pieces: a pair straddling a piece boundary must come out whole.
    for (const std::size_t asciiRun : {4095u, 65535u, 65536u}) {
        SCOPED_TRACE(asciiRun);
        std::string gbk(asciiRun, 'a'), utf8(asciiRun, 'a');
        for (int repeat = 0; repeat < 40000; ++repeat) {
            gbk += "\xB8\xB4";
            utf8 += "\xE5\xA4\x8D";
        }
        const DecodedText decoded = decodeGbk(gbk + "\xFF", InvalidBytes::Preserve);
        EXPECT_TRUE(decoded.utf8 == utf8 + "\xEF\x9F\xBF");
        EXPECT_EQ(decoded.invalidByteOffsets, Offsets{gbk.size()});
        EXPECT_TRUE(encodeGbk(decoded.utf8).gbk == gbk + "\xFF");
    }
}

TEST(TextCodec, UnencodableCharactersBecomeQuestionMarksAndAreReported) {
    const std::tuple<std::string, std::string, std::size_t> cases[] = {
        // UTF-8, GBK, offset of the first unencodable character or invalid byte
        {"ok \xF0\x9F\x98\x80!", "ok ?!", 3},                      // emoji
        {"\xE5\xA4\x8Dz" + kFffd, "\xB8\xB4z?", 4},                // U+FFFD itself
        {"\xE5\xA4\x8D\xF0\x9F\x98\x80" + kFffd, "\xB8\xB4??", 3}, // the first of several
        {"ma\xC3\x9Fs", "ma?s", 2},                                // outside the code page
        {"a\xFFz", "a?z", 1},                                      // invalid lead byte
        {"a\xE5\xA4", "a??", 1},                                   // truncated sequence
        {"\xED\xA0\x80", "???", 0},                                // encoded surrogate
        {"\xC0\xAF", "??", 0},                                     // overlong slash
        {"\xEF\x9E\x80", "?", 0}, // private use next to the preserved range
    };
    for (const auto& [utf8, gbk, first] : cases)
        expectEncoded(utf8, gbk, first);
}

TEST(TextCodec, PreservedByteCodePointsEncodeToTheirRawByte) {
    for (char32_t codePoint = kPreservedByteFirst; codePoint <= kPreservedByteLast; ++codePoint) {
        std::string utf8;
        utf8::append(utf8, codePoint);
        expectEncoded(utf8, std::string(1, static_cast<char>(codePoint - 0xF700)));
    }
}

} // namespace
} // namespace quillet
