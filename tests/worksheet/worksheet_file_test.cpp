#include "worksheet/worksheet_file.h"

#include "worksheet/text_codec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
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

const std::string kLf = "\n";
const std::string kMarkLf = "\xEF\x9C\x8A";    // U+F70A before a bare-LF line break
const std::string kLoneCr = "\xEF\x9C\x8D";    // U+F70D, a CR byte that breaks no line
const std::string kFuShu = "\xB8\xB4\xCA\xFD"; // GBK of the two characters fu shu
const std::string kFuShuUtf8 = "\xE5\xA4\x8D\xE6\x95\xB0";

struct FileCase {
    const char* name;
    std::string bytes;
    std::string text;
    LineBreakStyle style;
};

const std::vector<FileCase>& fileCases() {
    static const std::vector<FileCase> cases = {
        {"empty file", "", "", LineBreakStyle::CrLf},
        {"one line without a break", "1+2", "1+2", LineBreakStyle::CrLf},
        {"a completed line and its result", "1+2\r\n3\r\n", "1+2\n3\n", LineBreakStyle::CrLf},
        {"Chinese text", "a=" + kFuShu + "\r\n", "a=" + kFuShuUtf8 + "\n", LineBreakStyle::CrLf},
        {"bare LF lines", "x=1\ny=2\n", "x=1\ny=2\n", LineBreakStyle::Lf},
        {"bare LF without a final break", "x=1\ny=2", "x=1\ny=2", LineBreakStyle::Lf},
        {"blank lines", "\r\n\r\n", "\n\n", LineBreakStyle::CrLf},
        {"CR LF majority with a bare LF", "a\r\nb\nc\r\n", "a\nb" + kMarkLf + "\nc\n",
         LineBreakStyle::CrLf},
        {"bare LF majority with a CR LF", "a\nb\r\nc\n", "a\nb" + kLoneCr + "\nc\n",
         LineBreakStyle::Lf},
        {"tie between CR LF and bare LF keeps CR LF", "a\nb\r\n", "a" + kMarkLf + "\nb\n",
         LineBreakStyle::CrLf},
        {"stray CR inside a line", "a\rb\r\n", "a" + kLoneCr + "b\n", LineBreakStyle::CrLf},
        {"CR at the end", "a\r", "a" + kLoneCr, LineBreakStyle::CrLf},
        {"CR only line breaks", "a\rb\rc", "a" + kLoneCr + "b" + kLoneCr + "c",
         LineBreakStyle::CrLf},
        {"CR before a CR LF", "a\r\r\n", "a" + kLoneCr + "\n", LineBreakStyle::CrLf},
        {"LF before CR", "a\n\rb", "a\n" + kLoneCr + "b", LineBreakStyle::Lf},
        {"euro byte", "\x80", "\xE2\x82\xAC", LineBreakStyle::CrLf},
        {"undecodable byte FF", "a\xFF", "a\xEF\x9F\xBF", LineBreakStyle::CrLf},
        {"lone lead byte at the end", "a\xB0", "a\xEF\x9E\xB0", LineBreakStyle::CrLf},
        {"lead byte before a line break", "\xB0\r\n", "\xEF\x9E\xB0\n", LineBreakStyle::CrLf},
        {"lead byte before a byte that is no trail", "\xA2\x7Fx", "\xEF\x9E\xA2\x7Fx",
         LineBreakStyle::CrLf},
    };
    return cases;
}

TEST(WorksheetFileTest, DecodesKnownFiles) {
    for (const FileCase& c : fileCases()) {
        SCOPED_TRACE(c.name);
        const DecodedWorksheetFile decoded = decodeWorksheetFile(c.bytes);
        EXPECT_EQ(hex(decoded.text), hex(c.text));
        EXPECT_EQ(decoded.lineBreaks, c.style);
        EXPECT_FALSE(decoded.zeroByteOffset.has_value());
    }
}

TEST(WorksheetFileTest, EncodingADecodedFileGivesItsBytesBack) {
    for (const FileCase& c : fileCases()) {
        SCOPED_TRACE(c.name);
        const EncodedWorksheetFile encoded = encodeWorksheetFile(c.text, c.style);
        ASSERT_FALSE(encoded.unencodable.has_value());
        EXPECT_EQ(hex(encoded.bytes), hex(c.bytes));
    }
}

TEST(WorksheetFileTest, CompletedLineIsSavedAsEightBytes) {
    const EncodedWorksheetFile encoded = encodeWorksheetFile("1+2\n3\n", LineBreakStyle::CrLf);
    ASSERT_FALSE(encoded.unencodable.has_value());
    EXPECT_EQ(hex(encoded.bytes), "31 2B 32 0D 0A 33 0D 0A ");
}

