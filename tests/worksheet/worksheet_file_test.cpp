// SPDX-License-Identifier: GPL-3.0-or-later
// Text at the file boundary: the GBK code page both ways, and worksheet files (encodings,
// line breaks and zero bytes) read and written back byte for byte.
#include "tests/test_text.h"
#include "worksheet/text_codec.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;
using Offsets = std::vector<std::size_t>;
using Style = LineBreakStyle;
using Encoding = FileEncoding;
using test::kFffd;

TEST(TextCodec, EveryMappedTwoByteCodeRoundTrips) {
    std::size_t mapped = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const DecodedText decoded = decodeGbk(gbk, InvalidBytes::Replace);
            if (trail == 0x7F) { // never a trail byte: the lead byte alone is undecodable
                ASSERT_EQ(decoded.invalidByteOffsets, Offsets{0}) << testing::PrintToString(gbk);
                ASSERT_EQ(decoded.utf8, kFffd + "\x7F") << testing::PrintToString(gbk);
            }
            if (!decoded.invalidByteOffsets.empty())
                continue;
            ++mapped;
            const EncodedText encoded = encodeGbk(decoded.utf8);
            ASSERT_EQ(encoded.gbk, gbk) << "decoded as " << testing::PrintToString(decoded.utf8);
            ASSERT_FALSE(encoded.firstUnencodable.has_value()) << testing::PrintToString(gbk);
        }
    }
    EXPECT_EQ(mapped, 21791U); // the two-byte codes the code page defines
}

TEST(TextCodec, UndecodableBytesAreReplacedOrPreservedOneByOne) {
    const std::tuple<std::string, std::string, std::string, Offsets> cases[] = {
        // GBK, decoded in Replace mode, in Preserve mode, offsets of the undecodable bytes
        {"a\xFFz", "a" + kFffd + "z", "a\xEF\x9F\xBFz", {1}},
        {"az\x81", "az" + kFffd, "az\xEF\x9E\x81", {2}},       // the lowest lead byte, last
        {"\xB8+1", kFffd + "+1", "\xEF\x9E\xB8+1", {0}},       // ASCII that is no trail byte
        {"\xB8\r\n", kFffd + "\r\n", "\xEF\x9E\xB8\r\n", {0}}, // CR LF is no trail byte
        {"\xB8\xFF", kFffd + kFffd, "\xEF\x9E\xB8\xEF\x9F\xBF", {0, 1}},
        {"\xA1@", kFffd + "@", "\xEF\x9E\xA1@", {0}}, // a well-formed but unmapped pair
        {"\xFF\xB8\xB4", kFffd + "\xE5\xA4\x8D", "\xEF\x9F\xBF\xE5\xA4\x8D", {0}}, // then a pair
        {"\xFE\xFF\xFF", kFffd + kFffd + kFffd, "\xEF\x9F\xBE\xEF\x9F\xBF\xEF\x9F\xBF", {0, 1, 2}},
    };
    for (const auto& [gbk, replaced, preserved, offsets] : cases) {
        SCOPED_TRACE(testing::PrintToString(gbk));
        const DecodedText replacing = decodeGbk(gbk, InvalidBytes::Replace);
        const DecodedText preserving = decodeGbk(gbk, InvalidBytes::Preserve);
        EXPECT_EQ(replacing.utf8, replaced);
        EXPECT_EQ(preserving.utf8, preserved);
        EXPECT_TRUE(replacing.invalidByteOffsets == offsets &&
                    preserving.invalidByteOffsets == offsets);
        EXPECT_EQ(encodeGbk(preserving.utf8).gbk, gbk); // every preserved byte is written back
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
        {"a\xC2\x80", "a?", 1},                                    // just above ASCII
        {"a\xFFz", "a?z", 1},                                      // invalid lead byte
        {"a\xE5\xA4", "a??", 1},                                   // truncated sequence
        {"\xED\xA0\x80", "???", 0},                                // encoded surrogate
        {"\xC0\xAF", "??", 0},                                     // overlong slash
        {"\xEF\x9E\x80", "?", 0}, // private use next to the preserved range
    };
    for (const auto& [utf8, gbk, first] : cases) {
        const EncodedText encoded = encodeGbk(utf8);
        EXPECT_EQ(std::pair(encoded.gbk, encoded.firstUnencodable),
                  std::pair(gbk, std::optional(first)));
    }
}

