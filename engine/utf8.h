// Small UTF-8 helpers for quoting user input inside messages without ever splitting
// or emitting a broken character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::utf8 {

// Length of the well-formed UTF-8 sequence that starts text, or 0 when the first byte does
// not start one (a stray continuation byte, an overlong form, a surrogate, a truncated tail).
std::size_t sequenceLength(std::string_view text);

// Appends at most maxChars characters of text to out; every byte that does not start a
// well-formed sequence is written as U+FFFD. Returns the number of bytes of text consumed.
std::size_t appendSanitized(std::string& out, std::string_view text, std::size_t maxChars);

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

} // namespace quillet::utf8
