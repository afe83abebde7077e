#include "worksheet/factorisation.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>
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
