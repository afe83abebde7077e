// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet_file.h"

#include "engine/utf8.h"
#include "worksheet/text_codec.h"

#include <algorithm>

namespace quillet {

namespace {

// UTF-8 forms of the two line-break marks.
constexpr std::string_view kBareLineFeedMarkUtf8 = "\xEF\x9C\x8A";   // U+F70A
constexpr std::string_view kLoneCarriageReturnUtf8 = "\xEF\x9C\x8D"; // U+F70D
// Kept bytes and marks are U+F700 plus a byte; in UTF-8 they all start with these two bytes.
constexpr char32_t kKeptByteBase = 0xF700;
constexpr unsigned char kKeptSecondFirst = 0x9C; // U+F700
constexpr unsigned char kKeptSecondLast = 0x9F;  // U+F7FF
// Every UTF-8 character from U+F000 to U+FFFF, the two marks included, starts with this byte.
constexpr char kMarkLeadByte = '\xEF';

bool startsWithAt(std::string_view text, std::size_t offset, std::string_view prefix) {
    return text.size() - offset >= prefix.size() &&
           text.compare(offset, prefix.size(), prefix) == 0;
}

// Position of the first byte at or after from that is one of the given bytes, or npos.
// A plain loop: find_first_of tests every byte against the set through a function call.
template <char... Bytes> std::size_t findAnyOf(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (((c == Bytes) || ...))
            return i;
    }
    return std::string_view::npos;
}

// Turns decoded file text, with its CR and LF characters exactly as in the file, into the
// worksheet text: the style's line breaks become "\n", every other CR and LF keeps its
// byte through a mark. Only a CR LF file with bare LFs needs to look at its LFs.
std::string markLineBreaks(std::string_view decoded, LineBreakStyle style, bool hasBareLf) {
    const bool markBareLf = style == LineBreakStyle::CrLf && hasBareLf;
    std::string text;
    text.reserve(decoded.size() + decoded.size() / 16);
    std::size_t i = 0;
    while (i < decoded.size()) {
        const std::size_t next =
            markBareLf ? findAnyOf<'\r', '\n'>(decoded, i) : decoded.find('\r', i);
        text.append(decoded.substr(i, next - i));
        if (next == std::string_view::npos)
            break;
        if (decoded[next] == '\r') {
            if (style == LineBreakStyle::CrLf && next + 1 < decoded.size() &&
                decoded[next + 1] == '\n') {
                text.push_back('\n');
                i = next + 2;
            } else {
                text.append(kLoneCarriageReturnUtf8);
                i = next + 1;
            }
        } else {
            // A LF that no CR of a CR LF line break precedes.
            text.append(kBareLineFeedMarkUtf8);
            text.push_back('\n');
            i = next + 1;
        }
    }
    return text;
}

// Valid UTF-8 with at least one character beyond ASCII.
bool isUtf8BeyondAscii(std::string_view bytes) {
    const std::size_t ascii = utf8::asciiPrefixLength(bytes);
    return ascii < bytes.size() && utf8::isValid(bytes.substr(ascii));
}

bool isKeptRange(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]) == 0xEF && i + 1 < bytes.size() &&
           static_cast<unsigned char>(bytes[i + 1]) >= kKeptSecondFirst &&
           static_cast<unsigned char>(bytes[i + 1]) <= kKeptSecondLast;
}

// The text of a UTF-8 file: its characters, except that each byte of an invalid sequence and
// of a character from U+F700 to U+F7FF becomes the kept-byte character U+F700 plus the byte.
std::string decodeUtf8File(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t ascii = utf8::asciiPrefixLength(bytes.substr(i));
        text.append(bytes.substr(i, ascii));
        i += ascii;
        if (i == bytes.size())
            break;
        const std::size_t length = utf8::sequenceLength(bytes.substr(i));
        if (length != 0 && !isKeptRange(bytes, i)) {
            text.append(bytes.substr(i, length));
            i += length;
            continue;
        }
        for (const std::size_t end = i + (length == 0 ? 1 : length); i < end; ++i)
            utf8::append(text, kKeptByteBase + static_cast<unsigned char>(bytes[i]));
    }
    return text;
}

struct EncodedUtf8 {
    std::string bytes;
    std::optional<std::size_t> firstInvalid;
};

// The bytes of a UTF-8 file for staged text: kept-byte characters U+F780 to U+F7FF become
// their byte again.
EncodedUtf8 encodeUtf8File(std::string_view staged) {
    EncodedUtf8 result;
    result.bytes.reserve(staged.size());
    std::size_t i = 0;
    while (i < staged.size()) {
        const std::size_t ascii = utf8::asciiPrefixLength(staged.substr(i));
        result.bytes.append(staged.substr(i, ascii));
        i += ascii;
        if (i == staged.size())
            break;
        const utf8::Char ch = utf8::decodeChar(staged, i);
        if (!ch.valid && !result.firstInvalid)
            result.firstInvalid = i;
        if (ch.valid && ch.codePoint >= kKeptByteBase + 0x80 &&
            ch.codePoint <= kKeptByteBase + 0xFF)
            result.bytes.push_back(static_cast<char>(ch.codePoint - kKeptByteBase));
        else
            result.bytes.append(staged.substr(i, ch.length));
        i += ch.length;
    }
    return result;
}

} // namespace

