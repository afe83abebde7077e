// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/variable_table.h"

#include <cstring>

namespace quillet {

Complex& VariableTable::lookupOrCreate(std::string_view name) {
    auto it = m_entries.find(name);
    if (it == m_entries.end())
        it = m_entries.emplace(std::string(name), Complex(0.0, 0.0)).first;
    return it->second;
}

const Complex* VariableTable::find(std::string_view name) const {
    const auto it = m_entries.find(name);
    return it == m_entries.end() ? nullptr : &it->second;
}

void VariableTable::eraseVariable(std::string_view name) {
    const auto it = m_entries.find(name);
    if (it != m_entries.end())
        m_entries.erase(it);
}

const VariableTable::Map::value_type* VariableTable::longestPrefixOf(const char* text) const {
    if (text[0] == '\0')
        return nullptr;
    // Every name that is a prefix of text starts with text's first byte, so only that run of
    // the ordered table needs to be looked at.
    const Map::value_type* best = nullptr;
    for (auto it = m_entries.lower_bound(std::string_view(text, 1));
         it != m_entries.end() && it->first[0] == text[0]; ++it) {
        const std::string& name = it->first;
        // strncmp stops at the text's terminator, which no name contains.
        if (std::strncmp(name.c_str(), text, name.size()) == 0 &&
            (best == nullptr || name.size() > best->first.size()))
            best = &*it;
    }
    return best;
}

} // namespace quillet
