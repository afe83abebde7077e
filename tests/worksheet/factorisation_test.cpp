#include "worksheet/factorisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

std::string decimal(std::uint64_t value) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return std::string(digits.data(), result.ptr);
}

// Bound for trial division: truncated double square root plus one.
std::uint32_t trialLimit(std::uint64_t cofactor) {
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(cofactor))) + 1;
}

// Plain trial division by every odd candidate, written step by step as the
// slow but obviously faithful rendering of the expected text.
std::string referenceFactorText(std::int64_t value) {
    if (value < 1) {
        return "0";
    }
    if (value == 1) {
        return "1";
    }
    std::string text;
    auto cofactor = static_cast<std::uint64_t>(value);
    while (cofactor % 2 == 0) {
        text += "2 * ";
        cofactor /= 2;
    }
    std::uint32_t limit = trialLimit(cofactor);
    for (std::uint32_t candidate = 3; candidate < limit; candidate += 2) {
        while (cofactor % candidate == 0) {
            text += decimal(candidate);
            text += " * ";
            cofactor /= candidate;
            limit = trialLimit(cofactor);
        }
    }
    if (cofactor != 1) {
        text += decimal(cofactor);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '*')) {
        text.pop_back();
    }
    if (text.size() > 50) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    }
    return text;
}

// Joins factors the way the worksheet shows them.
std::string joined(const std::vector<std::uint64_t>& factors) {
    std::string text;
    for (const std::uint64_t f : factors) {
        text += (text.empty() ? "" : " * ") + decimal(f);
    }
    if (text.size() > 50) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    }
    return text;
}

bool isPrimeByTrialDivision(std::uint64_t n) {
    if (n < 2) {
        return false;
    }
    for (std::uint64_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return true;
}

std::vector<std::uint64_t> primesBelow(std::uint64_t bound) {
    std::vector<bool> composite(bound, false);
    std::vector<std::uint64_t> primes;
    for (std::uint64_t i = 2; i < bound; ++i) {
        if (composite[i]) {
            continue;
        }
        primes.push_back(i);
        for (std::uint64_t j = i * i; j < bound; j += i) {
            composite[j] = true;
        }
    }
    return primes;
}

// The largest primes (count of them) not above `ceiling`.
std::vector<std::uint64_t> largestPrimesUpTo(std::uint64_t ceiling, std::size_t count) {
    std::vector<std::uint64_t> primes;
    for (std::uint64_t p = ceiling; primes.size() < count; --p) {
        if (isPrimeByTrialDivision(p)) {
            primes.push_back(p);
        }
    }
    return primes;
}

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
// Largest integer whose square is representable as int64.
constexpr std::uint64_t kLargestSquareRoot = 3037000499;
// Largest integer whose cube is representable as int64.
constexpr std::uint64_t kLargestCubeRoot = 2097151;

struct Example {
    std::int64_t n;
    const char* text;
};

TEST(FactorText, WorkedExamplesGiveExactText) {
    const Example examples[] = {
        {360, "2 * 2 * 2 * 3 * 3 * 5"},
        {7, "7"},
        {2, "2"},
        {1024, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2"},
        {1 << 20, "2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2"},
        {255, "3 * 5 * 17"},
        {49, "7 * 7"},
        {999999999999999999, "3*3*3*3*7*11*13*19*37*52579*333667"},
        {kMax, "7 * 7 * 73 * 127 * 337 * 92737 * 649657"},
        {999999999999999989, "999999999999999989"},
        {999999937LL * 999999929LL, "999999929 * 999999937"},
        {9223372036854775783, "9223372036854775783"}, // largest prime below 2^63
        {3037000493LL * 3037000493LL, "3037000493 * 3037000493"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.n);
        EXPECT_EQ(factorText(e.n), e.text);
    }
}

TEST(FactorText, NonPositiveValuesGiveZeroAndOneGivesOne) {
    const Example examples[] = {
        {0, "0"}, {-1, "0"}, {-360, "0"}, {std::numeric_limits<std::int64_t>::min(), "0"}, {1, "1"},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.n);
        EXPECT_EQ(factorText(e.n), e.text);
    }
}

TEST(FactorText, BlanksAreRemovedOnlyAboveFiftyCharacters) {
    // 2^12 * 11: twelve "2 * " plus "11" is exactly 50 characters.
    const std::string fifty = factorText((std::int64_t{1} << 12) * 11);
    EXPECT_EQ(fifty.size(), 50u);
    EXPECT_EQ(fifty, "2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 2 * 11");
    // 2^11 * 11 * 13 would be 51 characters with blanks.
    EXPECT_EQ(factorText((std::int64_t{1} << 11) * 11 * 13), "2*2*2*2*2*2*2*2*2*2*2*11*13");
}

TEST(FactorText, MatchesTrialDivisionForEveryValueUpToOneMillion) {
    for (std::int64_t n = -2; n <= 1000000; ++n) {
        const std::string fast = factorText(n);
        if (fast != referenceFactorText(n)) {
            FAIL() << "n = " << n << ": got " << fast << ", expected " << referenceFactorText(n);
        }
    }
}

TEST(FactorText, MatchesTrialDivisionForPowersOfTwo) {
    for (int k = 0; k <= 62; ++k) {
        SCOPED_TRACE(k);
        const std::int64_t n = std::int64_t{1} << k;
        EXPECT_EQ(factorText(n), referenceFactorText(n));
        EXPECT_EQ(factorText(n), k == 0 ? "1" : joined(std::vector<std::uint64_t>(k, 2)));
    }
}

TEST(FactorText, MatchesTrialDivisionForProductsOfSmallPrimes) {
    const std::vector<std::uint64_t> primes = primesBelow(2000);
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, primes.size() - 1);
    std::uniform_int_distribution<int> lengthOf(1, 20);
    for (int round = 0; round < 3000; ++round) {
        std::uint64_t n = 1;
        for (int i = lengthOf(rng); i > 0; --i) {
            const std::uint64_t p = primes[pick(rng)];
            if (n > static_cast<std::uint64_t>(kMax) / p) {
                break;
            }
            n *= p;
        }
        SCOPED_TRACE(n);
        ASSERT_EQ(factorText(static_cast<std::int64_t>(n)),
                  referenceFactorText(static_cast<std::int64_t>(n)));
    }
}

