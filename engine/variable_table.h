// SPDX-License-Identifier: GPL-3.0-or-later
// The user's variables: names compared byte for byte (case-sensitive, upper case before
// lower case), each holding a complex value, walked in name order.
#pragma once

#include "engine/values.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace quillet {

class VariableTable {
public:
    using Map = std::map<std::string, Complex, std::less<>>;

    // The stored value of name, created as 0 + 0i when absent.
    Complex& lookupOrCreate(std::string_view name);
    const Complex* find(std::string_view name) const;
    void eraseVariable(std::string_view name);

    // The longest name that is a prefix of the zero-terminated text, or nullptr when no
    // name is.
    const Map::value_type* longestPrefixOf(const char* text) const;

    Map::const_iterator begin() const { return m_entries.begin(); }
    Map::const_iterator end() const { return m_entries.end(); }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

private:
    Map m_entries;
};

} // namespace quillet
