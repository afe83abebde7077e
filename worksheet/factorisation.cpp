// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/factorisation.h"

#include "worksheet/montgomery64.h"
#include "worksheet/semiprime_split.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace quillet {
namespace {

using montgomery64::inverseMod2_64;
using montgomery64::isSmallPrime;
using montgomery64::Montgomery;
using u64 = std::uint64_t;

// Longer texts are written without blanks so they stay readable in a cell.
constexpr std::size_t kMaxSpacedLength = 50;

// Odd primes below this bound are removed by trial division before
// Miller-Rabin and the divisor search are used on what is left.
constexpr u64 kTrialBound = 1024;

// An odd prime with its inverse modulo 2^64: p divides n exactly when
// n * inverse <= UINT64_MAX / p, and then n * inverse is the quotient.
struct TrialPrime {
    u64 prime;
    u64 inverse;
    u64 maxQuotient;
};

constexpr std::size_t countOddPrimesBelow(u64 bound) {
    std::size_t count = 0;
    for (u64 p = 3; p < bound; p += 2) {
        count += isSmallPrime(p) ? 1u : 0u;
    }
    return count;
}

constexpr auto kTrialPrimes = [] {
    std::array<TrialPrime, countOddPrimesBelow(kTrialBound)> table{};
    std::size_t next = 0;
    for (u64 p = 3; p < kTrialBound; p += 2) {
        if (isSmallPrime(p)) {
            table[next++] = TrialPrime{p, inverseMod2_64(p), ~u64{0} / p};
        }
    }
    return table;
}();

// Deterministic Miller-Rabin. Each base set below has no strong pseudoprime under its
// bound, so the smaller numbers, such as the factors of a product of two large primes, are
// decided with fewer bases.
struct WitnessSet {
    u64 bound;
    std::array<u64, 12> bases;
    std::size_t count;
};
constexpr std::array<WitnessSet, 4> kWitnessSets = {{
    {4759123141, {2, 7, 61}, 3},
    {341550071728321, {2, 3, 5, 7, 11, 13, 17}, 7},
    {3825123056546413051, {2, 3, 5, 7, 11, 13, 17, 19, 23}, 9},
    {~u64{0}, {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}, 12},
}};

bool isPrime(u64 n) {
    if (n < 2) {
        return false;
    }
    for (const u64 p : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u}) {
        if (n % p == 0) {
            return n == p;
        }
    }
    if (n < 41 * 41) {
        return true;
    }
    // n is odd, above every base and coprime to every prime up to 37 from here on.
    const Montgomery mont(n);
    const u64 one = mont.one();
    const u64 minusOne = n - one;
    const int shift = std::countr_zero(n - 1);
    const u64 oddPart = (n - 1) >> shift;

    const WitnessSet& set = *std::find_if(kWitnessSets.begin(), kWitnessSets.end(),
                                          [n](const WitnessSet& s) { return n < s.bound; });
    for (std::size_t b = 0; b < set.count; ++b) {
        u64 x = one;
        u64 power = mont.toMontgomery(set.bases[b]); // every base is below n
        for (u64 e = oddPart; e != 0; e >>= 1) {
            if (e & 1) {
                x = mont.multiply(x, power);
            }
            power = mont.multiply(power, power);
        }
        if (x == one || x == minusOne) {
            continue;
        }
        bool witnessed = true;
        for (int i = 1; i < shift; ++i) {
            x = mont.multiply(x, x);
            if (x == minusOne) {
                witnessed = false;
                break;
            }
        }
        if (witnessed) {
            return false;
        }
    }
    return true;
}

// Floor of the square root, exact for every 64-bit value.
u64 integerSqrt(u64 n) {
    u64 r = static_cast<u64>(std::sqrt(static_cast<double>(n)));
    while (r > 0 && (r > 0xFFFFFFFFu || r * r > n)) {
        --r;
    }
    while (r < 0xFFFFFFFFu && (r + 1) * (r + 1) <= n) {
        ++r;
    }
    return r;
}

// Collects the prime factors of an odd composite n into factors[count...].
void splitComposite(u64 n, std::array<u64, 64>& factors, std::size_t& count) {
    std::array<u64, 64> pending{};
    std::size_t pendingCount = 0;
    pending[pendingCount++] = n;
    while (pendingCount > 0) {
        const u64 m = pending[--pendingCount];
        if (isPrime(m)) {
            factors[count++] = m;
            continue;
        }
        const u64 root = integerSqrt(m);
        if (root * root == m) {
            pending[pendingCount++] = root;
            pending[pendingCount++] = root;
            continue;
        }
        const u64 divisor = findProperDivisor(m);
        pending[pendingCount++] = divisor;
        pending[pendingCount++] = m / divisor;
    }
}

} // namespace

std::string factorText(std::int64_t n) {
    if (n < 1) {
        return "0";
    }
    if (n == 1) {
        return "1";
    }

    // At most 62 factors for a value below 2^63.
    std::array<u64, 64> factors{};
    std::size_t count = 0;
    u64 rest = static_cast<u64>(n);

    const int twos = std::countr_zero(rest);
    rest >>= twos;
    for (int i = 0; i < twos; ++i) {
        factors[count++] = 2;
    }

    for (const TrialPrime& tp : kTrialPrimes) {
        if (tp.prime * tp.prime > rest) {
            break;
        }
        for (u64 q = rest * tp.inverse; q <= tp.maxQuotient; q = rest * tp.inverse) {
            rest = q;
            factors[count++] = tp.prime;
        }
    }

    if (rest > 1) {
        if (rest < kTrialBound * kTrialBound) {
            // No prime factor below kTrialBound and below its square: prime.
            factors[count++] = rest;
        } else {
            splitComposite(rest, factors, count);
        }
    }
    std::sort(factors.begin(), factors.begin() + static_cast<std::ptrdiff_t>(count));

    std::string text;
    text.reserve(count * 22);
    std::array<char, 24> digits{};
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += " * ";
        }
        const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), factors[i]);
        text.append(digits.data(), result.ptr);
    }
    if (text.size() > kMaxSpacedLength) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    }
    return text;
}

} // namespace quillet
