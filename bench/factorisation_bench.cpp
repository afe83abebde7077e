// SPDX-License-Identifier: GPL-3.0-or-later
#include "worksheet/factorisation.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace {

void factorTextOf(benchmark::State& state, std::int64_t n) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(quillet::factorText(n));
    }
}

BENCHMARK_CAPTURE(factorTextOf, prime_999999999999999989, std::int64_t{999999999999999989});
BENCHMARK_CAPTURE(factorTextOf, semiprime_999999937x999999929, std::int64_t{999999937} * 999999929);
BENCHMARK_CAPTURE(factorTextOf, eighteen_nines, std::int64_t{999999999999999999});
BENCHMARK_CAPTURE(factorTextOf, int64_max, std::numeric_limits<std::int64_t>::max());
BENCHMARK_CAPTURE(factorTextOf, two_to_62, std::int64_t{1} << 62);
BENCHMARK_CAPTURE(factorTextOf, small_360, std::int64_t{360});

} // namespace

namespace {

// The hardest inputs: products of two primes near 3.04e9, the largest pair whose product
// fits. Reports the mean time per number over a fixed set of 64 such products.
void factorTextOfLargestSemiprimes(benchmark::State& state) {
    const auto isPrime = [](std::uint64_t n) {
        for (std::uint64_t d = 3; d * d <= n; d += 2)
            if (n % d == 0)
                return false;
        return n % 2 != 0;
    };
    std::vector<std::int64_t> numbers;
    std::uint64_t p = 3037000499;
    while (numbers.size() < 64) {
        do
            p -= 2;
        while (!isPrime(p));
        std::uint64_t q = p - 2 * (numbers.size() * 7919 % 1000000);
        while (!isPrime(q))
            q -= 2;
        numbers.push_back(static_cast<std::int64_t>(p * q));
    }
    for (auto _ : state)
        for (const std::int64_t n : numbers)
            benchmark::DoNotOptimize(quillet::factorText(n));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(numbers.size()));
}
BENCHMARK(factorTextOfLargestSemiprimes)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The hardest inputs a plain 18-digit argument can have: products of two random primes between
// 7e8 and 1e9. Fixed seed, so every run times the same 1,000 numbers.
std::vector<std::int64_t> hardSemiprimes() {
    std::vector<std::uint32_t> smallPrimes; // every prime up to the square root of 1e9
    std::vector<bool> composite(31623, false);
    for (std::uint32_t p = 2; p < composite.size(); ++p) {
        if (composite[p])
            continue;
        smallPrimes.push_back(p);
        for (std::uint32_t m = p * p; m < composite.size(); m += p)
            composite[m] = true;
    }
    std::mt19937_64 rng(20251207);
    std::uniform_int_distribution<std::uint64_t> range(700000000, 1000000000);
    const auto randomPrime = [&] {
        for (;;) {
            const std::uint64_t c = range(rng);
            if (std::none_of(smallPrimes.begin(), smallPrimes.end(),
                             [c](std::uint32_t p) { return c % p == 0; }))
                return c;
        }
    };
    std::vector<std::int64_t> numbers(1000);
    for (std::int64_t& n : numbers)
        n = static_cast<std::int64_t>(randomPrime() * randomPrime());
    return numbers;
}

double threadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// Times every number on its own in processor time, keeping each number's best run over the
// iterations, and reports the mean and the slowest of those in microseconds.
void factorTextOfHardSemiprimes(benchmark::State& state) {
    static const std::vector<std::int64_t> numbers = hardSemiprimes();
    std::vector<double> best(numbers.size(), std::numeric_limits<double>::infinity());
    for (auto _ : state) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const double start = threadCpuMicroseconds();
            benchmark::DoNotOptimize(quillet::factorText(numbers[i]));
            best[i] = std::min(best[i], threadCpuMicroseconds() - start);
        }
    }
    state.counters["mean_us"] =
        std::accumulate(best.begin(), best.end(), 0.0) / static_cast<double>(best.size());
    state.counters["max_us"] = *std::max_element(best.begin(), best.end());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(numbers.size()));
}
BENCHMARK(factorTextOfHardSemiprimes)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
