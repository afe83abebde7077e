// SPDX-License-Identifier: GPL-3.0-or-later
// The variable list window: a small tool window listing every variable with its value,
// sorted by text without regard to case. A double-click puts a name into the worksheet,
// Delete erases a variable, Escape and the close box hide the window.
#pragma once

#include <QWidget>

#include <cstdint>

class QListWidget;
class QListWidgetItem;

namespace quillet {

class VariableTable;
class WorksheetEdit;

class VariableListWindow : public QWidget {
    Q_OBJECT
public:
    VariableListWindow(VariableTable& variables, WorksheetEdit& worksheet,
                       QWidget* parent = nullptr);

    // Rebuilds the items from the variable table, values with precision significant digits.
    void refresh(std::uint32_t precision);

    QListWidget* list() const { return m_list; }
    QStringList itemTexts() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void insertName(const QListWidgetItem& item);
    void eraseSelected();
    void hideToWorksheet();

    VariableTable& m_variables;
    WorksheetEdit& m_worksheet;
    QListWidget* m_list = nullptr;
};

} // namespace quillet
