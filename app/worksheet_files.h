// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the worksheet: the file buttons, the save-changes question and the
// window title that names the file. Files are written back in the encoding and with the
// line breaks they came with (a new worksheet: GBK, CR LF).
#pragma once

#include "app/file_dialogs.h"
#include "worksheet/worksheet_file.h"

#include <QString>

#include <functional>

class QWidget;

namespace quillet {

class WorksheetEdit;

class WorksheetFiles {
public:
    using TitleSetter = std::function<void(const QString&)>;

    WorksheetFiles(WorksheetEdit& editor, FileDialogs& dialogs, TitleSetter setTitle);

    // Asks whether to save the modified text: to the current file, or for an untitled
    // worksheet that holds text, through the save dialog. Yes writes the file. Cancel also
    // when the dialog was cancelled or the write failed.
    FileDialogs::Answer promptSaveChanges(const QString& caption);
    void loadWorksheet();
    void saveWorksheet();
    // True when the file was written.
    bool saveWorksheetAs();
    // The close request: false keeps the window open.
    bool confirmClose();

    // The file the worksheet was last loaded from or saved to; empty while untitled.
    const QString& currentFilePath() const { return m_currentFilePath; }
    void setCurrentFilePath(const QString& path) { m_currentFilePath = path; }

private:
    // Writes the worksheet text to path; on failure the old file keeps its bytes (or the
    // message says otherwise). Reports a failure in a message box and returns false.
    bool writeWorksheet(const QString& path);
    // The worksheet now belongs to the file at path: its path and the window title.
    void tieToFile(const QString& path);
    QWidget* dialogOwner() const;

    WorksheetEdit& m_editor;
    FileDialogs& m_dialogs;
    TitleSetter m_setTitle;
    // The line breaks of the file last loaded; a file is written back with them.
    LineBreakStyle m_lineBreaks = LineBreakStyle::CrLf;
    FileEncoding m_encoding = FileEncoding::Gbk;
    QString m_currentFilePath;
};

} // namespace quillet
