// SPDX-License-Identifier: GPL-3.0-or-later
// GBK (code page 936) <-> UTF-8 conversion for worksheet files; text is UTF-8
// everywhere else in the program, and this is the only module that knows GBK.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// How GBK bytes that do not form a character are decoded.
enum class InvalidBytes {
    Replace,  // each undecodable byte becomes U+FFFD
    Preserve, // each undecodable byte XX becomes U+F700 + XX (U+F781..U+F7FF),
              // which encodeGbk turns back into the byte XX
};

// Private-use code points standing for undecodable bytes 0x81..0xFF in
// Preserve mode. GBK itself never decodes to this range.
inline constexpr char32_t kPreservedByteFirst = 0xF781;
inline constexpr char32_t kPreservedByteLast = 0xF7FF;

struct DecodedText {
    std::string utf8;
    std::vector<std::size_t> invalidByteOffsets; // offsets into the GBK input, ascending
};

// Decodes GBK: bytes 0x00-0x7F are themselves, 0x80 is U+20AC, a lead byte
// 0x81-0xFE followed by a trail byte that forms a mapped pair is that
// character. Anything else (0xFF, a lead byte whose pair does not map, a lead
// byte at the end) is one undecodable byte; decoding resumes at the next byte.
// In Preserve mode encodeGbk(decodeGbk(x).utf8).gbk == x for every x.
DecodedText decodeGbk(std::string_view gbk, InvalidBytes mode);

struct EncodedText {
    std::string gbk;
    // Offset into the UTF-8 input of the first character GBK cannot encode or
    // of the first byte that is not valid UTF-8.
    std::optional<std::size_t> firstUnencodable;
};

// Encodes UTF-8 text as GBK. Preserved-byte code points become their raw
// byte; every character GBK cannot encode and every invalid UTF-8 byte
// becomes one '?'.
EncodedText encodeGbk(std::string_view utf8);

// Number of UTF-8 bytes of the longest prefix of whole characters whose GBK
// encoding (as produced by encodeGbk) takes at most maxGbkBytes bytes.
std::size_t gbkPrefixLength(std::string_view utf8, std::size_t maxGbkBytes);

} // namespace quillet
