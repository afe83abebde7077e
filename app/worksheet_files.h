// Loading and saving the worksheet: the file buttons, the save-changes question and the
// window title that names the file. Files are GBK with the line breaks they came with.
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

    // Asks whether to save changes to the current file (only when there is one and the text
    // was modified); Yes writes the file. Cancel also when that write failed.
    FileDialogs::Answer promptSaveChanges(const QString& caption);
    void loadWorksheet();
    void saveWorksheet();
    void saveWorksheetAs();
    // The close request: false keeps the window open.
    bool confirmClose();

private:
    QString currentFilePath() const;
    // Writes the worksheet text to path in one step (the old file stays until the new one
    // is complete). Reports a failure in a message box and returns false.
    bool writeWorksheet(const QString& path);
    // The worksheet now belongs to the file at path: its path and the window title.
    void tieToFile(const QString& path);
    QWidget* dialogOwner() const;

    WorksheetEdit& m_editor;
    FileDialogs& m_dialogs;
    TitleSetter m_setTitle;
    // The line breaks of the file last loaded; a file is written back with them.
    LineBreakStyle m_lineBreaks = LineBreakStyle::CrLf;
};

} // namespace quillet
