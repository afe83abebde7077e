// SPDX-License-Identifier: GPL-3.0-or-later
// The divisor search is Lenstra's elliptic-curve method, sized for factors of at most 32 bits.
//
// Working modulo n, the points of a curve modulo an unknown prime p of n form a group of about
// p elements. Multiplying a point by k = lcm(1..B1) (stage one) reaches the neutral element
// modulo p - a point with Z == 0 mod p, so gcd(Z, n) reveals p - when the group order has only
// prime-power factors up to B1. Stage two also catches orders with one further prime q up to
// B2: for q = m*D +- j, the x-coordinates of [m*D]Q and [j]Q agree modulo p, and the
// differences of x-coordinates are multiplied into a single gcd. Every curve is a fresh
// chance; Suyama's family makes every group order a multiple of 12, which makes smooth orders
// far more likely. For 30-bit factors about three curves at B1 = 165 suffice on average, some
// 16,000 modular multiplications that mostly overlap, where Pollard's rho needs about 40,000
// that each wait for the one before.
//
// Curves are in Montgomery form B*y^2 = x^3 + A*x^2 + x with points kept as X:Z, so a scalar
// multiple is a ladder of doublings and differential additions, free of inversions. Curve i
// uses Suyama's parameter sigma = 6 + i, so the search is deterministic. Inputs below 2^40,
// for which Pollard's rho is quicker, and any input whose curves all fail go to rho.
#include "worksheet/semiprime_split.h"

