// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/random_generator.h"

namespace quillet {

std::uint32_t RandomGenerator::mixSeed() {
    m_s1 = (m_s1 * 1821u + 1u) % 65731u;
    m_s2 = (m_s2 * 1421u + 1u) % 65609u;
    return (m_s1 << 16) ^ m_s2;
}

void RandomGenerator::seed(std::uint32_t value) {
    m_index = 0;
    m_s1 = value % 65731u;
    m_s2 = value % 65609u;
    for (int i = 0; i < 99; ++i)
        mixSeed();
    for (auto& entry : m_table)
        entry = mixSeed();
    for (int i = 0; i < 99; ++i)
        next();
}

std::uint32_t RandomGenerator::next() {
    m_index = (m_index + 1) % 55;
    m_table[m_index] = m_table[(m_index + 23) % 55] + m_table[(m_index + 54) % 55];
    return m_table[m_index];
}

} // namespace quillet
