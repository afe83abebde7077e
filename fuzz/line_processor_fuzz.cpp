// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes, split at line feeds, run as worksheet lines through the
// line processor with the real function graphs and every display setting; the same bytes also
// go through the worksheet file format, which must give them back unchanged.
#include "graphs/worksheet_session.h"
#include "worksheet/worksheet_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Loading and saving an unedited file gives back its bytes up to the first zero byte, and the
// text holds no CR, at which a text control would break the line.
void checkFileRoundTrip(std::string_view bytes) {
    const quillet::DecodedWorksheetFile decoded = quillet::decodeWorksheetFile(bytes);
    const quillet::EncodedWorksheetFile encoded =
        quillet::encodeWorksheetFile(decoded.text, decoded.lineBreaks, decoded.encoding);
    if (encoded.unencodable || decoded.text.find('\r') != std::string::npos ||
        encoded.bytes != bytes.substr(0, decoded.zeroByteOffset.value_or(std::string_view::npos)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the settings and the road each line takes.
    const std::uint8_t settings = data[0];
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    checkFileRoundTrip(input);

    quillet::WorksheetSession session;
    session.engine().seedRandom(settings);
    session.engine().setDegrees((settings & 1) == 0);
    quillet::MemoryWorksheet& worksheet = session.worksheet();
    worksheet.setShowResultsInWorksheet((settings & 2) == 0);
    session.logic().setDisplayBase(static_cast<quillet::DisplayBase>((settings >> 2) % 3));
    // With the top bit set, each line is repeated to reach and pass the line length limit.
    const bool lengthen = (settings & 0x80) != 0;

    int lineNumber = 0;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        std::string line(input.substr(0, end));
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (lengthen && !line.empty()) {
            const std::size_t target = quillet::WorksheetLogic::kMaxLineBytes - 8 + line.size();
            while (line.size() < target)
                line += line.substr(0, target - line.size());
        }

        worksheet.setCaret(worksheet.lineCount() - 1, std::string_view::npos);
        switch (((settings >> 4) + lineNumber++) & 3) {
        case 0:
            session.completeLine(line);
            break;
        case 1: // the caret leaves the line
            worksheet.insertAtCaret(line);
            session.logic().keyPressed(quillet::VirtualKey::Up);
            break;
        case 2: // the caret arrives, or a mode button is clicked
            worksheet.insertAtCaret(line);
            session.logic().keyReleased(quillet::VirtualKey::Down);
            break;
        default: // Insert pastes the last result, then Enter
            worksheet.insertAtCaret(line);
            session.logic().keyPressed(quillet::VirtualKey::Insert);
            session.pressEnter();
            break;
        }
    }
    return 0;
}
