// SPDX-License-Identifier: GPL-3.0-or-later
// Prime factorisation of 64-bit integers, rendered as worksheet text
// ("2 * 2 * 3", or "2*2*...*3" when the spaced form would be too long).
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// Returns the prime factors of n in ascending order with multiplicity, joined
// by " * ". When that text is longer than 50 characters all blanks are removed.
// n == 1 gives "1"; n < 1 gives "0".
std::string factorText(std::int64_t n);

} // namespace quillet
