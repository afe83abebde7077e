// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8, the program's internal text encoding: reading and writing characters, checking and
// repairing byte strings, and quoting user input without ever splitting or emitting a broken
// character. Every UTF-8 loop of the program is written here once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::utf8 {

inline constexpr char32_t kReplacementCodePoint = 0xFFFD;
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence that starts text, or 0 when the first byte does
// not start one (a stray continuation byte, an overlong form, a surrogate, a truncated tail).
inline std::size_t sequenceLength(std::string_view text) {
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

// One character read from UTF-8 text.
struct Char {
    char32_t codePoint = 0; // U+FFFD when !valid
    std::size_t length = 0; // bytes consumed; 1 when !valid
    bool valid = false;
};

// Reads the character starting at text[offset] (offset < text.size()). Overlong forms,
// surrogates, code points above U+10FFFF and truncated sequences are invalid; an invalid
// sequence consumes exactly one byte.
inline Char decodeChar(std::string_view text, std::size_t offset) {
    const std::size_t length = sequenceLength(text.substr(offset));
    if (length == 0)
        return {kReplacementCodePoint, 1, false};
    constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t codePoint = static_cast<unsigned char>(text[offset]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        codePoint = codePoint << 6 | (static_cast<unsigned char>(text[offset + i]) & 0x3F);
    return {codePoint, length, true};
}

// Whether codePoint may be written as UTF-8: not a surrogate, not above U+10FFFF.
inline bool isScalarValue(char32_t codePoint) {
    return codePoint < 0xD800 || (codePoint > 0xDFFF && codePoint <= 0x10FFFF);
}

// Writes the UTF-8 encoding of the scalar value codePoint at out and returns the position
// after it. The caller has made room for four bytes, or for three when codePoint lies in the
// Basic Multilingual Plane.
inline char* write(char* out, char32_t codePoint) {
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | codePoint >> 18);
        *out++ = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

// Appends the UTF-8 encoding of codePoint (U+FFFD if it is not a scalar value).
void append(std::string& out, char32_t codePoint);

// Length of the run of ASCII bytes at the start of text.
std::size_t asciiPrefixLength(std::string_view text);

// Whether every byte of text belongs to a well-formed sequence.
bool isValid(std::string_view text);

// Number of characters in text, each byte that starts no well-formed sequence counting as one.
std::size_t countChars(std::string_view text);

// Appends at most maxChars characters of text to out; every byte that does not start a
// well-formed sequence is written as U+FFFD. Returns the number of bytes of text consumed.
std::size_t appendSanitized(std::string& out, std::string_view text, std::size_t maxChars);

// text with every byte that starts no well-formed sequence written as U+FFFD; the offsets of
// those bytes in text, ascending, are appended to invalidOffsets.
std::string sanitized(std::string_view text, std::vector<std::size_t>& invalidOffsets);

} // namespace quillet::utf8
