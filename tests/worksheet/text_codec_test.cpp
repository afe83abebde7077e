#include "worksheet/text_codec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;

// Renders bytes as hex so that failures show exactly which bytes differ.
std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 0xF]);
        out.push_back(' ');
    }
    return out;
}

struct TextPair {
    const char* name;
    std::string gbk;
    std::string utf8;
};

const std::vector<TextPair>& knownTexts() {
    static const std::vector<TextPair> texts = {
        {"ascii with CR LF", "x = 1\r\ny = 2\n", "x = 1\r\ny = 2\n"},
        {"complex value error", "\xB8\xB4\xCA\xFD\xD6\xB5\xB4\xED\xCE\xF3",
         "\xE5\xA4\x8D\xE6\x95\xB0\xE5\x80\xBC\xE9\x94\x99\xE8\xAF\xAF"},
        {"unrecognised input", "\xCE\xDE\xB7\xA8\xCA\xB6\xB1\xF0\xB5\xC4\xCA\xE4\xC8\xEB",
         "\xE6\x97\xA0\xE6\xB3\x95\xE8\xAF\x86\xE5\x88\xAB\xE7\x9A\x84\xE8\xBE\x93\xE5\x85\xA5"},
        {"argument range", "\xD7\xD4\xB1\xE4\xC1\xBF\xB7\xB6\xCE\xA7",
         "\xE8\x87\xAA\xE5\x8F\x98\xE9\x87\x8F\xE8\x8C\x83\xE5\x9B\xB4"},
        {"euro sign", "\x80", "\xE2\x82\xAC"},
        {"price with fullwidth colon and euro", "\xBC\xDB\xB8\xF1\xA3\xBA\x80\x35",
         "\xE4\xBB\xB7\xE6\xA0\xBC\xEF\xBC\x9A\xE2\x82\xAC\x35"},
        {"mixed lines", "a=\xB8\xB4\xCA\xFD\r\nb=2\r\n", "a=\xE5\xA4\x8D\xE6\x95\xB0\r\nb=2\r\n"},
        {"NUL byte", "a\0b"s, "a\0b"s},
        {"trail byte 0x80", "\x81\x80", "\xE4\xBA\x90"},
    };
    return texts;
}

TEST(TextCodecTest, DecodesKnownGbkText) {
    for (const TextPair& text : knownTexts()) {
        SCOPED_TRACE(text.name);
        for (const InvalidBytes mode : {InvalidBytes::Replace, InvalidBytes::Preserve}) {
            const DecodedText decoded = decodeGbk(text.gbk, mode);
            EXPECT_EQ(hex(decoded.utf8), hex(text.utf8));
            EXPECT_TRUE(decoded.invalidByteOffsets.empty());
        }
    }
}

TEST(TextCodecTest, EncodesKnownUtf8Text) {
    for (const TextPair& text : knownTexts()) {
        SCOPED_TRACE(text.name);
        const EncodedText encoded = encodeGbk(text.utf8);
        EXPECT_EQ(hex(encoded.gbk), hex(text.gbk));
        EXPECT_FALSE(encoded.firstUnencodable.has_value());
    }
}

TEST(TextCodecTest, EveryMappedTwoByteCodeRoundTrips) {
    std::size_t mapped = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Replace);
            if (!decoded.invalidByteOffsets.empty())
                continue;
            ++mapped;
            const EncodedText encoded = encodeGbk(decoded.utf8);
            ASSERT_EQ(hex(encoded.gbk), hex(gbk)) << "decoded as " << hex(decoded.utf8);
            ASSERT_FALSE(encoded.firstUnencodable.has_value()) << hex(gbk);
        }
    }
    // Number of two-byte codes the code page defines.
    EXPECT_EQ(mapped, 21791U);
}

TEST(TextCodecTest, TrailByte7FIsNeverPartOfACharacter) {
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        const std::string gbk{static_cast<char>(lead), '\x7F'};
        const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Replace);
        ASSERT_EQ(decoded.invalidByteOffsets, std::vector<std::size_t>{0}) << hex(gbk);
        ASSERT_EQ(hex(decoded.utf8), hex("\xEF\xBF\xBD\x7F")) << hex(gbk);
    }
}

struct InvalidCase {
    const char* name;
    std::string gbk;
    std::string replaced;  // decoded in Replace mode
    std::string preserved; // decoded in Preserve mode
    std::vector<std::size_t> offsets;
};