DecodedWorksheetFile decodeWorksheetFile(std::string_view bytes) {
    DecodedWorksheetFile result;
    if (const std::size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
        result.zeroByteOffset = zero;
        bytes = bytes.substr(0, zero);
    }

    std::size_t crLfBreaks = 0;
    std::size_t bareLfBreaks = 0;
    for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos;
         lf = bytes.find('\n', lf + 1)) {
        if (lf > 0 && bytes[lf - 1] == '\r')
            ++crLfBreaks;
        else
            ++bareLfBreaks;
    }
    result.lineBreaks = bareLfBreaks > crLfBreaks ? LineBreakStyle::Lf : LineBreakStyle::CrLf;

    // CR and LF bytes are never part of a two-byte GBK character (trail bytes start at
    // 0x40) nor of a UTF-8 one, so they come out of the decoder unchanged and in place.
    std::string decoded;
    if (bytes.starts_with(utf8::kByteOrderMark)) {
        result.encoding = FileEncoding::Utf8WithBom;
        decoded = decodeUtf8File(bytes.substr(utf8::kByteOrderMark.size()));
    } else if (isUtf8BeyondAscii(bytes)) {
        result.encoding = FileEncoding::Utf8;
        decoded = decodeUtf8File(bytes);
    } else {
        decoded = decodeGbk(bytes, InvalidBytes::Preserve).utf8;
    }
    const bool hasCarriageReturn = decoded.find('\r') != std::string::npos;
    const bool hasBareLf = bareLfBreaks > 0;
    if (!hasCarriageReturn && (result.lineBreaks == LineBreakStyle::Lf || !hasBareLf))
        result.text = std::move(decoded); // the common case: nothing to convert
    else
        result.text = markLineBreaks(decoded, result.lineBreaks, hasBareLf);
    return result;
}

EncodedWorksheetFile encodeWorksheetFile(std::string_view text, LineBreakStyle style,
                                         FileEncoding encoding) {
    const std::string_view lineBreak = style == LineBreakStyle::CrLf ? "\r\n" : "\n";

    // First the line breaks and marks become their bytes; the result is still UTF-8 (CR
    // and LF are ASCII) and keeps exactly one LF per line break of the text.
    std::string staged;
    staged.reserve(text.size() + (style == LineBreakStyle::CrLf ? text.size() / 16 : 0));
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t next = findAnyOf<'\n', '\r', kMarkLeadByte>(text, i);
        staged.append(text.substr(i, next - i));
        if (next == std::string_view::npos)
            break;
        if (text[next] == '\n') {
            staged.append(lineBreak);
            i = next + 1;
        } else if (text[next] == '\r') {
            staged.push_back('\r');
            i = next + 1;
        } else if (startsWithAt(text, next, kLoneCarriageReturnUtf8)) {
            staged.push_back('\r');
            i = next + kLoneCarriageReturnUtf8.size();
        } else if (startsWithAt(text, next, kBareLineFeedMarkUtf8)) {
            // The mark makes the line break behind it a bare LF; without one it is dropped.
            i = next + kBareLineFeedMarkUtf8.size();
            if (i < text.size() && text[i] == '\n') {
                staged.push_back('\n');
                ++i;
            }
        } else {
            staged.push_back(kMarkLeadByte);
            i = next + 1;
        }
    }

    EncodedText encoded;
    if (encoding == FileEncoding::Gbk) {
        encoded = encodeGbk(staged);
    } else {
        EncodedUtf8 asUtf8 = encodeUtf8File(staged);
        encoded.firstUnencodable = asUtf8.firstInvalid;
        if (encoding == FileEncoding::Utf8WithBom)
            asUtf8.bytes.insert(0, utf8::kByteOrderMark);
        encoded.gbk = std::move(asUtf8.bytes);
    }
    // A zero character would end the file for the reader: it is refused like a character
    // that the encoding lacks.
    std::optional<std::size_t> bad = encoded.firstUnencodable;
    if (const std::size_t zero = staged.find('\0'); zero != std::string::npos)
        bad = bad ? std::min(*bad, zero) : zero;

    EncodedWorksheetFile result;
    if (!bad) {
        result.bytes = std::move(encoded.gbk);
        return result;
    }
    const std::string_view before = std::string_view(staged).substr(0, *bad);
    const std::size_t lastLineFeed = before.rfind('\n');
    const std::size_t lineStart = lastLineFeed == std::string_view::npos ? 0 : lastLineFeed + 1;
    const utf8::Char ch = utf8::decodeChar(staged, *bad);
    UnencodableCharacter& what = result.unencodable.emplace();
    what.codePoint = ch.codePoint;
    if (ch.valid)
        what.character = staged.substr(*bad, ch.length);
    else
        utf8::append(what.character, ch.codePoint);
    what.line = static_cast<int>(std::count(before.begin(), before.end(), '\n')) + 1;
    what.column = static_cast<int>(utf8::countChars(before.substr(lineStart))) + 1;
    return result;
}

} // namespace quillet
