// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet file format: the worksheet text as GBK (or, for files that are written in
// it, UTF-8) bytes with CR LF (or, for files that use them, bare LF) line breaks. Loading
// and saving an unedited text gives back the file byte for byte, whatever bytes it holds
// before its first zero byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// How a file separates its lines. A new worksheet is written with CR LF.
enum class LineBreakStyle { CrLf, Lf };

// How a file encodes its characters. A new worksheet is written in GBK.
enum class FileEncoding { Gbk, Utf8, Utf8WithBom };

// Characters that keep the line-break bytes which do not follow the file's style, so that
// the text shows every line break and still writes the file back unchanged:
// - kLoneCarriageReturn stands for a CR byte that is not part of the style's line break
//   (every CR of a bare-LF file, a CR not followed by LF in a CR LF file);
// - kBareLineFeedMark, directly before a "\n", makes that line break a bare LF in a CR LF
//   file. Elsewhere it means nothing and is not written.
// Both lie in the private-use area next to the code points of undecodable bytes
// (text_codec.h); GBK never decodes to them.
inline constexpr char32_t kBareLineFeedMark = 0xF70A;
inline constexpr char32_t kLoneCarriageReturn = 0xF70D;

struct DecodedWorksheetFile {
    std::string text; // UTF-8, lines separated by "\n"
    LineBreakStyle lineBreaks = LineBreakStyle::CrLf;
    FileEncoding encoding = FileEncoding::Gbk;
    // Offset of the first zero byte; the text holds only the bytes before it.
    std::optional<std::size_t> zeroByteOffset;
};

// Reads a file's bytes. The style is the more frequent of CR LF and bare LF (CR LF when
// neither occurs more often). A file that starts with the UTF-8 byte-order mark, or that is
// valid UTF-8 with at least one character beyond ASCII, is UTF-8; any other file is GBK.
// Bytes that cannot be decoded become the private-use characters of text_codec.h
// (InvalidBytes::Preserve: U+F700 plus the byte); so do the bytes of a UTF-8 file's own
// characters from U+F700 to U+F7FF, which the text uses for its marks.
DecodedWorksheetFile decodeWorksheetFile(std::string_view bytes);

// A character that a worksheet file cannot hold.
struct UnencodableCharacter {
    std::string character; // its UTF-8 text (U+FFFD for a byte that is not valid UTF-8)
    char32_t codePoint = 0;
    int line = 0;   // 1-based
    int column = 0; // 1-based, counted in characters
};

struct EncodedWorksheetFile {
    std::string bytes; // empty when unencodable is set
    std::optional<UnencodableCharacter> unencodable;
};

// Writes text (UTF-8, "\n" lines) as file bytes with the given line breaks and encoding.
// Fails on the first character the encoding cannot hold (in GBK) and on a zero character,
// which would end the file when it is read back. Encoding decoded.text with the decoded
// style and encoding gives back the decoded bytes exactly.
EncodedWorksheetFile encodeWorksheetFile(std::string_view text, LineBreakStyle style,
                                         FileEncoding encoding);

} // namespace quillet