TEST(TextCodecTest, UndecodableBytesAreReplacedOrPreservedOneByOne) {
    const std::string fffd = "\xEF\xBF\xBD";
    const std::vector<InvalidCase> cases = {
        {"byte 0xFF",
         "a\xFF"
         "b",
         "a" + fffd + "b",
         "a\xEF\x9F\xBF"
         "b",
         {1}},
        {"lone lead byte at the end", "ab\xB8", "ab" + fffd, "ab\xEF\x9E\xB8", {2}},
        {"lead byte before ASCII that is no trail",
         "\xB8"
         "1+2",
         fffd + "1+2",
         "\xEF\x9E\xB8"
         "1+2",
         {0}},
        {"lead byte before CR LF", "\xB8\r\n", fffd + "\r\n", "\xEF\x9E\xB8\r\n", {0}},
        {"lead byte before 0xFF", "\xB8\xFF", fffd + fffd, "\xEF\x9E\xB8\xEF\x9F\xBF", {0, 1}},
        // A1 40 is a well-formed but unmapped pair; the 0x40 is then '@'.
        {"unmapped pair", "\xA1\x40", fffd + "@", "\xEF\x9E\xA1@", {0}},
        // After the bad lead byte the next byte starts a valid pair of its own.
        {"bad lead followed by a character",
         "\xFF\xB8\xB4",
         fffd + "\xE5\xA4\x8D",
         "\xEF\x9F\xBF\xE5\xA4\x8D",
         {0}},
        {"only bad bytes",
         "\xFE\xFF\xFF",
         fffd + fffd + fffd,
         "\xEF\x9F\xBE\xEF\x9F\xBF\xEF\x9F\xBF",
         {0, 1, 2}},
    };
    for (const InvalidCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedText replaced = decodeGbk(c.gbk, InvalidBytes::Replace);
        EXPECT_EQ(hex(replaced.utf8), hex(c.replaced));
        EXPECT_EQ(replaced.invalidByteOffsets, c.offsets);

        const DecodedText preserved = decodeGbk(c.gbk, InvalidBytes::Preserve);
        EXPECT_EQ(hex(preserved.utf8), hex(c.preserved));
        EXPECT_EQ(preserved.invalidByteOffsets, c.offsets);

        const EncodedText reencoded = encodeGbk(preserved.utf8);
        EXPECT_EQ(hex(reencoded.gbk), hex(c.gbk));
        EXPECT_FALSE(reencoded.firstUnencodable.has_value());
    }
}

TEST(TextCodecTest, PreserveModeRoundTripsRandomBytes) {
    std::mt19937 rng(20240607);
    // Mostly high bytes so that lead/trail combinations of every kind occur.
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> highByte(0x80, 0xFF);
    std::uniform_int_distribution<int> length(0, 64);
    std::bernoulli_distribution pickHigh(0.75);
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string gbk(static_cast<std::size_t>(length(rng)), '\0');
        for (char& c : gbk)
            c = static_cast<char>(pickHigh(rng) ? highByte(rng) : anyByte(rng));
        const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Preserve);
        ASSERT_EQ(sanitizeUtf8(decoded.utf8), decoded.utf8) << hex(gbk);
        const EncodedText encoded = encodeGbk(decoded.utf8);
        ASSERT_EQ(hex(encoded.gbk), hex(gbk));
        ASSERT_FALSE(encoded.firstUnencodable.has_value()) << hex(gbk);
    }
}

TEST(TextCodecTest, LongInputDecodesTheSameAsItsParts) {
    // Long inputs are decoded in pieces internally; characters that straddle
    // a piece boundary must come out whole wherever the boundary falls.
    const std::string pair = "\xB8\xB4"; // one character
    const std::string pairUtf8 = "\xE5\xA4\x8D";
    for (const std::size_t asciiRun : {std::size_t{4095}, std::size_t{65535}, std::size_t{65536}}) {
        SCOPED_TRACE(asciiRun);
        std::string gbk(asciiRun, 'a');
        std::string utf8(asciiRun, 'a');
        for (int repeat = 0; repeat < 40000; ++repeat) {
            gbk += pair;
            utf8 += pairUtf8;
        }
        gbk += "\xFF";
        utf8 += "\xEF\x9F\xBF";
        const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Preserve);
        EXPECT_TRUE(decoded.utf8 == utf8);
        EXPECT_EQ(decoded.invalidByteOffsets, std::vector<std::size_t>{gbk.size() - 1});
        EXPECT_TRUE(encodeGbk(decoded.utf8).gbk == gbk);
    }

    std::mt19937 rng(99);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::string random(300000, '\0');
    for (char& c : random)
        c = static_cast<char>(anyByte(rng));
    const DecodedText whole = decodeGbk(random, InvalidBytes::Preserve);
    EXPECT_TRUE(encodeGbk(whole.utf8).gbk == random);
}

