// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/worksheet_logic.h"

#include "engine/ascii.h"
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "worksheet/factorisation.h"
#include "worksheet/text_codec.h"
#include "worksheet/worksheet_messages.h"
#include "worksheet/worksheet_views.h"

#include <charconv>

namespace quillet {

namespace {

using ascii::isBlank;
using ascii::isDigit;

std::string_view trimLeft(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    return text.substr(start);
}

std::string toLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = ascii::toLower(c);
    return lower;
}

// precision keeps the low 32 bits of the truncated argument, capped at 15. Arguments that
// do not fit 64 bits (also infinities and NaN) are simply too large: 15.
std::uint32_t precisionFromArgument(double value) {
    constexpr std::uint32_t kMaxPrecision = 15;
    if (!fitsInt64(value))
        return kMaxPrecision;
    const auto bits =
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
    return bits > kMaxPrecision ? kMaxPrecision : bits;
}

// The integer that "fact" factorises: a plain number of at most 18 digits is read as
// written; anything else is an expression whose real value is truncated.
std::int64_t factArgument(ExpressionEngine& engine, std::string_view argument) {
    int digits = 0;
    bool plain = true;
    for (const char c : argument) {
        if (isDigit(c))
            ++digits;
        else if (!isBlank(c))
            plain = false;
    }
    if (!plain)
        return truncateToInt64(requireReal(engine.evaluateLine(argument)));
    if (digits > 18)
        throw CalcError(messages::kMaxDigits);
    const std::string_view number = trimLeft(argument);
    std::int64_t value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

} // namespace

struct WorksheetLogic::Outcome {
    enum class Kind { Stop, Success, Failure } kind;
    std::string text;
};

WorksheetLogic::WorksheetLogic(ExpressionEngine& engine, WorksheetView& worksheet,
                               MainWindowView& mainWindow, FunctionGraphsPort& graphs,
                               VariableListView& variableList)
    : m_engine(engine), m_worksheet(worksheet), m_mainWindow(mainWindow), m_graphs(graphs),
      m_variableList(variableList) {}

void WorksheetLogic::processLine(bool completedLine, bool showResult) {
    const bool showResultsInWorksheet = m_mainWindow.showResultsInWorksheet();
    m_engine.clearFlags();

    const int index = m_worksheet.caretLine() - (completedLine ? 1 : 0);
    const std::string raw = index >= 0 ? m_worksheet.lineText(index) : std::string();

    const std::string_view working = trimLeft(raw);
    if (!working.empty() && working[0] == '#') {
        m_mainWindow.setStatusText({});
        return;
    }
    const std::string_view cut = std::string_view(raw).substr(0, raw.find('#'));
    if (working.empty())
        return;

    // The clearing commands act only on Enter: the caret passing over them, or a button
    // re-running the caret's line, must not wipe the worksheet.
    const std::string lower = toLowerAscii(working);
    if (lower == "clr" || lower == "cls" || lower == "fxclr") {
        if (completedLine && lower == "fxclr")
            m_graphs.clearFunctions();
        else if (completedLine)
            m_worksheet.replaceAll({});
        m_mainWindow.setStatusText({});
        return;
    }

    // A line beyond the limit is refused as a whole: evaluating a cut-off part would show,
    // and store, a value the user never wrote.
    const Outcome outcome =
        gbkPrefixLength(raw, kMaxLineBytes) < raw.size()
            ? Outcome{Outcome::Kind::Failure, std::string(messages::kLineTooLongPrefix) +
                                                  std::to_string(kMaxLineBytes) +
                                                  std::string(messages::kLineTooLongSuffix)}
            : runCommandOrExpression(lower, trimLeft(cut), cut, completedLine, showResult);
    if (outcome.kind == Outcome::Kind::Stop)
        return;
    const bool failed = outcome.kind == Outcome::Kind::Failure;
    if (completedLine)
        m_lastResult = failed ? std::string() : outcome.text;

    if (completedLine && showResultsInWorksheet && !m_engine.lastLineAssigned())
        m_worksheet.replaceSelection((failed ? "# " : "") + outcome.text + "\n");
    if (showResult)
        m_mainWindow.setStatusText(failed ? outcome.text
                                          : std::string(messages::kResultPrefix) + outcome.text);
    if (m_engine.variableChanged())
        m_variableList.refreshVariableList();
}

WorksheetLogic::Outcome WorksheetLogic::runCommandOrExpression(std::string_view lower,
                                                               std::string_view argumentLine,
                                                               std::string_view cutLine,
                                                               bool completedLine,
                                                               bool showResult) {
    try {
        if (lower.starts_with("fx") && showResult) {
            if (lower.size() < 4 || !isDigit(lower[2]) || lower[3] != ' ')
                throw CalcError(messages::kBadSlot);
            const int slot = lower[2] - '0';
            const bool bringUp = completedLine || m_lastKey == VirtualKey::F12;
            const bool defined = m_graphs.defineFunction(argumentLine.substr(3), slot, bringUp);
            m_mainWindow.setStatusText(defined ? messages::kFunctionDefined : std::string_view());
            if (bringUp)
                m_graphs.showGraphWindow();
            m_worksheet.focusWorksheet();
            return {Outcome::Kind::Stop, {}};
        }
        if (lower.starts_with("precision")) {
            const double value = requireReal(m_engine.evaluateLine(argumentLine.substr(9)));
            m_precision = precisionFromArgument(value);
            m_variableList.refreshVariableList();
            // The confirmation is shown like an error: "# " in the worksheet, no "Result: ".
            return {Outcome::Kind::Failure,
                    std::string(messages::kPrecisionSetPrefix) + std::to_string(m_precision)};
        }
        if (lower.starts_with("fact") && showResult) {
            const std::int64_t number = factArgument(m_engine, argumentLine.substr(4));
            if (!completedLine && number > 1000000000000) {
                // Long factorisations start only from Enter, never from caret moves.
                m_mainWindow.setStatusText({});
                return {Outcome::Kind::Stop, {}};
            }
            return {Outcome::Kind::Success, factorText(number)};
        }
        const Complex value = m_engine.evaluateLine(cutLine);
        return {Outcome::Kind::Success, formatResult(value, m_displayBase, m_precision)};
    } catch (const CalcError& error) {
        return {Outcome::Kind::Failure, std::string(error.message())};
    }
}

bool WorksheetLogic::keyPressed(VirtualKey key) {
    m_lastKey = key;
    switch (key) {
    case VirtualKey::Shift:
        m_shiftDown = true;
        break;
    case VirtualKey::Ctrl:
        m_ctrlDown = true;
        break;
    case VirtualKey::Insert:
        if (!m_shiftDown && !m_ctrlDown) {
            m_worksheet.replaceSelection(m_lastResult);
            return true;
        }
        break;
    case VirtualKey::Up:
    case VirtualKey::Down:
        processLine(false, false);
        break;
    default:
        break;
    }
    return false;
}

void WorksheetLogic::keyReleased(VirtualKey key) {
    switch (key) {
    case VirtualKey::Shift:
        m_shiftDown = false;
        break;
    case VirtualKey::Ctrl:
        m_ctrlDown = false;
        break;
    case VirtualKey::Up:
    case VirtualKey::Down:
        processLine(false, true);
        break;
    default:
        break;
    }
}

void WorksheetLogic::textChanged() {
    if (m_lastKey == VirtualKey::Enter) {
        m_lastKey = VirtualKey::None;
        processLine(true, true);
    }
}

} // namespace quillet
