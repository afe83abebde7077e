#include "worksheet/factorisation.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>

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
