// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/worksheet_files.h"

#include "app/file_io.h"
#include "app/file_texts.h"
#include "app/worksheet_edit.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace quillet {

namespace {

// "1F600" for U+1F600, at least four digits.
QString codePointText(char32_t codePoint) {
    return QString::number(static_cast<uint>(codePoint), 16).toUpper().rightJustified(4, u'0');
}

// The character as the message shows it; control characters would not show at all.
QString printableCharacter(const UnencodableCharacter& what) {
    if (what.codePoint < 0x20 || (what.codePoint >= 0x7F && what.codePoint < 0xA0))
        return {};
    return QString::fromStdString(what.character);
}

std::string systemPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString readFailure(const QString& path, const FileReadResult& read) {
    switch (read.status) {
    case FileReadResult::Status::Missing:
        return file_texts::fileMissing(path);
    case FileReadResult::Status::NotRegular:
        return file_texts::notRegularFile(path, file_texts::fileKindName(read.kind));
    case FileReadResult::Status::TooLarge:
        return file_texts::fileTooLarge(path, read.size);
    case FileReadResult::Status::Read:
    case FileReadResult::Status::Failed:
        break;
    }
    return file_texts::openFailed(path, file_texts::systemReason(read.errorNumber));
}

} // namespace

WorksheetFiles::WorksheetFiles(WorksheetEdit& editor, FileDialogs& dialogs, TitleSetter setTitle)
    : m_editor(editor), m_dialogs(dialogs), m_setTitle(std::move(setTitle)) {}

FileDialogs::Answer WorksheetFiles::promptSaveChanges(const QString& caption) {
    if (!m_editor.isModified())
        return FileDialogs::Answer::No;
    const QString path = currentFilePath();
    if (path.isEmpty()) {
        // An untitled worksheet has no file to write to: Yes chooses one, and cancelling
        // that choice cancels whatever asked.
        if (m_editor.document()->isEmpty())
            return FileDialogs::Answer::No;
        const FileDialogs::Answer answer =
            m_dialogs.ask(&m_editor, file_texts::kSaveUntitledQuestion, caption);
        if (answer == FileDialogs::Answer::Yes && !saveWorksheetAs())
            return FileDialogs::Answer::Cancel;
        return answer;
    }
    const FileDialogs::Answer answer =
        m_dialogs.ask(&m_editor, file_texts::saveChangesQuestion(path), caption);
    // The question keeps the modified flag: the text is still a change against the file
    // the user may go on editing. A failed write stops whatever asked.
    if (answer == FileDialogs::Answer::Yes && !writeWorksheet(path))
        return FileDialogs::Answer::Cancel;
    return answer;
}

void WorksheetFiles::loadWorksheet() {
    if (promptSaveChanges(file_texts::kLoadCaption) == FileDialogs::Answer::Cancel)
        return;
    const QString path = m_dialogs.openFileName(dialogOwner());
    if (path.isEmpty())
        return;

    DecodedWorksheetFile decoded;
    QString text;
    try {
        FileReadResult read = readWholeFile(systemPath(path));
        if (read.status != FileReadResult::Status::Read) {
            m_dialogs.showMessage(&m_editor, readFailure(path, read));
            return;
        }
        decoded = decodeWorksheetFile(read.bytes);
        read.bytes = std::string();
        text = QString::fromStdString(decoded.text);
        decoded.text = std::string();
    } catch (const std::bad_alloc&) {
        m_dialogs.showMessage(&m_editor, file_texts::kCannotOpenFile);
        return;
    }

    // Replacing the text clears the modified flag and the undo history; no line runs.
    m_editor.setWorksheetText(text);
    m_lineBreaks = decoded.lineBreaks;
    m_encoding = decoded.encoding;
    tieToFile(path);
    if (decoded.zeroByteOffset)
        m_dialogs.showMessage(&m_editor, file_texts::zeroByte(path, *decoded.zeroByteOffset));
}

void WorksheetFiles::saveWorksheet() {
    const QString path = currentFilePath();
    if (path.isEmpty()) {
        saveWorksheetAs();
        return;
    }
    if (writeWorksheet(path))
        m_editor.setModified(false);
}

bool WorksheetFiles::saveWorksheetAs() {
    const QString path = m_dialogs.saveFileName(dialogOwner());
    if (path.isEmpty() || !writeWorksheet(path))
        return false;
    m_editor.setModified(false);
    tieToFile(path);
    return true;
}

bool WorksheetFiles::confirmClose() {
    return promptSaveChanges(file_texts::kCloseCaption) != FileDialogs::Answer::Cancel;
}

bool WorksheetFiles::writeWorksheet(const QString& path) {
    // The text as loaded and typed: toPlainText() would turn non-breaking spaces into blanks
    // and line separators (U+2028) into line breaks. Lines are separated by U+2029 here.
    const QString text = m_editor.document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    const EncodedWorksheetFile encoded =
        encodeWorksheetFile(text.toStdString(), m_lineBreaks, m_encoding);
    if (encoded.unencodable) {
        const UnencodableCharacter& what = *encoded.unencodable;
        m_dialogs.showMessage(&m_editor,
                              file_texts::unencodableCharacter(path, printableCharacter(what),
                                                               codePointText(what.codePoint),
                                                               what.line, what.column));
        return false;
    }

    const FileWriteResult result = writeWholeFile(systemPath(path), encoded.bytes);
    if (result.written)
        return true;
    const QString reason = file_texts::systemReason(result.errorNumber);
    m_dialogs.showMessage(
        &m_editor, result.kind != FileKind::Regular
                       ? file_texts::saveOverNonFile(path, file_texts::fileKindName(result.kind))
                   : result.oldContentsKept ? file_texts::saveFailed(path, reason)
                                            : file_texts::saveFailedPartly(path, reason));
    return false;
}

void WorksheetFiles::tieToFile(const QString& path) {
    m_currentFilePath = path;
    m_setTitle(file_texts::windowTitle(QFileInfo(path).fileName()));
}

QWidget* WorksheetFiles::dialogOwner() const {
    return m_editor.window();
}

} // namespace quillet