TEST(FactorText, MatchesTrialDivisionForSquaresAndCubesOfPrimes) {
    const std::vector<std::uint64_t> primes = primesBelow(100000);
    for (std::size_t i = 0; i < primes.size(); i += 7) {
        const std::uint64_t p = primes[i];
        SCOPED_TRACE(p);
        const auto square = static_cast<std::int64_t>(p * p);
        const auto cube = static_cast<std::int64_t>(p * p * p);
        EXPECT_EQ(factorText(square), referenceFactorText(square));
        EXPECT_EQ(factorText(cube), referenceFactorText(cube));
    }
    // The largest prime cubes that fit: trial division up to p is still quick.
    for (const std::uint64_t p : largestPrimesUpTo(kLargestCubeRoot, 3)) {
        SCOPED_TRACE(p);
        const auto cube = static_cast<std::int64_t>(p * p * p);
        EXPECT_EQ(factorText(cube), referenceFactorText(cube));
        EXPECT_EQ(factorText(cube), joined({p, p, p}));
    }
}

TEST(FactorText, SquaresOfTheLargestPrimesAreFactoredCompletely) {
    // Trial division to about 3e9 is too slow here, so check the text directly
    // and check that the double-precision bound of p*p does reach p: trial
    // division would test p itself instead of printing p*p as a prime.
    const std::vector<std::uint64_t> primes = largestPrimesUpTo(kLargestSquareRoot, 8);
    for (const std::uint64_t p : primes) {
        SCOPED_TRACE(p);
        const std::uint64_t square = p * p;
        ASSERT_LE(square, static_cast<std::uint64_t>(kMax));
        EXPECT_GT(trialLimit(square), p);
        EXPECT_EQ(factorText(static_cast<std::int64_t>(square)), joined({p, p}));
    }
    // Products of two neighbouring large primes, the hardest semiprimes.
    for (std::size_t i = 0; i + 1 < primes.size(); ++i) {
        const std::uint64_t product = primes[i + 1] * primes[i];
        SCOPED_TRACE(product);
        EXPECT_EQ(factorText(static_cast<std::int64_t>(product)),
                  joined({primes[i + 1], primes[i]}));
    }
}

TEST(FactorText, MatchesTrialDivisionForLargeValuesWithSmallCofactor) {
    // A random smooth part times a random cofactor below 2^40, so the whole
    // value spans the 64-bit range while trial division stays cheap.
    const std::vector<std::uint64_t> primes = primesBelow(1000);
    std::mt19937_64 rng(987654321);
    std::uniform_int_distribution<std::size_t> pick(0, primes.size() - 1);
    std::uniform_int_distribution<int> cofactorBits(1, 40);
    for (int round = 0; round < 2000; ++round) {
        std::uint64_t n = (rng() & ((std::uint64_t{1} << cofactorBits(rng)) - 1)) | 1;
        for (;;) {
            const std::uint64_t p = primes[pick(rng)];
            if (n > static_cast<std::uint64_t>(kMax) / p) {
                break;
            }
            n *= p;
        }
        SCOPED_TRACE(n);
        ASSERT_EQ(factorText(static_cast<std::int64_t>(n)),
                  referenceFactorText(static_cast<std::int64_t>(n)));
    }
}

std::vector<std::uint64_t> parseFactors(const std::string& text) {
    std::vector<std::uint64_t> factors;
    const char* pos = text.data();
    const char* end = text.data() + text.size();
    while (pos < end) {
        std::uint64_t f = 0;
        const auto result = std::from_chars(pos, end, f);
        EXPECT_EQ(result.ec, std::errc()) << text;
        if (result.ec != std::errc()) {
            break;
        }
        factors.push_back(f);
        pos = result.ptr;
        while (pos < end && (*pos == ' ' || *pos == '*')) {
            ++pos;
        }
    }
    return factors;
}

TEST(FactorText, RandomFullRangeValuesFactorIntoAscendingFactorsWithTheRightProduct) {
    std::mt19937_64 rng(5550123);
    for (int round = 0; round < 2000; ++round) {
        const auto n = static_cast<std::int64_t>(rng() >> 1);
        SCOPED_TRACE(n);
        const std::string text = factorText(n);
        const std::vector<std::uint64_t> factors = parseFactors(text);
        ASSERT_FALSE(factors.empty());
        EXPECT_TRUE(std::is_sorted(factors.begin(), factors.end()));
        std::uint64_t product = 1;
        for (const std::uint64_t f : factors) {
            ASSERT_GT(f, 1u);
            product *= f;
        }
        EXPECT_EQ(product, static_cast<std::uint64_t>(n));
        EXPECT_EQ(text, joined(factors));
        // Small factors can be checked for primality cheaply.
        for (const std::uint64_t f : factors) {
            if (f < 1000000000) {
                EXPECT_TRUE(isPrimeByTrialDivision(f)) << f;
            }
        }
    }
}

} // namespace
} // namespace quillet
