// quillet: the desktop calculator. Creates the one expression engine, seeds its random
// generator with the clock and runs the main window until it closes.
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/ui_texts.h"
#include "engine/expression_engine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace {

// Start-up measurement: with QUILLET_QUIT_AFTER_FIRST_PAINT set, the program reports the
// time from entering main to the main window's first paint on standard error and quits at once.
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(const QElapsedTimer& sinceStart, QObject* parent)
        : QObject(parent), m_clock(sinceStart) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::fprintf(stderr, "quillet: first paint after %lld ms\n",
                         static_cast<long long>(m_clock.elapsed()));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer m_clock;
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
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
    if (qEnvironmentVariableIsSet("QUILLET_QUIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(new FirstPaintProbe(sinceStart, &app));
    window.show();
    return app.exec();
}
