// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation speed of typical worksheet lines and of a graph expression.
#include "engine/expression_engine.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void evaluateLine(benchmark::State& state, const std::string& line, bool withVariables) {
    quillet::ExpressionEngine engine;
    if (withVariables)
        for (const char* name : {"a", "b", "c", "radius", "height", "w", "z1", "z2"})
            engine.evaluateLine(std::string(name) + "=1.25");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.evaluateLine(line));
}

void BM_EvaluateLineSum(benchmark::State& state) {
    evaluateLine(state, "1+2", false);
}
BENCHMARK(BM_EvaluateLineSum);

void BM_EvaluateLineFunctions(benchmark::State& state) {
    evaluateLine(state, "sin(30)*2-ln(3+4i)/7", false);
}
BENCHMARK(BM_EvaluateLineFunctions);

void BM_EvaluateLineTypical30(benchmark::State& state) {
    evaluateLine(state, "r = 2.5*sqr(a*a+b*b)/(c+0.75)", true);
}
BENCHMARK(BM_EvaluateLineTypical30);

void BM_EvaluateLine200WithVariables(benchmark::State& state) {
    std::string line = "radius*height";
    while (line.size() < 190)
        line += "+sin(a*30)*z1-cos(b)/w+height%3";
    evaluateLine(state, line.substr(0, 200), true);
}
BENCHMARK(BM_EvaluateLine200WithVariables);

void BM_EvaluateRangeGraphExpression(benchmark::State& state) {
    quillet::ExpressionEngine engine;
    for (int i = 0; i < 19; ++i)
        engine.evaluateLine("v" + std::to_string(i) + "=" + std::to_string(i));
    quillet::Complex& x = engine.variables().lookupOrCreate("x");
    const std::string expression = "x*x-3*x+sin(x)";
    double point = 0;
    for (auto _ : state) {
        x = quillet::Complex(point, 0);
        point += 0.001;
        benchmark::DoNotOptimize(
            engine.evaluateRange(expression.c_str(), static_cast<int>(expression.size())));
    }
}
BENCHMARK(BM_EvaluateRangeGraphExpression);

} // namespace
