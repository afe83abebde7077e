// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of painting the graph window from stored samples: a full-HD client area with ten
// shown functions, in envelope and in ordinary drawing, and the function list.
#include "engine/expression_engine.h"
#include "graphs/fonts.h"
#include "graphs/function_graphs.h"
#include "graphs/function_list_painter.h"
#include "graphs/graph_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Fonts need an application object; it is made once and lives until the process ends.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "quillet_graph_paint_bench";
    static char* argv[] = {name, nullptr};
    static const QGuiApplication* const application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    benchmark::DoNotOptimize(application);
}

// Ten shown functions over one range, with steep and oscillating curves.
void defineTen(quillet::FunctionGraphs& graphs) {
    const char* const expressions[] = {
        " -10,10,sin(x*50)*x",  "cos(x*80)",    "x*x/10",   "tan(x*20)",
        "sin(x*300)*3",         "exp(x/5)",     "abs(x)-5", "x*x*x/100",
        "cos(x*7)*sin(x*11)*8", "1/(x*x+0.01)",
    };
    int slot = 0;
    for (const char* expression : expressions)
        graphs.defineFunction(expression, slot++, true);
}

void paintGraphBench(benchmark::State& state, bool envelope) {
    ensureApplication();
    quillet::ExpressionEngine engine;
    quillet::FunctionGraphs graphs(engine);
    defineTen(graphs);
    const quillet::GraphFonts fonts = quillet::GraphFonts::standard();
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        quillet::paintGraph(painter, graphs, size, envelope, fonts);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintGraphEnvelope(benchmark::State& state) {
    paintGraphBench(state, true);
}
BENCHMARK(BM_PaintGraphEnvelope)
    ->Args({1920, 1080})
    ->Args({400, 300})
    ->Unit(benchmark::kMillisecond);

void BM_PaintGraphOrdinary(benchmark::State& state) {
    paintGraphBench(state, false);
}
BENCHMARK(BM_PaintGraphOrdinary)
    ->Args({1920, 1080})
    ->Args({400, 300})
    ->Unit(benchmark::kMillisecond);

void BM_PaintFunctionList(benchmark::State& state) {
    ensureApplication();
    quillet::ExpressionEngine engine;
    quillet::FunctionGraphs graphs(engine);
    defineTen(graphs);
    const quillet::GraphFonts fonts = quillet::GraphFonts::standard();
    const QSize size(320, 240);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        quillet::paintFunctionList(painter, graphs, size, true, fonts);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintFunctionList)->Unit(benchmark::kMicrosecond);

} // namespace
