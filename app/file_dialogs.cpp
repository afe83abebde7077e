// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_dialogs.h"

#include "app/file_texts.h"
#include "app/ui_texts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

namespace quillet {

namespace {

QString runFileDialog(QWidget* owner, FileDialogKind kind) {
    QFileDialog dialog(owner);
    prepareFileDialog(dialog, kind);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

void prepareFileDialog(QFileDialog& dialog, FileDialogKind kind) {
    const bool save = kind == FileDialogKind::Save;
    dialog.setWindowTitle(save ? file_texts::kSaveDialogTitle : file_texts::kOpenDialogTitle);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name is accepted; a file that does not exist fails when it is opened.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({file_texts::kTextFilesFilter, file_texts::kAllFilesFilter});
    dialog.selectNameFilter(file_texts::kTextFilesFilter);
    dialog.setDefaultSuffix(file_texts::kDefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
}

FileDialogs::Answer QtFileDialogs::ask(QWidget* owner, const QString& text,
                                       const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.button(QMessageBox::Yes)->setText(file_texts::kYesButton);
    box.button(QMessageBox::No)->setText(file_texts::kNoButton);
    box.button(QMessageBox::Cancel)->setText(file_texts::kCancelButton);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Cancel, Escape and the title bar's close button.
        return Answer::Cancel;
    }
}

QString QtFileDialogs::openFileName(QWidget* owner) {
    return runFileDialog(owner, FileDialogKind::Open);
}

QString QtFileDialogs::saveFileName(QWidget* owner) {
    return runFileDialog(owner, FileDialogKind::Save);
}

void QtFileDialogs::showMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, ui_texts::kAppName, text, QMessageBox::Ok, owner);
    box.button(QMessageBox::Ok)->setText(file_texts::kOkButton);
    box.exec();
}

} // namespace quillet
