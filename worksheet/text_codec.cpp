// SPDX-License-Identifier: GPL-3.0-or-later
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

} // namespace

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
                out = utf8::write(out, kEuro);
                ++i;
                continue;
            }
            if (byte <= kLeadLast && i + 1 < size) {
                const char32_t codePoint = lookupPair(byte, static_cast<unsigned char>(gbk[i + 1]));
                if (codePoint != 0) {
                    out = utf8::write(out, codePoint);
                    i += 2;
                    continue;
                }
            }
            // Only this byte is undecodable: the next one may be ASCII or a lead
            // byte of its own and is decoded on the next iteration.
            result.invalidByteOffsets.push_back(i);
            out = utf8::write(out, mode == InvalidBytes::Preserve ? kPreservedByteBase + byte
                                                                  : utf8::kReplacementCodePoint);
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
        const utf8::Char ch = utf8::decodeChar(utf8, i);
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
        const utf8::Char ch = utf8::decodeChar(utf8, i);
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
