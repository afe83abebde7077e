// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/worksheet_session.h"

namespace quillet {

WorksheetSession::WorksheetSession() = default;

void WorksheetSession::completeLine(std::string_view text) {
    m_worksheet.insertAtCaret(text);
    m_logic.textChanged(); // typing never runs a line
    pressEnter();
}

void WorksheetSession::pressEnter() {
    if (!m_logic.keyPressed(VirtualKey::Enter))
        m_worksheet.insertAtCaret("\n");
    m_logic.textChanged();
    m_logic.keyReleased(VirtualKey::Enter);
}

void WorksheetSession::moveCaret(VirtualKey key, int line) {
    m_logic.keyPressed(key);
    m_worksheet.setCaret(line, 0);
    m_logic.keyReleased(key);
}

} // namespace quillet
