// SPDX-License-Identifier: GPL-3.0-or-later
// The help: finding the help document for the desktop's viewer, and Quillet's own help
// window, a read-only view of the help page compiled into the program, for desktops that
// cannot open the document.
#pragma once

#include <QTextBrowser>

#include <functional>

namespace quillet {

// The help document to hand to the desktop: help.mht in the current folder, otherwise the
// copy installed with the program; empty when there is neither.
QString findHelpDocument();

// Whether the desktop can open the document: a launcher is installed and an application is
// registered for the document's type.
bool desktopCanOpen(const QString& path);

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    // focusWorksheet gives the keyboard focus back to the worksheet when the window closes.
    explicit HelpWindow(std::function<void()> focusWorksheet, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_focusWorksheet;
};

} // namespace quillet
