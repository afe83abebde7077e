// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/memory_worksheet.h"

#include <algorithm>

namespace quillet {

std::string MemoryWorksheet::lineText(int index) const {
    if (index < 0 || index >= lineCount())
        return {};
    return m_lines[static_cast<std::size_t>(index)];
}

void MemoryWorksheet::replaceAll(std::string_view text) {
    m_lines.assign(1, std::string());
    m_caretLine = 0;
    m_caretColumn = 0;
    insertAtCaret(text);
    m_caretLine = 0;
    m_caretColumn = 0;
}

void MemoryWorksheet::insertAtCaret(std::string_view text) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        const std::string_view piece = text.substr(start, end - start);
        std::string& line = m_lines[static_cast<std::size_t>(m_caretLine)];
        line.insert(m_caretColumn, piece);
        m_caretColumn += piece.size();
        if (end == std::string_view::npos)
            return;
        // Split the caret's line: the rest moves to a new line below.
        std::string rest = line.substr(m_caretColumn);
        line.erase(m_caretColumn);
        m_lines.insert(m_lines.begin() + m_caretLine + 1, std::move(rest));
        ++m_caretLine;
        m_caretColumn = 0;
        start = end + 1;
    }
}

void MemoryWorksheet::setCaret(int line, std::size_t column) {
    m_caretLine = std::clamp(line, 0, lineCount() - 1);
    m_caretColumn = std::min(column, m_lines[static_cast<std::size_t>(m_caretLine)].size());
}

std::string MemoryWorksheet::text(std::string_view lineBreak) const {
    std::string joined;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0)
            joined += lineBreak;
        joined += m_lines[i];
    }
    return joined;
}

} // namespace quillet
