// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs and message boxes of the worksheet files, behind an interface so that
// tests can answer them.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace quillet {

class FileDialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~FileDialogs() = default;
    // A Yes/No/Cancel question with the question icon.
    virtual Answer ask(QWidget* owner, const QString& text, const QString& caption) = 0;
    // The chosen file's full path, or an empty text when the user cancelled.
    virtual QString openFileName(QWidget* owner) = 0;
    virtual QString saveFileName(QWidget* owner) = 0;
    // A message box with an OK button.
    virtual void showMessage(QWidget* owner, const QString& text) = 0;
};

enum class FileDialogKind { Open, Save };

// Sets up a dialog for worksheet files: the text-file and all-file filters (the first
// chosen), the default suffix "txt" for a name typed without one, any name accepted, and
// no question before an existing file is replaced.
void prepareFileDialog(QFileDialog& dialog, FileDialogKind kind);

// The real dialogs of the desktop.
class QtFileDialogs : public FileDialogs {
public:
    Answer ask(QWidget* owner, const QString& text, const QString& caption) override;
    QString openFileName(QWidget* owner) override;
    QString saveFileName(QWidget* owner) override;
    void showMessage(QWidget* owner, const QString& text) override;
};

} // namespace quillet