#include "worksheet/montgomery64.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace quillet {
namespace {

using namespace montgomery64;
using i64 = std::int64_t;

// ---- Compile-time tables: the stage-one multiplier and the stage-two prime pattern ----

// lcm(1..b1) as little-endian 64-bit words with its bit length.
template <unsigned B1> struct StageOneMultiplier {
    // lcm(1..b) = e^psi(b) < e^(1.0389 b) < 2^(1.5 b), and 64 bits per 40 of b leave room.
    static constexpr std::size_t kWords = B1 / 40 + 2;
    std::array<u64, kWords> words{};
    int bits = 0;

    constexpr StageOneMultiplier() {
        words[0] = 1;
        for (unsigned p = 2; p <= B1; ++p) {
            if (!isSmallPrime(p)) {
                continue;
            }
            u64 power = p;
            while (power * p <= B1) {
                power *= p;
            }
            u64 carry = 0;
            for (u64& word : words) {
                const u128 product = static_cast<u128>(word) * power + carry;
                word = static_cast<u64>(product);
                carry = static_cast<u64>(product >> 64);
            }
        }
        for (std::size_t i = kWords; i-- > 0;) {
            if (words[i] != 0) {
                bits = static_cast<int>(i * 64) + 64 - __builtin_clzll(words[i]);
                break;
            }
        }
    }
    constexpr bool bit(int i) const {
        return (words[static_cast<std::size_t>(i / 64)] >> (i % 64)) & 1;
    }
};

// Stage two covers the primes q in (B1, B2] as q = m*D +- j, 0 < j < D/2, gcd(j, D) == 1.
// For each m the pattern holds one bit per such j, set when either q is prime.
template <unsigned B1, unsigned D, unsigned B2> struct StageTwoPattern {
    static constexpr unsigned kBabyCount = [] {
        unsigned count = 0;
        for (unsigned j = 1; j < D / 2; ++j) {
            count += gcd(j, D) == 1 ? 1u : 0u;
        }
        return count;
    }();
    static constexpr unsigned kFirstM = (B1 + D / 2) / D;
    static constexpr unsigned kLastM = (B2 + D / 2) / D;
    std::array<std::uint32_t, kLastM - kFirstM + 1> masks{};

    constexpr StageTwoPattern() {
        static_assert(kBabyCount <= 32 && kFirstM >= 1);
        std::array<unsigned, kBabyCount> baby{};
        unsigned next = 0;
        for (unsigned j = 1; j < D / 2; ++j) {
            if (gcd(j, D) == 1) {
                baby[next++] = j;
            }
        }
        for (unsigned m = kFirstM; m <= kLastM; ++m) {
            for (unsigned i = 0; i < kBabyCount; ++i) {
                for (const unsigned q : {m * D - baby[i], m * D + baby[i]}) {
                    if (q > B1 && q <= B2 && isSmallPrime(q)) {
                        masks[m - kFirstM] |= std::uint32_t{1} << i;
                    }
                }
            }
        }
    }
};

// ---- Curve arithmetic on X:Z coordinates ----

struct Point {
    u64 x;
    u64 z;
};

template <class Arith> struct Curve {
    const Arith* m;
    u64 a24; // (A + 2) / 4

    Point twice(Point p) const {
        const Arith& mont = *m;
        const u64 sum = mont.square(mont.add(p.x, p.z));
        const u64 diff = mont.square(mont.subtract(p.x, p.z));
        const u64 cross = mont.subtract(sum, diff); // 4xz
        return {mont.multiply(sum, diff),
                mont.multiply(cross, mont.add(diff, mont.multiply(a24, cross)))};
    }

    // p + q from p, q and their difference.
    Point sum(Point p, Point q, Point difference) const {
        const Arith& mont = *m;
        const u64 u = mont.multiply(mont.subtract(p.x, p.z), mont.add(q.x, q.z));
        const u64 v = mont.multiply(mont.add(p.x, p.z), mont.subtract(q.x, q.z));
        return {mont.multiply(difference.z, mont.square(mont.add(u, v))),
                mont.multiply(difference.x, mont.square(mont.subtract(u, v)))};
    }

    // The same when the difference has z == 1: a multiplication less.
    Point sumWithUnitDifference(Point p, Point q, u64 differenceX) const {
        const Arith& mont = *m;
        const u64 u = mont.multiply(mont.subtract(p.x, p.z), mont.add(q.x, q.z));
        const u64 v = mont.multiply(mont.add(p.x, p.z), mont.subtract(q.x, q.z));
        return {mont.square(mont.add(u, v)),
                mont.multiply(differenceX, mont.square(mont.subtract(u, v)))};
    }

    // [k]p and [k+1]p by the Montgomery ladder, for k >= 1.
    std::array<Point, 2> ladder(Point p, u64 k) const {
        Point low = p;
        Point high = twice(p);
        for (int i = 62 - __builtin_clzll(k); i >= 0; --i) {
            if ((k >> i) & 1) {
                low = sum(low, high, p);
                high = twice(high);
            } else {
                high = sum(low, high, p);
                low = twice(low);
            }
        }
        return {low, high};
    }
};

// Returns gcd(a, n) when it is a proper divisor, else 0.
u64 properGcd(u64 a, u64 n) {
    const u64 g = gcd(a, n);
    return g > 1 && g < n ? g : 0;
}

// Returns x with a*x == 1 mod n, or 0 when a and n share a factor.
u64 inverseModulo(u64 a, u64 n) {
    i64 t0 = 0, t1 = 1;
    u64 r0 = n, r1 = a;
    while (r1 != 0) {
        const u64 q = r0 / r1;
        const u64 r2 = r0 - q * r1;
        r0 = r1;
        r1 = r2;
        const i64 t2 = t0 - static_cast<i64>(q) * t1;
        t0 = t1;
        t1 = t2;
    }
    if (r0 != 1) {
        return 0;
    }
    return t0 < 0 ? static_cast<u64>(t0 + static_cast<i64>(n)) : static_cast<u64>(t0);
}

// The Montgomery form of the inverse of the Montgomery value a, or 0 when a shares a factor
// with n. rCubed is R^3 mod n.
template <class Arith> u64 inverseOf(const Arith& arith, u64 a, u64 rCubed) {
    const u64 plain = inverseModulo(a, arith.modulus()); // (a*R)^-1 = a^-1 * R^-1
    return plain == 0 ? 0 : arith.multiply(plain, rCubed);
}

struct CurveStart {
    u64 a24;
    u64 x0;     // the starting point's x, with z == 1
    u64 factor; // nonzero when setting up the curve already revealed a divisor
};

// Suyama's curve for sigma: u = sigma^2 - 5, v = 4 sigma, starting point x = u^3 / v^3 and
// (A + 2) / 4 = (v - u)^3 (3u + v) / (16 u^3 v). One inversion serves both fractions.
template <class Arith> CurveStart suyamaCurve(const Arith& mont, u64 rCubed, u64 sigma) {
    const u64 n = mont.modulus();
    const u64 s = mont.toMontgomery(sigma);
    const u64 five = mont.toMontgomery(5);
    const u64 u = mont.subtract(mont.square(s), five);
    const u64 two = mont.add(mont.one(), mont.one());
    const u64 four = mont.add(two, two);
    const u64 v = mont.multiply(four, s);
    const u64 u3 = mont.multiply(mont.square(u), u);
    const u64 v3 = mont.multiply(mont.square(v), v);
    const u64 sixteenU3V = mont.multiply(mont.multiply(mont.square(four), u3), v);
    const u64 denominator = mont.multiply(sixteenU3V, v3);

    const u64 inverse = inverseOf(mont, denominator, rCubed);
    if (inverse == 0) {
        return {0, 0, properGcd(denominator, n)};
    }
    const u64 vMinusU = mont.subtract(v, u);
    const u64 threeUPlusV = mont.add(mont.add(mont.add(u, u), u), v);
    const u64 numerator = mont.multiply(mont.multiply(mont.square(vMinusU), vMinusU), threeUPlusV);
    const u64 a24 = mont.multiply(mont.multiply(numerator, inverse), v3);
    const u64 x0 = mont.multiply(mont.multiply(u3, inverse), sixteenU3V);
    return {a24, x0, 0};
}

template <unsigned B1, unsigned D, unsigned B2> struct EcmPlan {
    static constexpr StageOneMultiplier<B1> kMultiplier{};
    static constexpr StageTwoPattern<B1, D, B2> kPattern{};
};

// Stage two for one curve after stage one gave Q; returns a proper divisor of n, or 0.
// Baby steps [j]Q for 0 < j < D/2 with gcd(j, D) == 1 and giant steps [m*D]Q are brought to
// z == 1 with one shared inversion; then a prime m*D +- j contributes the single factor
// x_g - x_j, which vanishes modulo p when that prime times Q is neutral modulo p.
template <unsigned B1, unsigned D, unsigned B2, class Arith>
u64 stageTwo(const Curve<Arith>& curve, Point q, u64 rCubed) {
    using Plan = EcmPlan<B1, D, B2>;
    constexpr auto& pattern = Plan::kPattern;
    constexpr unsigned kBabyCount = pattern.kBabyCount;
    constexpr unsigned kGiantCount = pattern.kLastM - pattern.kFirstM + 1;
    constexpr unsigned kCount = kBabyCount + kGiantCount;
    const Arith& mont = *curve.m;
    const u64 n = mont.modulus();

    std::array<Point, kCount> points{}; // babies first, then giants
    const Point q2 = curve.twice(q);
    Point previous = q; // [j-2]Q
    Point current = q;  // [j]Q
    unsigned next = 0;
    for (unsigned j = 1; j < D / 2; j += 2) {
        if (j == 3) {
            current = curve.sum(q2, q, q);
        } else if (j > 3) {
            const Point after = curve.sum(current, q2, previous);
            previous = current;
            current = after;
        }
        if (gcd(j, D) == 1) {
            points[next++] = current;
        }
    }
    const Point giantStep = curve.ladder(q, D)[0];
    const auto firstGiants = curve.ladder(giantStep, pattern.kFirstM);
    points[next++] = firstGiants[0];
    points[next++] = firstGiants[1];
    while (next < kCount) {
        points[next] = curve.sum(points[next - 1], giantStep, points[next - 2]);
        ++next;
    }

    // Montgomery's simultaneous inversion: one inversion and three products per point.
    std::array<u64, kCount> prefix{};
    prefix[0] = points[0].z;
    for (unsigned i = 1; i < kCount; ++i) {
        prefix[i] = mont.multiply(prefix[i - 1], points[i].z);
    }
    u64 inverse = inverseOf(mont, prefix[kCount - 1], rCubed);
    if (inverse == 0) {
        return properGcd(prefix[kCount - 1], n);
    }
    std::array<u64, kCount> x{};
    for (unsigned i = kCount - 1; i > 0; --i) {
        x[i] = mont.multiply(points[i].x, mont.multiply(inverse, prefix[i - 1]));
        inverse = mont.multiply(inverse, points[i].z);
    }
    x[0] = mont.multiply(points[0].x, inverse);

    // Several running products, so that their multiplications overlap.
    constexpr unsigned kChains = 4;
    std::array<u64, kChains> product{};
    product.fill(mont.one());
    unsigned chain = 0;
    for (unsigned g = 0; g < kGiantCount; ++g) {
        const u64 giantX = x[kBabyCount + g];
        for (std::uint32_t mask = pattern.masks[g]; mask != 0; mask &= mask - 1) {
            const unsigned i = static_cast<unsigned>(std::countr_zero(mask));
            product[chain] = mont.multiply(product[chain], mont.subtract(giantX, x[i]));
            chain = (chain + 1) % kChains;
        }
    }
    const u64 all =
        mont.multiply(mont.multiply(product[0], product[1]), mont.multiply(product[2], product[3]));
    return properGcd(all, n);
}

// Tries up to maxCurves curves; returns a proper divisor of n, or 0.
template <unsigned B1, unsigned D, unsigned B2, class Arith>
u64 ecm(const Arith& mont, int maxCurves) {
    constexpr auto& multiplier = EcmPlan<B1, D, B2>::kMultiplier;
    const u64 rCubed = mont.multiply(mont.rSquared(), mont.rSquared());
    for (int curveIndex = 0; curveIndex < maxCurves; ++curveIndex) {
        const CurveStart start = suyamaCurve(mont, rCubed, 6 + static_cast<u64>(curveIndex));
        if (start.factor != 0) {
            return start.factor;
        }
        if (start.a24 == 0) {
            continue;
        }
        const Curve<Arith> curve{&mont, start.a24};

        // Stage one: a ladder over the bits of lcm(1..B1). The doubled point is picked with
        // selects rather than a branch, since the bit pattern is too long to predict.
        Point low{start.x0, mont.one()};
        Point high = curve.twice(low);
        for (int i = multiplier.bits - 2; i >= 0; --i) {
            const bool bit = multiplier.bit(i);
            const Point added = curve.sumWithUnitDifference(low, high, start.x0);
            const Point doubled = curve.twice(bit ? high : low);
            low = bit ? added : doubled;
            high = bit ? doubled : added;
        }
        if (const u64 divisor = stageTwo<B1, D, B2>(curve, low, rCubed); divisor != 0) {
            return divisor;
        }
    }
    return 0;
}

// Pollard's rho with Brent's cycle detection and batched gcds. Each round fixes x, walks
// y `length` steps without comparing, then `length` more steps multiplying up |x - y|: the
// compared distances length+1 .. 2*length grow until one is a multiple of the cycle, and
// the walking half costs one multiplication per step instead of two.
// Returns a proper divisor, or 0 when this constant failed.
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
            u64 divisor = gcd(product, n);
            if (divisor == 1) {
                continue;
            }
            if (divisor == n) {
                // The batch overshot: replay it one step at a time.
                y = saved;
                do {
                    y = step(y);
                    divisor = gcd(mont.subtract(x, y), n);
                } while (divisor == 1);
            }
            return divisor == n ? 0 : divisor;
        }
    }
}

// The smaller factor of n has at most half its bits. Below 2^40 Pollard's rho is quicker
// than a curve; above, the bounds grow with the factor sought.
template <class Arith> u64 ecmForSize(const Arith& arith) {
    constexpr int kMaxCurves = 400;
    const int bits = 64 - __builtin_clzll(arith.modulus());
    if (bits > 52) {
        return ecm<165, 210, 10000>(arith, kMaxCurves);
    }
    if (bits > 40) {
        return ecm<50, 60, 2000>(arith, kMaxCurves);
    }
    return 0;
}

} // namespace

std::uint64_t findDivisorByCurves(std::uint64_t n) {
    return n < (u64{1} << 62) ? ecmForSize(LazyMontgomery(n)) : ecmForSize(Montgomery(n));
}

std::uint64_t findProperDivisor(std::uint64_t n) {
    u64 divisor = findDivisorByCurves(n);
    const Montgomery mont(n);
    for (u64 c = 1; divisor == 0; ++c) {
        divisor = pollardBrent(mont, c);
    }
    return divisor;
}

} // namespace quillet
