// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a large worksheet file: the whole load button in a shown main window, and the
// steps it is made of (reading and decoding the bytes, the conversion to a QString, giving
// the text to the editor), so that a slow load shows where its time goes. The text going
// into a document that no editor shows is the floor: the editor's part is the difference.
#include "app/main_window.h"
#include "app/worksheet_edit.h"
#include "app/worksheet_files.h"
#include "bench/qt_bench_support.h"
#include "engine/expression_engine.h"
#include "worksheet/worksheet_file.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using quillet::bench::ensureApplication;
using quillet::bench::ScriptedDialogs;

// 10.2 MB in 600,000 CR LF lines of 17 bytes: assignments, products and comments.
const std::string& largeFile() {
    static const std::string bytes = [] {
        std::string text;
        text.reserve(10'200'000);
        for (int i = 0; i < 200'000; ++i) {
            const std::string n = std::to_string(100'000 + i);
            text += "x" + n + "=" + n + "7\r\n";
            text += "x" + n + "*x" + n.substr(1) + "\r\n";
            text += "# " + n + n.substr(0, 5) + "\r\n";
        }
        return text;
    }();
    return bytes;
}

void BM_LoadLargeFile(benchmark::State& state) {
    ensureApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(largeFile().data(), qint64(largeFile().size())) != qint64(largeFile().size()))
        state.SkipWithError("cannot write the test file");
    file.close();
    quillet::ExpressionEngine engine;
    ScriptedDialogs dialogs(path);
    quillet::MainWindow window(engine, dialogs);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.worksheet().setModified(false);
        window.files().loadWorksheet();
        QApplication::processEvents(); // the first paint of the loaded text
        state.PauseTiming();
        window.worksheet().setWorksheetText(QString());
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(largeFile().size()));
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DecodeLargeFile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quillet::decodeWorksheetFile(largeFile()));
}
BENCHMARK(BM_DecodeLargeFile)->Unit(benchmark::kMillisecond);

void BM_LargeFileToQString(benchmark::State& state) {
    const std::string text = quillet::decodeWorksheetFile(largeFile()).text;
    for (auto _ : state)
        benchmark::DoNotOptimize(QString::fromStdString(text));
}
BENCHMARK(BM_LargeFileToQString)->Unit(benchmark::kMillisecond);

void BM_LargeTextIntoTheEditor(benchmark::State& state) {
    ensureApplication();
    const QString text = QString::fromStdString(quillet::decodeWorksheetFile(largeFile()).text);
    quillet::ExpressionEngine engine;
    ScriptedDialogs dialogs;
    quillet::MainWindow window(engine, dialogs);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.worksheet().setWorksheetText(text);
        QApplication::processEvents();
        state.PauseTiming();
        window.worksheet().setWorksheetText(QString());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LargeTextIntoTheEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LargeTextIntoADocument(benchmark::State& state) {
    ensureApplication();
    const QString text = QString::fromStdString(quillet::decodeWorksheetFile(largeFile()).text);
    QTextDocument document;
    document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
    for (auto _ : state) {
        document.setPlainText(text);
        state.PauseTiming();
        document.setPlainText(QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LargeTextIntoADocument)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
