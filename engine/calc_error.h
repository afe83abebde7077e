// SPDX-License-Identifier: GPL-3.0-or-later
// The one exception in which every evaluation error travels: a UTF-8 message text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quillet {

class CalcError : public std::runtime_error {
public:
    explicit CalcError(std::string_view message) : std::runtime_error(std::string(message)) {}
    std::string_view message() const noexcept { return what(); }
};

} // namespace quillet
