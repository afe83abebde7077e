// Small UTF-8 helpers for quoting user input inside messages without ever splitting
// or emitting a broken character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::utf8 {

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

// Appends at most maxChars characters of text to out; every byte that does not start a
// well-formed sequence is written as U+FFFD. Returns the number of bytes of text consumed.
std::size_t appendSanitized(std::string& out, std::string_view text, std::size_t maxChars);

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

} // namespace quillet::utf8
