// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_window.h"

#include "app/ui_texts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include <utility>

namespace quillet {

namespace {

constexpr QSize kStartSize(720, 640);
constexpr int kDesktopQueryMilliseconds = 3000;

// The first line a desktop tool prints, or an empty text when it is missing or fails.
QString firstLineOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(kDesktopQueryMilliseconds) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

} // namespace

QString findHelpDocument() {
    // The current folder comes first, so a document next to a worksheet wins; `cmake
    // --install` puts the program in <prefix>/bin and the document in
    // <prefix>/share/quillet, which is where an installed program finds its own.
    const QString candidates[] = {
        QDir::current().absoluteFilePath(ui_texts::kHelpFile),
        QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../share/quillet/") + ui_texts::kHelpFile),
    };
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    return {};
}

bool desktopCanOpen(const QString& path) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    // A launcher alone opens nothing: with no application for the type it only fails.
    const QString type = firstLineOf(QStringLiteral("xdg-mime"),
                                     {QStringLiteral("query"), QStringLiteral("filetype"), path});
    return !type.isEmpty() &&
           !firstLineOf(QStringLiteral("xdg-mime"),
                        {QStringLiteral("query"), QStringLiteral("default"), type})
                .isEmpty();
}

HelpWindow::HelpWindow(std::function<void()> focusWorksheet, QWidget* parent)
    : QTextBrowser(parent), m_focusWorksheet(std::move(focusWorksheet)) {
    // A dialog window, so that it can be given an owner like the other companion windows.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(ui_texts::kHelpCaption);
    setAttribute(Qt::WA_QuitOnClose, false);
    // Shown with the keyboard left in the worksheet; set before the native window exists.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setOpenExternalLinks(true);
    setSource(QUrl(QStringLiteral("qrc:/help.html")), QTextDocument::HtmlResource);

    QRect frame(QPoint(0, 0), kStartSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        frame.setSize(kStartSize.boundedTo(available.size() * 9 / 10));
        frame.moveCenter(available.center());
    }
    resize(frame.size());
    move(frame.topLeft());
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        event->accept();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window: it opens again where it was, at the same place in the
    // text.
    event->ignore();
    hide();
    if (m_focusWorksheet)
        m_focusWorksheet();
}

} // namespace quillet
