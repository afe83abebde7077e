#include "app/worksheet_files.h"

#include "app/file_texts.h"
#include "app/worksheet_edit.h"
#include "worksheet/worksheet_logic.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

WorksheetFiles::WorksheetFiles(WorksheetEdit& editor, FileDialogs& dialogs, TitleSetter setTitle)
    : m_editor(editor), m_dialogs(dialogs), m_setTitle(std::move(setTitle)) {}

FileDialogs::Answer WorksheetFiles::promptSaveChanges(const QString& caption) {
    const QString path = currentFilePath();
    if (path.isEmpty() || !m_editor.isModified())
        return FileDialogs::Answer::No;
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

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.showMessage(&m_editor, QFileInfo::exists(path)
                                             ? file_texts::openFailed(path, file.errorString())
                                             : file_texts::fileMissing(path));
        return;
    }
    DecodedWorksheetFile decoded;
    QString text;
    try {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            m_dialogs.showMessage(&m_editor, file_texts::readFailed(path, file.errorString()));
            return;
        }
        decoded = decodeWorksheetFile(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        text = QString::fromStdString(decoded.text);
        decoded.text = std::string();
    } catch (const std::bad_alloc&) {
        m_dialogs.showMessage(&m_editor, file_texts::kCannotOpenFile);
        return;
    }
    file.close();

    // Replacing the text clears the modified flag and the undo history; no line runs.
    m_editor.setWorksheetText(text);
    m_lineBreaks = decoded.lineBreaks;
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

void WorksheetFiles::saveWorksheetAs() {
    const QString path = m_dialogs.saveFileName(dialogOwner());
    if (path.isEmpty())
        return;
    if (!writeWorksheet(path))
        return;
    m_editor.setModified(false);
    tieToFile(path);
}

bool WorksheetFiles::confirmClose() {
    return promptSaveChanges(file_texts::kCloseCaption) != FileDialogs::Answer::Cancel;
}

QString WorksheetFiles::currentFilePath() const {
    const WorksheetLogic* logic = m_editor.logic();
    return logic ? QString::fromStdString(logic->currentFilePath()) : QString();
}

bool WorksheetFiles::writeWorksheet(const QString& path) {
    const EncodedWorksheetFile encoded =
        encodeWorksheetFile(m_editor.toPlainText().toStdString(), m_lineBreaks);
    if (encoded.unencodable) {
        const UnencodableCharacter& what = *encoded.unencodable;
        m_dialogs.showMessage(&m_editor,
                              file_texts::unencodableCharacter(path, printableCharacter(what),
                                                               codePointText(what.codePoint),
                                                               what.line, what.column));
        return false;
    }

    // The text goes to a new file beside the old one, which replaces it only once all of it
    // was written: a full disk or a vanished folder leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_dialogs.showMessage(&m_editor, file_texts::saveFailed(path, file.errorString()));
        return false;
    }
    const auto size = static_cast<qint64>(encoded.bytes.size());
    if (file.write(encoded.bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        m_dialogs.showMessage(&m_editor, file_texts::saveFailed(path, reason));
        return false;
    }
    if (!file.commit()) {
        m_dialogs.showMessage(&m_editor, file_texts::saveFailed(path, file.errorString()));
        return false;
    }
    return true;
}

void WorksheetFiles::tieToFile(const QString& path) {
    if (WorksheetLogic* logic = m_editor.logic())
        logic->setCurrentFilePath(path.toStdString());
    m_setTitle(file_texts::windowTitle(QFileInfo(path).fileName()));
}

QWidget* WorksheetFiles::dialogOwner() const {
    return m_editor.window();
}

} // namespace quillet
