// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/utf8.h"

#include <cstdint>
#include <cstring>

namespace quillet::utf8 {

namespace {

// Copies at most maxChars characters of text to out, writing U+FFFD for every byte that
// starts no well-formed sequence and passing its offset to onInvalid. Returns the number of
// bytes of text consumed.
template <typename OnInvalid>
std::size_t copySanitized(std::string& out, std::string_view text, std::size_t maxChars,
                          OnInvalid onInvalid) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; chars < maxChars && pos < text.size(); ++chars) {
        const std::size_t length = sequenceLength(text.substr(pos));
        if (length == 0) {
            out += kReplacementCharacter;
            onInvalid(pos);
            ++pos;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return pos;
}

} // namespace

void append(std::string& out, char32_t codePoint) {
    char bytes[4];
    const char* const end =
        write(bytes, isScalarValue(codePoint) ? codePoint : kReplacementCodePoint);
    out.append(bytes, static_cast<std::size_t>(end - bytes));
}

std::size_t asciiPrefixLength(std::string_view text) {
    std::size_t i = 0;
    // Eight bytes at a time while no byte has its high bit set.
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080u)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

bool isValid(std::string_view text) {
    std::size_t i = asciiPrefixLength(text);
    while (i < text.size()) {
        const std::size_t length = sequenceLength(text.substr(i));
        if (length == 0)
            return false;
        i += length;
        i += asciiPrefixLength(text.substr(i));
    }
    return true;
}

std::size_t countChars(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += decodeChar(text, i).length)
        ++count;
    return count;
}

std::size_t appendSanitized(std::string& out, std::string_view text, std::size_t maxChars) {
    return copySanitized(out, text, maxChars, [](std::size_t) {});
}

std::string sanitized(std::string_view text, std::vector<std::size_t>& invalidOffsets) {
    std::string out;
    out.reserve(text.size());
    copySanitized(out, text, text.size(),
                  [&](std::size_t offset) { invalidOffsets.push_back(offset); });
    return out;
}

} // namespace quillet::utf8
