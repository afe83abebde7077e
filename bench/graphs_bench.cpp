// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of sampling one function slot: 999 evaluations of its expression over the range.
#include "engine/expression_engine.h"
#include "graphs/function_slot.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_SampleSlot(benchmark::State& state) {
    quillet::ExpressionEngine engine;
    quillet::FunctionSlot slot;
    const std::string expression = "sin(x)*x+1";
    for (auto _ : state) {
        slot.define(engine, expression, 0.0, 10.0);
        benchmark::DoNotOptimize(slot.samples().data());
    }
}
BENCHMARK(BM_SampleSlot)->Unit(benchmark::kMicrosecond);

} // namespace
