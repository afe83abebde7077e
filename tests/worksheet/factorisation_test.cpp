// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/factorisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
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
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// Bound for trial division: the truncated double square root plus one.
std::uint32_t trialLimit(std::uint64_t cofactor) {
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(cofactor))) + 1;
}

// Plain trial division by every odd candidate: slow, but obviously faithful.
std::string referenceFactorText(std::int64_t value) {
    if (value < 2)
        return value < 1 ? "0" : "1";
    Factors factors;
    auto cofactor = static_cast<std::uint64_t>(value);
    for (; cofactor % 2 == 0; cofactor /= 2)
        factors.push_back(2);
    for (std::uint32_t candidate = 3, limit = trialLimit(cofactor); candidate < limit;
         candidate += 2) {
        for (; cofactor % candidate == 0; cofactor /= candidate, limit = trialLimit(cofactor))
            factors.push_back(candidate);
    }
    if (cofactor != 1)
        factors.push_back(cofactor);
    return joined(factors);
}

bool isPrimeByTrialDivision(std::uint64_t n) {
    for (std::uint64_t d = 2; d * d <= n; ++d) {
        if (n % d == 0)
            return false;
    }
    return n >= 2;
}

// The largest count primes not above ceiling, descending.
std::vector<std::uint64_t> largestPrimesUpTo(std::uint64_t ceiling, std::size_t count) {
    std::vector<std::uint64_t> primes;
    for (std::uint64_t p = ceiling; primes.size() < count; --p) {
        if (isPrimeByTrialDivision(p))
            primes.push_back(p);
    }
    return primes;
}

