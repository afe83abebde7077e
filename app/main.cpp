// SPDX-License-Identifier: GPL-3.0-or-later
// quillet: the desktop calculator. Creates the one expression engine, seeds its random
// generator with the clock and runs the main window until it closes.
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/ui_texts.h"
#include "engine/expression_engine.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdint>
#include <ctime>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(quillet::ui_texts::kAppName);
    QApplication::setDesktopFileName(QStringLiteral("io.github.quillet.Quillet"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillet.svg")));

    // The interface is Chinese whatever the desktop's language: the standard file dialogs
    // speak it too when Qt's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    quillet::ExpressionEngine engine;
    engine.seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    engine.setDegrees(true);

    quillet::QtFileDialogs dialogs;
    quillet::MainWindow window(engine, dialogs);
    window.show();
    return app.exec();
}
