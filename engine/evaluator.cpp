// SPDX-License-Identifier: GPL-3.0-or-later
// The recursive reader of expressions: sums, products, operands and argument lists, read
// directly from the blank-free text without a token list or syntax tree.
#include "engine/ascii.h"
#include "engine/builtin_functions.h"
#include "engine/calc_error.h"
#include "engine/expression_engine.h"
#include "engine/messages.h"
#include "engine/utf8.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace quillet {

namespace {

constexpr bool isDelimiter(char c) {
    switch (c) {
    case '\0':
    case '%':
    case ')':
    case '*':
    case '+':
    case ',':
    case '-':
    case '/':
        return true;
    default:
        return false;
    }
}

using ascii::isBlank;
using ascii::isDigit;

int hexDigitValue(char c) {
    if (isDigit(c))
        return c - '0';
    const char lower = ascii::toLower(c);
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + 10;
    return -1;
}

// Messages that quote the input hold whole characters only; runs are cut at 99 characters.
constexpr std::size_t kMaxQuotedChars = 99;

[[noreturn]] void raiseUnrecognised(std::string_view quoted, std::size_t maxChars) {
    std::string message(messages::kUnrecognisedHead);
    utf8::appendSanitized(message, quoted, maxChars);
    message += messages::kUnrecognisedTail;
    throw CalcError(message);
}

// The double that the standard decimal conversion reads from the longest valid number at the
// start of [first, last), independent of the process locale; 0 when there is none.
double readDecimal(const char* first, const char* last) {
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow gives infinity and underflow zero, exactly as strtod reports them.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        const std::string text(first, last);
        return strtod_l(text.c_str(), nullptr, cLocale);
    }
    return result.ec == std::errc() ? value : 0.0;
}

struct DepthGuard {
    explicit DepthGuard(int& depth) : m_depth(depth) {
        if (++m_depth > ExpressionEngine::kMaxDepth) {
            --m_depth;
            throw CalcError(messages::kNestingTooDeep);
        }
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    int& m_depth;
};

} // namespace

Complex ExpressionEngine::evaluateLine(std::string_view line) {
    m_work.clear();
    for (const char c : line) {
        if (c == '\0')
            break;
        if (!isBlank(c))
            m_work += c;
    }
    if (m_work.empty())
        return Complex(0.0, 0.0);

    const std::size_t equals = m_work.find('=');
    clearFlags();
    const int size = static_cast<int>(m_work.size());
    if (equals == std::string::npos)
        return evaluateRange(m_work.c_str(), size);

    const Complex value =
        evaluateRange(m_work.c_str() + equals + 1, size - static_cast<int>(equals) - 1);
    assign(std::string_view(m_work).substr(0, equals), value);
    return value;
}

void ExpressionEngine::assign(std::string_view name, const Complex& value) {
    if (name.empty() || !ascii::isLetter(name[0]))
        throw CalcError(messages::kNameNotAlpha);
    for (const char c : name.substr(1))
        if (!ascii::isLetter(c) && !isDigit(c))
            throw CalcError(messages::kNameNotAlphanumeric);
    if (name == "e" || name == "PI" || name == "pi")
        throw CalcError(messages::kReservedName);
    Complex& stored = m_variables.lookupOrCreate(name);
    if (stored != value) {
        stored = value;
        m_variableChanged = true;
    }
    m_lastLineAssigned = true;
}

