// SPDX-License-Identifier: GPL-3.0-or-later
// A shown main window with its own engine and dialogs answered from a script, shared by the
// widget tests.
#pragma once

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/worksheet_edit.h"
#include "engine/expression_engine.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

// Failure messages show the Qt values compared as text rather than as bytes.
template <typename T>
requires std::same_as<T, QString> || std::same_as<T, QByteArray> || std::same_as<T, QPoint> ||
    std::same_as<T, QSize> || std::same_as<T, QRect> || std::same_as<T, QUrl>
void PrintTo(const T& value, std::ostream* os) {
    *os << QDebug::toString(value).toStdString();
}

namespace quillet {

using namespace Qt::StringLiterals;

struct ScriptedDialogs : FileDialogs {
    QList<Answer> answers; // Cancel when the script runs out
    QStringList asked;     // "caption: text" of each question
    QStringList messages;
    QString openPath, savePath; // empty: the user cancels the dialog
    int openDialogs = 0, saveDialogs = 0;

    Answer ask(QWidget*, const QString& text, const QString& caption) override {
        asked << caption + u": "_s + text;
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    QString openFileName(QWidget*) override { return ++openDialogs, openPath; }
    QString saveFileName(QWidget*) override { return ++saveDialogs, savePath; }
    void showMessage(QWidget*, const QString& text) override { messages << text; }
};

// Writes a whole file, executable by its owner; gives its path.
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

class WindowTest : public testing::Test {
protected:
    WindowTest() {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }
    // Tests that change PATH or the current folder have them back afterwards.
    ~WindowTest() override {
        qputenv("PATH", savedPath);
        QDir::setCurrent(savedFolder);
    }
    // Types at the caret; a line break presses Enter.
    void type(QString text) { QTest::keyClicks(&edit, text.replace(u'\n', u'\r')); }
    // Replaces the worksheet by text, as loading does, with the caret at its end.
    void setText(const QString& text) {
        edit.setWorksheetText(text);
        edit.moveCursor(QTextCursor::End);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void select(int anchor, int position) {
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
    }
    std::pair<int, int> selection() const {
        return {edit.textCursor().anchor(), edit.textCursor().position()};
    }
    QString text() const { return edit.toPlainText(); }
    QString status() const { return window.statusText(); }

    const QByteArray savedPath = qgetenv("PATH");
    const QString savedFolder = QDir::currentPath();
    ExpressionEngine engine;
    ScriptedDialogs dialogs;
    MainWindow window{engine, dialogs};
    WorksheetEdit& edit = window.worksheet();
    const MainWindow::Controls& c = window.controls();
};

} // namespace quillet
