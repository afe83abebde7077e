#include "worksheet/text_codec.h"

#include "engine/utf8.h"

#include <array>
#include <cstdint>
#include <iterator>

namespace quillet {

namespace {

constexpr unsigned kLeadFirst = 0x81;
constexpr unsigned kLeadLast = 0xFE;
constexpr unsigned kTrailFirst = 0x40;
constexpr unsigned kTrailLast = 0xFE;
constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;
constexpr unsigned kEuroByte = 0x80;
constexpr char32_t kEuro = 0x20AC;
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kPreservedByteBase = kPreservedByteFirst - 0x81;

// Two-byte GBK code -> BMP code point, 0 where the pair is unmapped.
constexpr std::uint16_t kGbkToUnicode[] = {
#include "worksheet/gbk_table.inc"
};
static_assert(std::size(kGbkToUnicode) == (kLeadLast - kLeadFirst + 1) * kTrailCount);

// BMP code point -> two-byte GBK code (lead << 8 | trail), 0 where GBK has no
// two-byte code. Built at compile time by inverting kGbkToUnicode; the
// generator checks that the mapping is one-to-one.
constexpr std::array<std::uint16_t, 0x10000> buildUnicodeToGbk() {
    std::array<std::uint16_t, 0x10000> table{};
    for (std::size_t index = 0; index < std::size(kGbkToUnicode); ++index) {
        const std::uint16_t codePoint = kGbkToUnicode[index];
        if (codePoint != 0) {
            const auto lead = static_cast<unsigned>(kLeadFirst + index / kTrailCount);
            const auto trail = static_cast<unsigned>(kTrailFirst + index % kTrailCount);
            table[codePoint] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
    }
    return table;
}
constexpr std::array<std::uint16_t, 0x10000> kUnicodeToGbk = buildUnicodeToGbk();

// Code point of the two-byte code lead/trail, 0 if it is not a character.
inline char32_t lookupPair(unsigned lead, unsigned trail) {
    if (trail < kTrailFirst || trail > kTrailLast)
        return 0;
    return kGbkToUnicode[(lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst)];
}

// Writes a BMP code point (never a surrogate) as UTF-8 at out and returns the
// position after it. The caller has made room for three bytes.
inline char* writeBmpUtf8(char* out, char32_t codePoint) {
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

// Most bytes one GBK input byte can turn into in UTF-8 (an undecodable byte
// becomes a three-byte character).
constexpr std::size_t kMaxUtf8PerGbkByte = 3;
// Input is decoded in blocks so that the output never has to be sized for the
// worst case of the whole input at once.
constexpr std::size_t kDecodeBlock = 64 * 1024;

// GBK encoding of one character: up to two bytes, or none if unencodable.
struct GbkBytes {
    char bytes[2] = {0, 0};
    std::size_t length = 0;
};

GbkBytes encodeChar(char32_t codePoint) {
    GbkBytes result;
    if (codePoint < 0x80) {
        result.bytes[0] = static_cast<char>(codePoint);
        result.length = 1;
    } else if (codePoint == kEuro) {
        result.bytes[0] = static_cast<char>(kEuroByte);
        result.length = 1;
    } else if (codePoint >= kPreservedByteFirst && codePoint <= kPreservedByteLast) {
        result.bytes[0] = static_cast<char>(codePoint - kPreservedByteBase);
        result.length = 1;
    } else if (codePoint <= 0xFFFF) {
        const std::uint16_t code = kUnicodeToGbk[codePoint];
        if (code != 0) {
            result.bytes[0] = static_cast<char>(code >> 8);
            result.bytes[1] = static_cast<char>(code & 0xFF);
            result.length = 2;
        }
    }
    return result;
}

inline Utf8Char readUtf8Char(std::string_view utf8, std::size_t offset) {
    const std::size_t length = utf8::sequenceLength(utf8.substr(offset));
    if (length == 0)
        return {kReplacement, 1, false};
    constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t codePoint = static_cast<unsigned char>(utf8[offset]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        codePoint = codePoint << 6 | (static_cast<unsigned char>(utf8[offset + i]) & 0x3F);
    return {codePoint, length, true};
}

} // namespace

Utf8Char decodeUtf8Char(std::string_view utf8, std::size_t offset) {
    return readUtf8Char(utf8, offset);
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacement;
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | codePoint >> 6));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | codePoint >> 12));
        out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | codePoint >> 18));
        out.push_back(static_cast<char>(0x80 | (codePoint >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

DecodedText decodeGbk(std::string_view gbk, InvalidBytes mode) {
    DecodedText result;
    std::string& utf8 = result.utf8;
    // Two-byte characters grow by half in UTF-8; ASCII stays the same size.
    utf8.reserve(gbk.size() + gbk.size() / 2);
    const std::size_t size = gbk.size();
    std::size_t i = 0;
    while (i < size) {
        // Decode up to one block of input straight into the string's buffer.
        // A pair may straddle the block end: the last character can read one
        // byte past it, so room is made for one extra input byte.
        const std::size_t blockEnd = size - i > kDecodeBlock ? i + kDecodeBlock : size;
        const std::size_t written = utf8.size();
        utf8.resize(written + (blockEnd - i + 1) * kMaxUtf8PerGbkByte);
        char* out = utf8.data() + written;
        while (i < blockEnd) {
            const auto byte = static_cast<unsigned char>(gbk[i]);
            if (byte < 0x80) {
                *out++ = static_cast<char>(byte);
                ++i;
                continue;
            }
            if (byte == kEuroByte) {
                out = writeBmpUtf8(out, kEuro);
                ++i;
                continue;
            }
            if (byte <= kLeadLast && i + 1 < size) {
                const char32_t codePoint = lookupPair(byte, static_cast<unsigned char>(gbk[i + 1]));
                if (codePoint != 0) {
                    out = writeBmpUtf8(out, codePoint);
                    i += 2;
                    continue;
                }
            }
            // Only this byte is undecodable: the next one may be ASCII or a lead
            // byte of its own and is decoded on the next iteration.
            result.invalidByteOffsets.push_back(i);
            out = writeBmpUtf8(out, mode == InvalidBytes::Preserve ? kPreservedByteBase + byte
                                                                   : kReplacement);
            ++i;
        }
        utf8.resize(static_cast<std::size_t>(out - utf8.data()));
    }
    return result;
}

EncodedText encodeGbk(std::string_view utf8) {
    EncodedText result;
    // GBK never needs more bytes than UTF-8 for the same text, so the output
    // is written straight into a buffer of the input's size.
    result.gbk.resize(utf8.size());
    char* const begin = result.gbk.data();
    char* out = begin;
    const std::size_t size = utf8.size();
    std::size_t i = 0;
    while (i < size) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            *out++ = static_cast<char>(byte);
            ++i;
            continue;
        }
        const Utf8Char ch = readUtf8Char(utf8, i);
        const GbkBytes encoded = ch.valid ? encodeChar(ch.codePoint) : GbkBytes{};
        if (encoded.length == 2) {
            *out++ = encoded.bytes[0];
            *out++ = encoded.bytes[1];
        } else if (encoded.length == 1) {
            *out++ = encoded.bytes[0];
        } else {
            if (!result.firstUnencodable)
                result.firstUnencodable = i;
            *out++ = '?';
        }
        i += ch.length;
    }
    result.gbk.resize(static_cast<std::size_t>(out - begin));
    return result;
}

std::size_t gbkPrefixLength(std::string_view utf8, std::size_t maxGbkBytes) {
    std::size_t gbkBytes = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Char ch = readUtf8Char(utf8, i);
        const std::size_t encodedLength = ch.valid ? encodeChar(ch.codePoint).length : 0;
        // Unencodable characters and invalid bytes are written as one '?'.
        const std::size_t cost = encodedLength == 0 ? 1 : encodedLength;
        if (cost > maxGbkBytes - gbkBytes)
            break;
        gbkBytes += cost;
        i += ch.length;
    }
    return i;
}

} // namespace quillet