TEST(TextCodecTest, ReplaceModeReportsTheSameOffsetsAsPreserveMode) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> highByte(0x80, 0xFF);
    for (int iteration = 0; iteration < 2000; ++iteration) {
        std::string gbk(32, '\0');
        for (char& c : gbk)
            c = static_cast<char>(highByte(rng));
        const DecodedText replaced = decodeGbk(gbk, InvalidBytes::Replace);
        const DecodedText preserved = decodeGbk(gbk, InvalidBytes::Preserve);
        ASSERT_EQ(replaced.invalidByteOffsets, preserved.invalidByteOffsets) << hex(gbk);
        ASSERT_EQ(sanitizeUtf8(replaced.utf8), replaced.utf8) << hex(gbk);
    }
}

struct UnencodableCase {
    const char* name;
    std::string utf8;
    std::string gbk;
    std::size_t firstUnencodable;
};

TEST(TextCodecTest, UnencodableCharactersBecomeQuestionMarksAndAreReported) {
    const std::vector<UnencodableCase> cases = {
        {"emoji", "ok \xF0\x9F\x98\x80!", "ok ?!", 3},
        {"replacement character",
         "\xE5\xA4\x8D"
         "a\xEF\xBF\xBD",
         "\xB8\xB4"
         "a?",
         4},
        {"first of several", "\xE5\xA4\x8D\xF0\x9F\x98\x80\xEF\xBF\xBD", "\xB8\xB4??", 3},
        {"latin letter outside the code page",
         "stra\xC3\x9F"
         "e",
         "stra?e", 4},
        {"invalid UTF-8 lead byte",
         "a\xFF"
         "b",
         "a?b", 1},
        {"truncated UTF-8 sequence", "a\xE5\xA4", "a??", 1},
        {"encoded surrogate", "\xED\xA0\x80", "???", 0},
        {"overlong slash", "\xC0\xAF", "??", 0},
        {"unused private-use code point next to the preserved range", "\xEF\x9E\x80", "?", 0},
    };
    for (const UnencodableCase& c : cases) {
        SCOPED_TRACE(c.name);
        const EncodedText encoded = encodeGbk(c.utf8);
        EXPECT_EQ(hex(encoded.gbk), hex(c.gbk));
        ASSERT_TRUE(encoded.firstUnencodable.has_value());
        EXPECT_EQ(*encoded.firstUnencodable, c.firstUnencodable);
    }
}

TEST(TextCodecTest, PreservedByteCodePointsEncodeToTheirRawByte) {
    for (char32_t codePoint = kPreservedByteFirst; codePoint <= kPreservedByteLast; ++codePoint) {
        std::string utf8;
        appendUtf8(utf8, codePoint);
        const EncodedText encoded = encodeGbk(utf8);
        ASSERT_EQ(encoded.gbk.size(), 1U);
        EXPECT_EQ(static_cast<unsigned char>(encoded.gbk[0]), codePoint - 0xF700);
        EXPECT_FALSE(encoded.firstUnencodable.has_value());
    }
}

struct PrefixCase {
    const char* name;
    std::string utf8;
    std::size_t maxGbkBytes;
    std::size_t expected;
};