TEST(WorksheetFileTest, LineBreaksFollowTheStyle) {
    struct Case {
        const char* name;
        std::string text;
        LineBreakStyle style;
        std::string bytes;
    };
    const Case cases[] = {
        {"CR LF", "a\nb\n", LineBreakStyle::CrLf, "a\r\nb\r\n"},
        {"bare LF", "a\nb\n", LineBreakStyle::Lf, "a\nb\n"},
        {"mark before a break in a bare-LF file", "a" + kMarkLf + "\nb", LineBreakStyle::Lf,
         "a\nb"},
        {"mark without a break is dropped", "a" + kMarkLf + "b", LineBreakStyle::CrLf, "ab"},
        {"mark at the end is dropped", "a" + kMarkLf, LineBreakStyle::CrLf, "a"},
        {"lone CR mark in a bare-LF file", "a" + kLoneCr + "\n", LineBreakStyle::Lf, "a\r\n"},
        {"CR character in the text", "a\rb", LineBreakStyle::CrLf, "a\rb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EncodedWorksheetFile encoded = encodeWorksheetFile(c.text, c.style);
        ASSERT_FALSE(encoded.unencodable.has_value());
        EXPECT_EQ(hex(encoded.bytes), hex(c.bytes));
    }
}

TEST(WorksheetFileTest, MarksAreNoGbkCharacters) {
    // Were they, a file holding that character would be read back as a mark and written
    // as a line-break byte.
    EXPECT_TRUE(encodeGbk(kMarkLf).firstUnencodable.has_value());
    EXPECT_TRUE(encodeGbk(kLoneCr).firstUnencodable.has_value());
    std::string mark;
    appendUtf8(mark, kBareLineFeedMark);
    EXPECT_EQ(mark, kMarkLf);
    mark.clear();
    appendUtf8(mark, kLoneCarriageReturn);
    EXPECT_EQ(mark, kLoneCr);
}

TEST(WorksheetFileTest, NeighboursOfTheMarksAreOrdinaryCharacters) {
    // U+F70B and U+F70C lie between the marks; GBK cannot encode them.
    for (const std::string text : {"\xEF\x9C\x8B", "a\xEF\x9C\x8C\n"}) {
        SCOPED_TRACE(hex(text));
        const EncodedWorksheetFile encoded = encodeWorksheetFile(text, LineBreakStyle::CrLf);
        ASSERT_TRUE(encoded.unencodable.has_value());
        EXPECT_EQ(encoded.unencodable->character, text.substr(text.find('\xEF'), 3));
    }
}

TEST(WorksheetFileTest, TextStopsAtTheFirstZeroByte) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
        std::size_t offset;
    };
    const Case cases[] = {
        {"zero in the middle", "ab\0cd\0e"s, "ab", 2},
        {"zero first", "\0abc"s, "", 0},
        {"zero last", "1+2\r\n\0"s, "1+2\n", 5},
        {"zero after a lead byte", "x\xB0\0\xA1"s, "x\xEF\x9E\xB0", 2},
        {"zero as a trail byte", kFuShu + "\xB8\0"s, kFuShuUtf8 + "\xEF\x9E\xB8", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedWorksheetFile decoded = decodeWorksheetFile(c.bytes);
        EXPECT_EQ(hex(decoded.text), hex(c.text));
        ASSERT_TRUE(decoded.zeroByteOffset.has_value());
        EXPECT_EQ(*decoded.zeroByteOffset, c.offset);
        // What was loaded writes back as the bytes before the zero.
        EXPECT_EQ(hex(encodeWorksheetFile(decoded.text, decoded.lineBreaks).bytes),
                  hex(c.bytes.substr(0, c.offset)));
    }
}

TEST(WorksheetFileTest, LineBreakCountsAfterAZeroByteDoNotDecideTheStyle) {
    const DecodedWorksheetFile decoded = decodeWorksheetFile("a\r\nb\0c\nd\ne\n"s);
    EXPECT_EQ(decoded.lineBreaks, LineBreakStyle::CrLf);
    EXPECT_EQ(decoded.text, "a\nb");
}

