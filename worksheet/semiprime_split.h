// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a proper divisor of an odd composite number below 2^63: the hard part of factoring
// a product of two large primes.
#pragma once

#include <cstdint>

namespace quillet {

// Returns a divisor d of n with 1 < d < n. n must be odd, composite and below 2^63. The search
// is deterministic: the same n always gives the same divisor.
std::uint64_t findProperDivisor(std::uint64_t n);

// The elliptic-curve stage of that search alone: a proper divisor of n, or 0 when n is below
// 2^40 (left to Pollard's rho) or every curve failed.
std::uint64_t findDivisorByCurves(std::uint64_t n);

} // namespace quillet
