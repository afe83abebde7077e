// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the worksheet, the angle and display base buttons, the two check boxes,
// the status line and the buttons for the variable list, files and help. It owns the
// worksheet logic and the companion windows (variable list, graph and function list).
#pragma once

#include "graphs/function_graphs.h"
#include "worksheet/worksheet_views.h"

#include <QWidget>

#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quillet {

class ExpressionEngine;
class FileDialogs;
class GraphWindow;
class HelpWindow;
class VariableListWindow;
class WorksheetEdit;
class WorksheetFiles;
class WorksheetLogic;

class MainWindow : public QWidget, public MainWindowView, public VariableListView {
    Q_OBJECT
public:
    // The controls of the fixed layout, in tab order.
    struct Controls {
        WorksheetEdit* worksheet = nullptr;
        QRadioButton* degrees = nullptr;
        QRadioButton* radians = nullptr;
        QGroupBox* angleFrame = nullptr;
        QPushButton* variableList = nullptr;
        QLabel* status = nullptr;
        QCheckBox* showResults = nullptr;
        QRadioButton* decimal = nullptr;
        QRadioButton* hexadecimal = nullptr;
        QRadioButton* binary = nullptr;
        QGroupBox* baseFrame = nullptr;
        QPushButton* load = nullptr;
        QPushButton* save = nullptr;
        QPushButton* saveAs = nullptr;
        QPushButton* help = nullptr;
        QCheckBox* alwaysOnTop = nullptr;
    };

    // The smallest size the window can be given, in pixels.
    static constexpr int kMinimumWidth = 230;
    static constexpr int kMinimumHeight = 150;

    MainWindow(ExpressionEngine& engine, FileDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // MainWindowView
    void setStatusText(std::string_view text) override;
    bool showResultsInWorksheet() const override;
    // VariableListView: rebuilds the variable list window's items.
    void refreshVariableList() override;

    const Controls& controls() const { return m_controls; }
    WorksheetEdit& worksheet() const { return *m_controls.worksheet; }
    WorksheetLogic& logic() const { return *m_logic; }
    WorksheetFiles& files() const { return *m_files; }
    FunctionGraphs& graphs() { return m_graphs; }
    VariableListWindow& variableListWindow() const { return *m_variableListWindow; }
    GraphWindow& graphWindow() const { return *m_graphWindow; }
    // The built-in help window, made the first time the help is shown in it.
    HelpWindow* helpWindow() const { return m_helpWindow.get(); }
    // The whole status text; the status line may show it shortened.
    QString statusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectControls();
    void setAngleMode(bool degrees);
    void setDisplayBase(int base);
    void setAlwaysOnTop(bool onTop);
    void showVariableList();
    void openHelp();
    void showHelpWindow();
    // The companion windows in the order they are hidden and shown again.
    std::vector<QWidget*> companionWindows() const;
    void hideCompanions();
    void restoreCompanions();

    ExpressionEngine& m_engine;
    FunctionGraphs m_graphs;
    Controls m_controls;
    QButtonGroup* m_angleGroup = nullptr;
    QButtonGroup* m_baseGroup = nullptr;
    std::unique_ptr<VariableListWindow> m_variableListWindow;
    std::unique_ptr<GraphWindow> m_graphWindow;
    std::unique_ptr<WorksheetLogic> m_logic;
    std::unique_ptr<WorksheetFiles> m_files;
    std::unique_ptr<HelpWindow> m_helpWindow;
    QString m_statusText;
    // The companion windows that were open when the window was minimised.
    std::vector<QWidget*> m_hiddenCompanions;
};

} // namespace quillet
