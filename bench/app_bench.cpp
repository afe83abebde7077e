// SPDX-License-Identifier: GPL-3.0-or-later
// Completing a line in a long worksheet: the whole road from the Enter key through the line
// processor to the result inserted under the line, in a shown main window.
#include "app/main_window.h"
#include "app/worksheet_edit.h"
#include "bench/qt_bench_support.h"
#include "engine/expression_engine.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <benchmark/benchmark.h>

namespace {

using quillet::bench::ensureApplication;
using quillet::bench::ScriptedDialogs;

// lines worksheet lines: pairs of a sum and its result.
QString longWorksheet(int lines) {
    QString text;
    text.reserve(lines * 4);
    for (int i = 0; i < lines / 2; ++i)
        text += QStringLiteral("1+2\n3\n");
    return text;
}

void pressEnter(QWidget& target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&target, &release);
}

enum class Caret { AtEnd, InTheMiddle };

void completeLine(benchmark::State& state, Caret caret, bool repaint) {
    ensureApplication();
    quillet::ExpressionEngine engine;
    ScriptedDialogs dialogs;
    quillet::MainWindow window(engine, dialogs);
    window.show();
    QApplication::processEvents();
    quillet::WorksheetEdit& edit = window.worksheet();
    const int lines = static_cast<int>(state.range(0));
    edit.setWorksheetText(longWorksheet(lines));
    edit.setFocus();
    if (caret == Caret::AtEnd) {
        edit.moveCursor(QTextCursor::End);
    } else {
        // The start of a result line "3": the typed "1+2" goes in front of it and Enter
        // splits it off again, so every iteration sees the same kind of line.
        edit.setTextCursor(QTextCursor(edit.document()->findBlockByNumber(lines / 2 + 1)));
    }
    QApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        edit.insertPlainText(QStringLiteral("1+2"));
        state.ResumeTiming();
        pressEnter(edit);
        if (repaint)
            QApplication::processEvents();
    }
    state.counters["lines_at_end"] = edit.document()->blockCount();
}

void BM_CompleteLineAtEnd(benchmark::State& state) {
    completeLine(state, Caret::AtEnd, false);
}
BENCHMARK(BM_CompleteLineAtEnd)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_CompleteLineInTheMiddle(benchmark::State& state) {
    completeLine(state, Caret::InTheMiddle, false);
}
BENCHMARK(BM_CompleteLineInTheMiddle)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_CompleteLineAndRepaint(benchmark::State& state) {
    completeLine(state, Caret::InTheMiddle, true);
}
BENCHMARK(BM_CompleteLineAndRepaint)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
