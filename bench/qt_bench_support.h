// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks of the windows share: one application for the whole process, and file
// dialogs that answer at once without asking anyone.
#pragma once

#include "app/file_dialogs.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <utility>

namespace quillet::bench {

// One application for all benchmarks; it lives until the process ends.
inline void ensureApplication() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillet_bench";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    benchmark::DoNotOptimize(app);
}

// Answers No to every question, opens openPath (none by default) and saves nowhere.
class ScriptedDialogs : public FileDialogs {
public:
    explicit ScriptedDialogs(QString openPath = {}) : m_openPath(std::move(openPath)) {}
    Answer ask(QWidget*, const QString&, const QString&) override { return Answer::No; }
    QString openFileName(QWidget*) override { return m_openPath; }
    QString saveFileName(QWidget*) override { return {}; }
    void showMessage(QWidget*, const QString&) override {}

private:
    QString m_openPath;
};

} // namespace quillet::bench
