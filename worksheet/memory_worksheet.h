// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet and status line kept in memory, for the batch tool, tests and fuzzing:
// the same text operations the editor widget offers, without any window.
#pragma once

#include "worksheet/worksheet_views.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class MemoryWorksheet : public WorksheetView, public MainWindowView {
public:
    MemoryWorksheet() : m_lines(1) {}

    // WorksheetView
    int caretLine() const override { return m_caretLine; }
    std::string lineText(int index) const override;
    void replaceSelection(std::string_view text) override { insertAtCaret(text); }
    void replaceAll(std::string_view text) override;
    void focusWorksheet() override {}

    // MainWindowView
    void setStatusText(std::string_view text) override { m_status = text; }
    bool showResultsInWorksheet() const override { return m_showResults; }

    // Typing: inserts text at the caret; "\n" starts a new line.
    void insertAtCaret(std::string_view text);
    void setCaret(int line, std::size_t column);
    void setShowResultsInWorksheet(bool show) { m_showResults = show; }

    const std::string& statusText() const { return m_status; }
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // The whole text with lineBreak between lines.
    std::string text(std::string_view lineBreak = "\n") const;

private:
    std::vector<std::string> m_lines;
    int m_caretLine = 0;
    std::size_t m_caretColumn = 0;
    std::string m_status;
    bool m_showResults = true;
};

} // namespace quillet