Complex ExpressionEngine::evaluateRange(const char* text, int length) {
    const DepthGuard guard(m_depth);

    int pos = 0;
    const auto readSigns = [&] {
        bool negate = false;
        for (; text[pos] == '+' || text[pos] == '-'; ++pos)
            negate ^= text[pos] == '-';
        return negate;
    };
    const auto readOperand = [&](bool negate) {
        const Operand operand = evaluatePrimary(text + pos);
        pos += operand.consumed;
        return negate ? -operand.value : operand.value;
    };

    Complex product = readOperand(readSigns());
    while (pos < length) {
        const char op = text[pos];
        if (op == '+' || op == '-') // the rest of the range is a sum of its own, read from op
            return product + evaluateRange(text + pos, length - pos);
        if (op != '*' && op != '/' && op != '%') {
            const std::string_view rest(text + pos);
            raiseUnrecognised(rest, 1);
        }
        ++pos;
        const Complex right = readOperand(readSigns());
        if (op == '*') {
            product *= right;
            continue;
        }
        if (right == Complex(0.0, 0.0))
            throw CalcError(messages::kDivisionByZero);
        if (op == '/') {
            product /= right;
        } else {
            const double divisor = requireReal(right);
            product = Complex(std::fmod(requireReal(product), divisor), 0.0);
        }
    }
    return product;
}

ExpressionEngine::Operand ExpressionEngine::evaluatePrimary(const char* text) {
    if (const FunctionName* function = matchFunctionName(text)) {
        const int nameLength = static_cast<int>(function->name.size());
        const Arguments args = parseArguments(text + nameLength, function->twoArguments);
        return {callFunction(function->id, args.first, args.second), nameLength + args.consumed};
    }

    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0; // longer numbers keep their low 32 bits
        int pos = 2;
        for (int digit; (digit = hexDigitValue(text[pos])) >= 0; ++pos)
            value = value * 16u + static_cast<std::uint32_t>(digit);
        return {Complex(static_cast<std::int32_t>(value), 0.0), pos};
    }

    if (text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        std::uint32_t value = 0;
        int pos = 2;
        for (; text[pos] == '0' || text[pos] == '1'; ++pos)
            value = value * 2u + static_cast<std::uint32_t>(text[pos] - '0');
        return {Complex(static_cast<std::int32_t>(value), 0.0), pos};
    }

    if (isDigit(text[0]) || text[0] == '.') {
        int pos = 0;
        while (isDigit(text[pos]))
            ++pos;
        if (text[pos] == '.')
            ++pos;
        while (isDigit(text[pos]))
            ++pos;
        if (text[pos] == 'e' || text[pos] == 'E') {
            ++pos;
            if (text[pos] == '+' || text[pos] == '-')
                ++pos;
            while (isDigit(text[pos]))
                ++pos;
        }
        const double value = readDecimal(text, text + pos);
        if (text[pos] == 'i')
            return {Complex(0.0, value), pos + 1};
        return {Complex(value, 0.0), pos};
    }

    if (const auto* variable = m_variables.longestPrefixOf(text))
        return {variable->second, static_cast<int>(variable->first.size())};

    if (ascii::toLower(text[0]) == 'p' && ascii::toLower(text[1]) == 'i' && isDelimiter(text[2]))
        return {Complex(kPi, 0.0), 2};

    if (text[0] == 'e' && isDelimiter(text[1]))
        return {Complex(kE, 0.0), 1};

    int runLength = 0;
    while (!isDelimiter(text[runLength]))
        ++runLength;
    if (runLength == 0)
        throw CalcError(messages::kMissingOperand);
    raiseUnrecognised(std::string_view(text, static_cast<std::size_t>(runLength)), kMaxQuotedChars);
}

ExpressionEngine::Arguments ExpressionEngine::parseArguments(const char* text, bool twoArguments) {
    int length = 0;
    for (int depth = 1;; ++length) {
        const char c = text[length];
        if (c == '\0')
            throw CalcError(messages::kMissingParenthesis);
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            break;
    }

    Arguments args{Complex(), Complex(), length + 1};
    if (!twoArguments) {
        args.first = evaluateRange(text, length);
        return args;
    }

    int comma = -1;
    for (int pos = 0, depth = 0; pos < length; ++pos) {
        if (text[pos] == '(')
            ++depth;
        else if (text[pos] == ')')
            --depth;
        else if (text[pos] == ',' && depth == 0) {
            comma = pos;
            break;
        }
    }
    if (comma < 0)
        throw CalcError(messages::kMissingComma);
    args.first = evaluateRange(text, comma);
    args.second = evaluateRange(text + comma + 1, length - comma - 1);
    return args;
}

} // namespace quillet
