// Loading and saving the worksheet: the file buttons, the save-changes question and the
// window title that names the file. Files are GBK with the line breaks they came with.
#pragma once

#include "app/file_dialogs.h"

#include <QString>

#include <functional>

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
    WorksheetEdit& m_editor;
    FileDialogs& m_dialogs;
    TitleSetter m_setTitle;
};

} // namespace quillet