// Random files: decoding then encoding must give back any bytes without a zero byte.
TEST(WorksheetFileTest, AnyBytesWithoutZeroRoundTrip) {
    std::mt19937 random(20240611);
    // Alphabets that make line breaks, lead bytes and invalid pairs frequent.
    const std::vector<std::string> alphabets = {
        "", // every byte 1-255
        "\r\n",
        "\r\na",
        "\r\n\x81\xA1\xB0\xFE\xFF\x80\x40\x7F",
        "\n\n\n\r\xA1\xA2",
        "\r\r\r\n\xB8\xB4\xCA\xFD",
    };
    for (std::size_t a = 0; a < alphabets.size(); ++a) {
        const std::string& alphabet = alphabets[a];
        for (int round = 0; round < 400; ++round) {
            std::uniform_int_distribution<std::size_t> lengthOf(0, 64);
            const std::size_t length = lengthOf(random);
            std::string bytes;
            for (std::size_t i = 0; i < length; ++i) {
                if (alphabet.empty()) {
                    bytes.push_back(
                        static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random)));
                } else {
                    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
                    bytes.push_back(alphabet[pick(random)]);
                }
            }
            SCOPED_TRACE("alphabet " + std::to_string(a) + ": " + hex(bytes));
            const DecodedWorksheetFile decoded = decodeWorksheetFile(bytes);
            ASSERT_FALSE(decoded.zeroByteOffset.has_value());
            const EncodedWorksheetFile encoded =
                encodeWorksheetFile(decoded.text, decoded.lineBreaks);
            ASSERT_FALSE(encoded.unencodable.has_value());
            ASSERT_EQ(hex(encoded.bytes), hex(bytes));
            // The text shows no CR: a text control would break the line there.
            ASSERT_EQ(decoded.text.find('\r'), std::string::npos);
        }
    }
}

TEST(WorksheetFileTest, EveryTwoByteCharacterRoundTrips) {
    std::string bytes;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            bytes.push_back(static_cast<char>(lead));
            bytes.push_back(static_cast<char>(trail));
        }
        bytes += "\r\n";
    }
    const DecodedWorksheetFile decoded = decodeWorksheetFile(bytes);
    const EncodedWorksheetFile encoded = encodeWorksheetFile(decoded.text, decoded.lineBreaks);
    EXPECT_TRUE(encoded.bytes == bytes);
}

// A text the editor holds (no marks) is read back unchanged after it was written.
TEST(WorksheetFileTest, SavedTextLoadsBackUnchanged) {
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {
        "1", "+", " ", "\n", "x=", kFuShuUtf8, "\xE2\x82\xAC", "\t", "#", "\xE3\x80\x80"};
    for (const LineBreakStyle style : {LineBreakStyle::CrLf, LineBreakStyle::Lf}) {
        for (int round = 0; round < 300; ++round) {
            std::string text;
            const int count = std::uniform_int_distribution<int>(0, 30)(random);
            for (int i = 0; i < count; ++i)
                text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() -
                                                                                 1)(random)];
            SCOPED_TRACE(hex(text));
            const EncodedWorksheetFile encoded = encodeWorksheetFile(text, style);
            ASSERT_FALSE(encoded.unencodable.has_value());
            const DecodedWorksheetFile decoded = decodeWorksheetFile(encoded.bytes);
            ASSERT_EQ(hex(decoded.text), hex(text));
            if (text.find('\n') != std::string::npos) {
                EXPECT_EQ(decoded.lineBreaks, style);
            }
        }
    }
}

TEST(WorksheetFileTest, RefusesTheFirstCharacterGbkLacks) {
    struct Case {
        const char* name;
        std::string text;
        std::string character;
        char32_t codePoint;
        int line;
        int column;
    };
    const std::string grinning = "\xF0\x9F\x98\x80"; // U+1F600
    const std::string rocket = "\xF0\x9F\x9A\x80";   // U+1F680
    const Case cases[] = {
        {"emoji alone", grinning, grinning, 0x1F600, 1, 1},
        {"emoji on the second line", "1+2\n" + grinning, grinning, 0x1F600, 2, 1},
        {"emoji behind Chinese text", "a\nb\n" + kFuShuUtf8 + grinning + "x", grinning, 0x1F600, 3,
         3},
        {"first of two", "x\n" + rocket + "\n" + grinning, rocket, 0x1F680, 2, 1},
        {"emoji after marks", "a" + kLoneCr + "b" + kMarkLf + "\n" + "c" + grinning, grinning,
         0x1F600, 2, 2},
        {"zero character", "ab\ncd\0e"s, "\0"s, 0, 2, 3},
        {"zero before an emoji", "\0"s + grinning, "\0"s, 0, 1, 1},
        {"invalid UTF-8 byte", "ok\n\xFF", "\xEF\xBF\xBD", 0xFFFD, 2, 1},
    };
    for (const LineBreakStyle style : {LineBreakStyle::CrLf, LineBreakStyle::Lf}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const EncodedWorksheetFile encoded = encodeWorksheetFile(c.text, style);
            ASSERT_TRUE(encoded.unencodable.has_value());
            EXPECT_TRUE(encoded.bytes.empty());
            EXPECT_EQ(hex(encoded.unencodable->character), hex(c.character));
            EXPECT_EQ(encoded.unencodable->codePoint, c.codePoint);
            EXPECT_EQ(encoded.unencodable->line, c.line);
            EXPECT_EQ(encoded.unencodable->column, c.column);
        }
    }
}

} // namespace
} // namespace quillet