TEST(FactorText, ExamplesGiveExactText) {
    const std::pair<std::int64_t, const char*> examples[] = {
        {360, "2 * 2 * 2 * 3 * 3 * 5"},
        {7, "7"},
        {2, "2"},
        {1, "1"},
        {1024, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2"},
        {1 << 20, "2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2"},
        {255, "3 * 5 * 17"},
        {49, "7 * 7"},
        {(1 << 12) * 11, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 11"}, // 50 characters
        {(1 << 11) * 11 * 13, "2*2*2*2*2*2*2*2*2*2*2*11*13"},                   // 51 with blanks
        {999999999999999999, "3*3*3*3*7*11*13*19*37*52579*333667"},
        {kMax, "7 * 7 * 73 * 127 * 337 * 92737 * 649657"},
        {999999999999999989, "999999999999999989"},
        {999999937LL * 999999929LL, "999999929 * 999999937"},
        {9223372036854775783, "9223372036854775783"}, // the largest prime below 2^63
        {3037000493LL * 3037000493LL, "3037000493 * 3037000493"},
        // Strong pseudoprimes to every base of the cheaper primality tests.
        {4759123141, "48781 * 97561"},
        {341550071728321, "10670053 * 32010157"},
        {3825123056546413051, "149491 * 747451 * 34233211"},
        {1021 * 1021, "1021 * 1021"}, // squares and products at the trial-division bound
        {1031 * 1033, "1031 * 1033"},
        {1021 * 1021 * 1031LL * 1033, "1021 * 1021 * 1031 * 1033"},
    };
    for (const auto& [n, text] : examples)
        EXPECT_EQ(factorText(n), text) << n;
    for (const std::int64_t n : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{-360},
                                 std::numeric_limits<std::int64_t>::min()})
        EXPECT_EQ(factorText(n), "0") << n;
}

TEST(FactorText, MatchesTrialDivisionForEveryValueUpTo100000) {
    for (std::int64_t n = -2; n <= 100000; ++n) {
        if (const std::string fast = factorText(n); fast != referenceFactorText(n))
            FAIL() << "n = " << n << ": got " << fast << ", expected " << referenceFactorText(n);
    }
}

TEST(FactorText, PowersOfTwoGiveOnlyTwos) {
    for (int k = 1; k <= 62; ++k)
        EXPECT_EQ(factorText(std::int64_t{1} << k), joined(Factors(static_cast<std::size_t>(k), 2)))
            << k;
}

TEST(FactorText, MatchesTrialDivisionForRandomSmoothValues) {
    // Products of up to 20 small primes, and a random cofactor below 2^40 times small primes
    // up to the 64-bit range: the values span the range while trial division stays cheap.
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<std::uint64_t> below2000(2, 1999);
    std::uniform_int_distribution<int> lengthOf(1, 20), cofactorBits(1, 40);
    for (int round = 0; round < 5000; ++round) {
        const bool smooth = round % 2 == 0;
        std::uint64_t n = smooth ? 1 : (rng() & ((std::uint64_t{1} << cofactorBits(rng)) - 1)) | 1;
        for (int i = smooth ? lengthOf(rng) : 64; i > 0; --i) {
            std::uint64_t p = below2000(rng);
            while (!isPrimeByTrialDivision(p))
                p = below2000(rng);
            if (n > static_cast<std::uint64_t>(kMax) / p)
                break;
            n *= p;
        }
        ASSERT_EQ(factorText(std::int64_t(n)), referenceFactorText(std::int64_t(n))) << n;
    }
}

TEST(FactorText, SquaresAndCubesOfPrimesAreFactoredCompletely) {
    for (std::uint64_t p = 2; p < 100000; ++p) {
        if (!isPrimeByTrialDivision(p))
            continue;
        EXPECT_EQ(factorText(std::int64_t(p * p)), joined({p, p}));
        EXPECT_EQ(factorText(std::int64_t(p * p * p)), joined({p, p, p}));
    }
    // The largest prime cubes and squares that fit, and products of neighbouring large primes,
    // the hardest semiprimes. The double-precision bound of p * p must reach p, or trial division
    // would print p * p as a prime.
    for (const std::uint64_t p : largestPrimesUpTo(2097151, 3)) // cube root of 2^63
        EXPECT_EQ(factorText(std::int64_t(p * p * p)), joined({p, p, p}));
    const std::vector<std::uint64_t> large = largestPrimesUpTo(3037000499, 8); // square root
    for (std::size_t i = 0; i < large.size(); ++i) {
        const std::uint64_t p = large[i], q = large[(i + 1) % large.size()];
        EXPECT_GT(trialLimit(p * p), p);
        EXPECT_EQ(factorText(std::int64_t(p * p)), joined({p, p}));
        EXPECT_EQ(factorText(std::int64_t(p * q)), joined({std::min(p, q), std::max(p, q)}));
    }
}

// A random prime with exactly `bits` bits, found by trial division.
std::uint64_t randomPrime(std::mt19937_64& rng, int bits) {
    const std::uint64_t low = std::uint64_t{1} << (bits - 1);
    std::uint64_t p = 0;
    do
        p = low | (rng() & (low - 1)) | 1;
    while (!isPrimeByTrialDivision(p));
    return p;
}

TEST(FactorText, ProductsOfTwoLargePrimesOfEverySizeAreSplit) {
    // Balanced products are the hardest; the lopsided ones reach the other search paths.
    std::mt19937_64 rng(1300);
    for (int bits = 21; bits <= 63; ++bits) {
        for (int round = 0; round < 8; ++round) {
            const int smaller = round < 6 ? bits / 2 : 11 + round * (bits / 2 - 11) / 8;
            const std::uint64_t p = randomPrime(rng, smaller), q = randomPrime(rng, bits - smaller);
            if (p * q > static_cast<std::uint64_t>(kMax))
                continue;
            ASSERT_EQ(factorText(std::int64_t(p * q)), joined({std::min(p, q), std::max(p, q)}))
                << p << " * " << q;
        }
    }
}

TEST(FactorText, RandomFullRangeValuesFactorIntoAscendingPrimesWithTheRightProduct) {
    std::mt19937_64 rng(5550123);
    for (int round = 0; round < 2000; ++round) {
        const auto n = static_cast<std::int64_t>(rng() >> 1);
        const std::string text = factorText(n);
        Factors factors;
        std::uint64_t product = 1;
        for (const char* pos = text.data(); pos < text.data() + text.size();) {
            std::uint64_t f = 0;
            const auto result = std::from_chars(pos, text.data() + text.size(), f);
            ASSERT_EQ(result.ec, std::errc()) << text;
            ASSERT_TRUE(f >= 1000000000 || isPrimeByTrialDivision(f)) << f; // cheap ones only
            factors.push_back(f);
            product *= f;
            pos = std::find_if(result.ptr, text.data() + text.size(),
                               [](char c) { return c != ' ' && c != '*'; });
        }
        EXPECT_TRUE(std::is_sorted(factors.begin(), factors.end())) << text;
        EXPECT_EQ(product, static_cast<std::uint64_t>(n)) << text;
        EXPECT_EQ(text, joined(factors));
    }
}

} // namespace
} // namespace quillet
