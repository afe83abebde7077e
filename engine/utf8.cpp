#include "engine/utf8.h"

namespace quillet::utf8 {

std::size_t appendSanitized(std::string& out, std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; chars < maxChars && pos < text.size(); ++chars) {
        const std::size_t length = sequenceLength(text.substr(pos));
        if (length == 0) {
            out += kReplacementCharacter;
            ++pos;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return pos;
}

} // namespace quillet::utf8
