// SPDX-License-Identifier: GPL-3.0-or-later
// Arithmetic modulo an odd 64-bit number in Montgomery form, and the small number theory
// around it, shared by the primality test and the divisor search of the factorisation.
#pragma once

#include <bit>
#include <cstdint>

namespace quillet::montgomery64 {

__extension__ typedef unsigned __int128 u128;
using u64 = std::uint64_t;

// The inverse of an odd number modulo 2^64, by Newton's iteration.
constexpr u64 inverseMod2_64(u64 odd) {
    u64 inv = odd; // correct to 3 bits for any odd number
    for (int i = 0; i < 5; ++i) {
        inv *= 2 - odd * inv;
    }
    return inv;
}

// Trial division, for the tables built at compile time.
constexpr bool isSmallPrime(u64 n) {
    if (n < 2) {
        return false;
    }
    for (u64 d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return true;
}

// Binary gcd; gcd(0, b) == b.
constexpr u64 gcd(u64 a, u64 b) {
    if (a == 0 || b == 0) {
        return a | b;
    }
    const int shift = std::countr_zero(a | b);
    a >>= std::countr_zero(a);
    while (b != 0) {
        b >>= std::countr_zero(b);
        if (a > b) {
            const u64 t = a;
            a = b;
            b = t;
        }
        b -= a;
    }
    return a << shift;
}

// Residues modulo an odd n < 2^63 kept as x * 2^64 mod n, so that a product needs a 128-bit
// multiplication and two 64-bit ones but no division. Every value is fully reduced, in [0, n).
class Montgomery {
public:
    explicit Montgomery(u64 n)
        : m_n(n), m_inverse(inverseMod2_64(n)), m_one((u64{0} - n) % n),
          m_r2(static_cast<u64>(static_cast<u128>(m_one) * m_one % n)) {}

    u64 modulus() const { return m_n; }
    u64 one() const { return m_one; }

    // x * R mod n for any 64-bit x.
    u64 toMontgomery(u64 x) const { return multiply(x % m_n, m_r2); }
    // The plain residue of a Montgomery value.
    u64 fromMontgomery(u64 a) const { return reduce(a); }

    u64 multiply(u64 a, u64 b) const { return reduce(static_cast<u128>(a) * b); }
    u64 square(u64 a) const { return reduce(static_cast<u128>(a) * a); }

    // Returns (a*a + c) * R^-1 mod n for a < n and a small c: a map of the form x^2 + constant,
    // with the addition folded into the reduction so it adds almost nothing to a rho walk.
    u64 squareAdd(u64 a, u64 c) const { return reduce(static_cast<u128>(a) * a + c); }

    // n < 2^63, so a + b cannot overflow.
    u64 add(u64 a, u64 b) const {
        const u64 s = a + b;
        return s >= m_n ? s - m_n : s;
    }
    u64 subtract(u64 a, u64 b) const { return a >= b ? a - b : a + (m_n - b); }

    // R^2 mod n, the Montgomery form of R: multiplying a plain value by it converts the value.
    u64 rSquared() const { return m_r2; }

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
    u64 m_r2;
};

// The same arithmetic for n < 2^62 with values kept in [0, 2n) rather than [0, n): products
// then need no final correction, which shortens every chain of multiplications. Values are
// congruent to the true residues, so gcds with n are unaffected.
class LazyMontgomery {
public:
    explicit LazyMontgomery(u64 n)
        : m_n(n), m_twoN(2 * n), m_inverse(inverseMod2_64(n)), m_one((u64{0} - n) % n),
          m_r2(static_cast<u64>(static_cast<u128>(m_one) * m_one % n)) {}

    u64 modulus() const { return m_n; }
    u64 one() const { return m_one; }
    u64 toMontgomery(u64 x) const { return multiply(x % m_n, m_r2); }
    u64 rSquared() const { return m_r2; }

    // For a, b < 2n: a * b < 4n^2 < n * 2^64, so the result lies in (0, 2n).
    u64 multiply(u64 a, u64 b) const {
        const u128 t = static_cast<u128>(a) * b;
        const u64 m = static_cast<u64>(t) * m_inverse;
        const u64 correction = static_cast<u64>((static_cast<u128>(m) * m_n) >> 64);
        return static_cast<u64>(t >> 64) + m_n - correction;
    }
    u64 square(u64 a) const { return multiply(a, a); }
    // Masks rather than branches: the outcomes are unpredictable.
    u64 add(u64 a, u64 b) const {
        const u64 s = a + b;
        return s - (m_twoN & (u64{0} - static_cast<u64>(s >= m_twoN)));
    }
    u64 subtract(u64 a, u64 b) const {
        return a - b + (m_twoN & (u64{0} - static_cast<u64>(a < b)));
    }

private:
    u64 m_n;
    u64 m_twoN;
    u64 m_inverse;
    u64 m_one;
    u64 m_r2;
};

} // namespace quillet::montgomery64