const std::string kMarkLf = "\xEF\x9C\x8A";    // U+F70A before a bare-LF line break
const std::string kLoneCr = "\xEF\x9C\x8D";    // U+F70D, a CR byte that breaks no line
const std::string kFuShu = "\xB8\xB4\xCA\xFD"; // GBK of the two characters fu shu
const std::string kFuShuUtf8 = "\xE5\xA4\x8D\xE6\x95\xB0";
const std::string kBom = "\xEF\xBB\xBF";
const std::string kEAcute = "\xC3\xA9";

// Each file decodes to its text and style (up to its first zero byte), and that text
// writes back as the bytes before the zero.
TEST(WorksheetFileTest, DecodesKnownFilesAndWritesThemBackByteForByte) {
    const struct {
        const char* name;
        std::string bytes, text;
        Style style;
        std::size_t zero = std::string::npos;
        Encoding encoding = Encoding::Gbk;
    } cases[] = {
        {"empty file", "", "", Style::CrLf},
        {"Chinese text", "a=" + kFuShu + "\r\n", "a=" + kFuShuUtf8 + "\n", Style::CrLf},
        {"the euro sign is one byte", "\x80\x35", "\xE2\x82\xAC\x35", Style::CrLf},
        {"bare LF lines", "x=1\ny=2\n", "x=1\ny=2\n", Style::Lf},
        {"CR LF majority with a bare LF", "a\r\nb\nc\r\n", "a\nb" + kMarkLf + "\nc\n", Style::CrLf},
        {"bare LF majority with a CR LF", "a\nb\r\nc\n", "a\nb" + kLoneCr + "\nc\n", Style::Lf},
        {"tie keeps CR LF", "a\nb\r\n", "a" + kMarkLf + "\nb\n", Style::CrLf},
        {"CR LF first", "\r\nx\n", "\nx" + kMarkLf + "\n", Style::CrLf},
        {"stray CR inside a line", "a\rb\r\n", "a" + kLoneCr + "b\n", Style::CrLf},
        {"CR at the end", "a\r", "a" + kLoneCr, Style::CrLf},
        {"CR before a CR LF", "a\r\r\n", "a" + kLoneCr + "\n", Style::CrLf},
        {"zero in the middle", "ab\0cd\0e"s, "ab", Style::CrLf, 2},
        {"zero first", "\0abc"s, "", Style::CrLf, 0},
        {"zero as a trail byte", kFuShu + "\xB8\0"s, kFuShuUtf8 + "\xEF\x9E\xB8", Style::CrLf, 5},
        {"breaks after the zero do not count", "a\r\nb\0c\nd\ne\n"s, "a\nb", Style::CrLf, 4},
        {"bare LF before the zero", "a\nb\n\0c\r\nd\r\ne\r\n"s, "a\nb\n", Style::Lf, 4},
        {"UTF-8 Chinese and emoji", "a=" + kFuShuUtf8 + "\xF0\x9F\x98\x80\r\n",
         "a=" + kFuShuUtf8 + "\xF0\x9F\x98\x80\n", Style::CrLf, std::string::npos, Encoding::Utf8},
        {"UTF-8 up to the zero", kEAcute + "\0\xFF"s, kEAcute, Style::CrLf, 2, Encoding::Utf8},
        {"byte-order mark, ASCII", kBom + "1\n", "1\n", Style::Lf, std::string::npos,
         Encoding::Utf8WithBom},
        {"byte-order mark, invalid bytes kept", kBom + "a\xFF\xC3", "a\xEF\x9F\xBF\xEF\x9F\x83",
         Style::CrLf, std::string::npos, Encoding::Utf8WithBom},
        {"UTF-8 U+F70A kept as its bytes", kEAcute + "\xEF\x9C\x8A\n",
         kEAcute + "\xEF\x9F\xAF\xEF\x9E\x9C\xEF\x9E\x8A\n", Style::Lf, std::string::npos,
         Encoding::Utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedWorksheetFile decoded = decodeWorksheetFile(c.bytes);
        EXPECT_EQ(std::tuple(decoded.text, decoded.lineBreaks, decoded.encoding,
                             decoded.zeroByteOffset.value_or(std::string::npos)),
                  std::tuple(c.text, c.style, c.encoding, c.zero));
        const EncodedWorksheetFile encoded = encodeWorksheetFile(c.text, c.style, c.encoding);
        ASSERT_FALSE(encoded.unencodable.has_value());
        EXPECT_EQ(encoded.bytes, c.bytes.substr(0, c.zero));
    }
}

// In either line-break style: a mark writes its line-break byte or nothing, and the first
// character GBK lacks (or a zero, which would end the file) refuses the whole text.
TEST(WorksheetFileTest, WritesMarksAndRefusesTheFirstCharacterGbkLacks) {
    const std::string grin = "\xF0\x9F\x98\x80";   // U+1F600
    const std::string rocket = "\xF0\x9F\x9A\x80"; // U+1F680
    const struct {
        const char* name;
        std::string text, bytes, refused = {}; // refused: the character, when the text is refused
        char32_t codePoint = 0;
        int line = 0, column = 0;
    } cases[] = {
        {"mark before a break makes it a bare LF", "a" + kMarkLf + "\nb", "a\nb"},
        {"mark without a break is dropped", "a" + kMarkLf + "b", "ab"},
        {"mark at the end is dropped", "a" + kMarkLf, "a"},
        {"CR character in the text", "a\rb", "a\rb"},
        {"emoji behind Chinese", "a\nb\n" + kFuShuUtf8 + grin + "x", "", grin, 0x1F600, 3, 3},
        {"first of two", "x\n" + rocket + "\n" + grin, "", rocket, 0x1F680, 2, 1},
        {"emoji after marks", "a" + kLoneCr + "b" + kMarkLf + "\nc" + grin, "", grin, 0x1F600, 2,
         2},
        {"zero character", "ab\ncd\0e"s, "", "\0"s, 0, 2, 3},
        {"zero before an emoji", "\0"s + grin, "", "\0"s, 0, 1, 1},
        {"invalid UTF-8 byte", "ok\n\xFF", "", "\xEF\xBF\xBD", 0xFFFD, 2, 1},
        // A private-use neighbour between the two marks is an ordinary character.
        {"U+F70C", "a\xEF\x9C\x8C\n", "", "\xEF\x9C\x8C", 0xF70C, 1, 2},
    };
    for (const Style style : {Style::CrLf, Style::Lf})
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const EncodedWorksheetFile encoded = encodeWorksheetFile(c.text, style, Encoding::Gbk);
            const UnencodableCharacter none{}, &refused = encoded.unencodable.value_or(none);
            EXPECT_EQ(
                std::tuple(encoded.bytes, encoded.unencodable.has_value(), refused.character,
                           refused.codePoint, refused.line, refused.column),
                std::tuple(c.bytes, !c.refused.empty(), c.refused, c.codePoint, c.line, c.column));
        }
    // UTF-8 files hold every character but a zero.
    const EncodedWorksheetFile utf8 = encodeWorksheetFile(grin + "\0"s, Style::Lf, Encoding::Utf8);
    EXPECT_TRUE(utf8.bytes.empty() && utf8.unencodable && utf8.unencodable->column == 2);
}

} // namespace
} // namespace quillet