TEST(TextCodecTest, GbkPrefixLengthNeverSplitsACharacter) {
    // "复数" is 6 UTF-8 bytes and 4 GBK bytes.
    const std::string chinese = "\xE5\xA4\x8D\xE6\x95\xB0";
    const std::vector<PrefixCase> cases = {
        {"ASCII below the limit", "abc", 5, 3},
        {"ASCII cut at the limit", "abcdef", 4, 4},
        {"zero limit", "abc", 0, 0},
        {"empty text", "", 10, 0},
        {"limit on a two-byte boundary", chinese, 2, 3},
        {"limit inside the second character", chinese, 3, 3},
        {"limit inside the first character", chinese, 1, 0},
        {"whole Chinese text", chinese, 4, 6},
        {"ASCII then a character that does not fit", "ab" + chinese, 3, 2},
        {"euro takes one byte", "\xE2\x82\xAC\xE2\x82\xAC", 1, 3},
        {"emoji counts as one byte", "\xF0\x9F\x98\x80x", 1, 4},
        {"invalid UTF-8 byte counts as one byte", "\xFF\xFFx", 2, 2},
        {"preserved byte counts as one byte", "\xEF\x9E\xB8x", 1, 3},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gbkPrefixLength(c.utf8, c.maxGbkBytes), c.expected);
    }
}

TEST(TextCodecTest, GbkPrefixLengthAgreesWithEncodedSize) {
    const std::string text = "a\xE5\xA4\x8D\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9z\xE6\x95\xB0";
    const std::size_t fullSize = encodeGbk(text).gbk.size();
    for (std::size_t limit = 0; limit <= fullSize + 1; ++limit) {
        SCOPED_TRACE(limit);
        const std::size_t prefix = gbkPrefixLength(text, limit);
        const std::size_t encodedSize =
            encodeGbk(std::string_view(text).substr(0, prefix)).gbk.size();
        EXPECT_LE(encodedSize, limit);
        if (prefix < text.size()) {
            // The prefix is the longest one: one more character would not fit.
            const std::size_t longer = prefix + decodeUtf8Char(text, prefix).length;
            EXPECT_GT(encodeGbk(std::string_view(text).substr(0, longer)).gbk.size(), limit);
        }
    }
    EXPECT_EQ(gbkPrefixLength(text, fullSize), text.size());
}

struct Utf8Case {
    const char* name;
    std::string input;
    std::string sanitized;
};

TEST(TextCodecTest, SanitizeUtf8ReplacesEachInvalidByte) {
    const std::string fffd = "\xEF\xBF\xBD";
    const std::vector<Utf8Case> cases = {
        {"valid text is unchanged", "a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80",
         "a\xC3\xA9\xE5\xA4\x8D\xF0\x9F\x98\x80"},
        {"stray continuation byte",
         "a\x80"
         "b",
         "a" + fffd + "b"},
        {"overlong two-byte form", "\xC1\xBF", fffd + fffd},
        {"overlong three-byte form", "\xE0\x9F\xBF", fffd + fffd + fffd},
        {"encoded surrogate", "\xED\xBF\xBF", fffd + fffd + fffd},
        {"above U+10FFFF", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
        {"truncated at the end", "x\xF0\x9F\x98", "x" + fffd + fffd + fffd},
        {"highest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hex(sanitizeUtf8(c.input)), hex(c.sanitized));
    }
}

TEST(TextCodecTest, DecodeUtf8CharReadsOneCharacter) {
    const std::string text = "a\xE5\xA4\x8D\xF0\x9F\x98\x80\xFF";
    const Utf8Char ascii = decodeUtf8Char(text, 0);
    EXPECT_EQ(ascii.codePoint, U'a');
    EXPECT_EQ(ascii.length, 1U);
    EXPECT_TRUE(ascii.valid);
    const Utf8Char chinese = decodeUtf8Char(text, 1);
    EXPECT_EQ(chinese.codePoint, U'\u590D');
    EXPECT_EQ(chinese.length, 3U);
    const Utf8Char emoji = decodeUtf8Char(text, 4);
    EXPECT_EQ(emoji.codePoint, U'\U0001F600');
    EXPECT_EQ(emoji.length, 4U);
    const Utf8Char invalid = decodeUtf8Char(text, 8);
    EXPECT_FALSE(invalid.valid);
    EXPECT_EQ(invalid.codePoint, U'\uFFFD');
    EXPECT_EQ(invalid.length, 1U);
}

TEST(TextCodecTest, AppendUtf8ReplacesNonScalarValues) {
    std::string out;
    appendUtf8(out, 0xD800);
    appendUtf8(out, 0x110000);
    appendUtf8(out, 0x7FF);
    EXPECT_EQ(hex(out), hex("\xEF\xBF\xBD\xEF\xBF\xBD\xDF\xBF"));
}

} // namespace
} // namespace quillet
