// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-random generator behind rnd(): a seeded additive lagged-Fibonacci table,
// reproducible bit for bit for a given seed.
#pragma once

#include <array>
#include <cstdint>

namespace quillet {

class RandomGenerator {
public:
    RandomGenerator() { seed(0); }
    void seed(std::uint32_t value);
    std::uint32_t next();

private:
    std::uint32_t mixSeed();

    std::uint32_t m_index = 0;
    std::uint32_t m_s1 = 0;
    std::uint32_t m_s2 = 0;
    std::array<std::uint32_t, 55> m_table{};
};

} // namespace quillet
