#include "worksheet/factorisation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace quillet {
namespace {

__extension__ typedef unsigned __int128 u128;
using u64 = std::uint64_t;

// Longer texts are written without blanks so they stay readable in a cell.
constexpr std::size_t kMaxSpacedLength = 50;

// Odd primes below this bound are removed by trial division before
// Miller-Rabin and Pollard's rho are used on what is left.
constexpr u64 kTrialBound = 1024;

// An odd prime with its inverse modulo 2^64: p divides n exactly when
// n * inverse <= UINT64_MAX / p, and then n * inverse is the quotient.
struct TrialPrime {
    u64 prime;
    u64 inverse;
    u64 maxQuotient;
};

constexpr u64 inverseMod2_64(u64 odd) {
    u64 inv = odd; // correct to 3 bits for any odd number
    for (int i = 0; i < 5; ++i) {
        inv *= 2 - odd * inv;
    }
    return inv;
}

constexpr std::size_t countOddPrimesBelow(u64 bound) {
    std::size_t count = 0;
    for (u64 p = 3; p < bound; p += 2) {
        bool prime = true;
        for (u64 d = 3; d * d <= p; d += 2) {
            if (p % d == 0) {
                prime = false;
                break;
            }
        }
        count += prime ? 1 : 0;
    }
    return count;
}

constexpr auto kTrialPrimes = [] {
    std::array<TrialPrime, countOddPrimesBelow(kTrialBound)> table{};
    std::size_t next = 0;
    for (u64 p = 3; p < kTrialBound; p += 2) {
        bool prime = true;
        for (u64 d = 3; d * d <= p; d += 2) {
            if (p % d == 0) {
                prime = false;
                break;
            }
        }
        if (prime) {
            table[next++] = TrialPrime{p, inverseMod2_64(p), ~u64{0} / p};
        }
    }
    return table;
}();

// Arithmetic modulo an odd n < 2^63 in Montgomery form (R = 2^64), so that
// products need a 128-bit multiplication but no 128-bit division.
class Montgomery {
public:
    explicit Montgomery(u64 n) : m_n(n), m_inverse(inverseMod2_64(n)), m_one((u64{0} - n) % n) {}

    u64 modulus() const { return m_n; }
    u64 one() const { return m_one; }

    u64 toMontgomery(u64 x) const {
        return static_cast<u64>((static_cast<u128>(x % m_n) << 64) % m_n);
    }

    u64 multiply(u64 a, u64 b) const { return reduce(static_cast<u128>(a) * b); }

    // Returns (a*a + c) * R^-1 mod n for a < n and a small c: a map of the
    // form x^2 + constant, with the addition folded into the reduction so it
    // adds almost nothing to the dependency chain of a rho walk.
    u64 squareAdd(u64 a, u64 c) const { return reduce(static_cast<u128>(a) * a + c); }

    u64 subtract(u64 a, u64 b) const { return a >= b ? a - b : a + (m_n - b); }

private:
    // Returns t * R^-1 mod n for t < n * 2^64, in [0, n).
    u64 reduce(u128 t) const {
        const u64 m = static_cast<u64>(t) * m_inverse;
        const u64 high = static_cast<u64>(t >> 64);
        const u64 correction = static_cast<u64>((static_cast<u128>(m) * m_n) >> 64);
        return high >= correction ? high - correction : high + (m_n - correction);
    }

    u64 m_n;
    u64 m_inverse;
    u64 m_one;
};

// Deterministic Miller-Rabin: these twelve bases decide primality for every
// n < 2^64 (the first twelve primes suffice up to 3.18e23).
bool isPrime(u64 n) {
    if (n < 2) {
        return false;
    }
    constexpr std::array<u64, 12> kBases = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    for (const u64 base : kBases) {
        if (n == base) {
            return true;
        }
        if (n % base == 0) {
            return false;
        }
    }
    // n is odd, coprime to every base and greater than 37 from here on.
    const Montgomery mont(n);
    const u64 one = mont.one();
    const u64 minusOne = n - one;
    const int shift = __builtin_ctzll(n - 1);
    const u64 oddPart = (n - 1) >> shift;

    for (const u64 base : kBases) {
        u64 x = one;
        u64 power = mont.toMontgomery(base);
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

// Pollard's rho with Brent's cycle detection and batched gcds. Each round fixes x, walks
// y `length` steps without comparing, then `length` more steps multiplying up |x - y|: the
// compared distances length+1 .. 2*length grow until one is a multiple of the cycle, and
// the walking half costs one multiplication per step instead of two.
// n must be odd and composite. Returns a proper divisor, or 0 when this constant failed.
u64 pollardBrent(const Montgomery& mont, u64 c) {
    constexpr u64 kBatch = 256;
    const u64 n = mont.modulus();
    const auto step = [&](u64 v) { return mont.squareAdd(v, c); };

    u64 y = mont.toMontgomery(2);
    u64 product = mont.one();
    for (u64 length = 1;; length <<= 1) {
        const u64 x = y;
        for (u64 i = 0; i < length; ++i) {
            y = step(y);
        }
        for (u64 done = 0; done < length; done += kBatch) {
            const u64 saved = y;
            const u64 count = std::min(kBatch, length - done);
            for (u64 i = 0; i < count; ++i) {
                y = step(y);
                product = mont.multiply(product, mont.subtract(x, y));
            }
            u64 divisor = std::gcd(product, n);
            if (divisor == 1) {
                continue;
            }
            if (divisor == n) {
                // The batch overshot: replay it one step at a time.
                y = saved;
                do {
                    y = step(y);
                    divisor = std::gcd(mont.subtract(x, y), n);
                } while (divisor == 1);
            }
            return divisor == n ? 0 : divisor;
        }
    }
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
        const Montgomery mont(m);
        u64 divisor = 0;
        for (u64 c = 1; divisor == 0; ++c) {
            divisor = pollardBrent(mont, c);
        }
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

    const int twos = __builtin_ctzll(rest);
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
