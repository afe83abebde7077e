// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/factorisation.h"
#include "worksheet/semiprime_split.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

using Factors = std::vector<std::uint64_t>;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// Factors joined by " * ", without blanks when that would be longer than 50 characters.
std::string joined(const Factors& factors) {
    std::string text;
    for (const std::uint64_t f : factors)
        text += (text.empty() ? "" : " * ") + std::to_string(f);
    if (text.size() > 50)
        std::erase(text, ' ');
    return text;
}

std::string joined(std::uint64_t p, std::uint64_t q) {
    return joined({std::min(p, q), std::max(p, q)});
}

// Plain trial division: slow, but obviously faithful.
std::string referenceFactorText(std::int64_t value) {
    if (value < 2)
        return value < 1 ? "0" : "1";
    Factors factors;
    auto cofactor = static_cast<std::uint64_t>(value);
    for (std::uint64_t d = 2; d * d <= cofactor; d += 1 + (d > 2))
        for (; cofactor % d == 0; cofactor /= d)
            factors.push_back(d);
    if (cofactor != 1)
        factors.push_back(cofactor);
    return joined(factors);
}

bool isPrime(std::uint64_t n) {
    std::uint64_t d = 2;
    while (d * d <= n && n % d != 0)
        ++d;
    return n >= 2 && d * d > n;
}

// A random prime with exactly `bits` bits, found by trial division.
std::uint64_t randomPrime(std::mt19937_64& rng, int bits) {
    const std::uint64_t low = std::uint64_t{1} << (bits - 1);
    std::uint64_t p = 0;
    do
        p = low | (rng() & (low - 1)) | 1;
    while (!isPrime(p));
    return p;
}

TEST(FactorText, ExamplesGiveExactText) {
    // clang-format off
    const std::pair<std::int64_t, const char*> examples[] = {
        {360, "2 * 2 * 2 * 3 * 3 * 5"}, {7, "7"}, {2, "2"}, {1, "1"}, {255, "3 * 5 * 17"},
        {1024, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2"}, {49, "7 * 7"},
        {1 << 20, "2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2"},
        {(1 << 12) * 11, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 11"}, // 50 characters
        {(1 << 11) * 11 * 13, "2*2*2*2*2*2*2*2*2*2*2*11*13"},                   // 51 with blanks
        {999999999999999999, "3*3*3*3*7*11*13*19*37*52579*333667"},
        {kMax, "7 * 7 * 73 * 127 * 337 * 92737 * 649657"},
        {999999999999999989, "999999999999999989"},
        {999999937LL * 999999929LL, "999999929 * 999999937"},
        {9223372036854775783, "9223372036854775783"}, // the largest prime below 2^63
        {3037000493LL * 3037000493LL, "3037000493 * 3037000493"},
        // Strong pseudoprimes to every base of the cheaper primality tests.
        {4759123141, "48781 * 97561"}, {341550071728321, "10670053 * 32010157"},
        {3825123056546413051, "149491 * 747451 * 34233211"},
        // Squares and products at the trial-division bound.
        {1021 * 1021, "1021 * 1021"}, {1031 * 1033, "1031 * 1033"},
        {1021 * 1021 * 1031LL * 1033, "1021 * 1021 * 1031 * 1033"},
        {0, "0"}, {-1, "0"}, {-360, "0"}, {std::numeric_limits<std::int64_t>::min(), "0"},
    };
    // clang-format on
    for (const auto& [n, text] : examples)
        EXPECT_EQ(factorText(n), text) << n;
    for (int k = 1; k <= 62; ++k)
        EXPECT_EQ(factorText(std::int64_t{1} << k), joined(Factors(std::size_t(k), 2))) << k;
}

TEST(FactorText, MatchesTrialDivisionForEveryValueUpTo100000) {
    for (std::int64_t n = -2; n <= 100000; ++n)
        if (const std::string fast = factorText(n); fast != referenceFactorText(n))
            FAIL() << "n = " << n << ": got " << fast << ", expected " << referenceFactorText(n);
}

// Squares and cubes of primes, up to the largest that fit, and products of two primes of
// every size: balanced ones are the hardest, lopsided ones reach the other search paths.
TEST(FactorText, PowersAndProductsOfLargePrimesAreSplit) {
    for (std::uint64_t p = 2; p < 100000; ++p)
        if (isPrime(p)) {
            EXPECT_EQ(factorText(std::int64_t(p * p)), joined({p, p}));
            EXPECT_EQ(factorText(std::int64_t(p * p * p)), joined({p, p, p}));
        }
    for (std::uint64_t p = 2097151, found = 0; found < 3; --p) // cube root of 2^63
        if (isPrime(p) && ++found) {
            EXPECT_EQ(factorText(std::int64_t(p * p * p)), joined({p, p, p}));
        }
    Factors large; // below the square root of 2^63
    for (std::uint64_t p = 3037000499; large.size() < 8; --p)
        if (isPrime(p))
            large.push_back(p);
    for (std::size_t i = 0; i < large.size(); ++i) {
        const std::uint64_t p = large[i], q = large[(i + 1) % large.size()];
        EXPECT_EQ(factorText(std::int64_t(p * p)), joined({p, p}));
        EXPECT_EQ(factorText(std::int64_t(p * q)), joined(p, q));
    }
    std::mt19937_64 rng(1300);
    for (int bits = 21; bits <= 63; ++bits)
        for (int round = 0; round < 8; ++round) {
            const int smaller = round < 6 ? bits / 2 : 11 + round * (bits / 2 - 11) / 8;
            const std::uint64_t p = randomPrime(rng, smaller), q = randomPrime(rng, bits - smaller);
            if (p * q <= static_cast<std::uint64_t>(kMax)) {
                ASSERT_EQ(factorText(std::int64_t(p * q)), joined(p, q)) << p << " * " << q;
                // Above 2^40 the curves alone split a balanced product; rho, the slow
                // fallback, would hide a broken curve stage.
                const std::uint64_t n = p * q,
                                    d = n >> 40 && round < 6 ? findDivisorByCurves(n) : p;
                ASSERT_TRUE(d > 1 && d < n && n % d == 0) << p << " * " << q;
            }
            // Three primes: a composite cofactor left after the first split is split again.
            Factors three{randomPrime(rng, bits / 3), randomPrime(rng, bits / 3),
                          randomPrime(rng, bits / 3)};
            std::sort(three.begin(), three.end());
            ASSERT_EQ(factorText(std::int64_t(three[0] * three[1] * three[2])), joined(three));
        }
}

} // namespace
} // namespace quillet
