// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window: draws the shown functions of the model, switches to envelope drawing on a
// click, and owns the function list window. It is the model's display.
#pragma once

#include "graphs/fonts.h"
#include "graphs/graph_display.h"

#include <QWidget>

#include <functional>

class QPushButton;

namespace quillet {

class FunctionGraphs;
class FunctionListWindow;

class GraphWindow : public QWidget, public GraphDisplay {
    Q_OBJECT
public:
    // focusWorksheet gives the keyboard focus back to the worksheet editor. The window makes
    // itself the model's display for its lifetime.
    GraphWindow(FunctionGraphs& model, std::function<void()> focusWorksheet,
                QWidget* parent = nullptr);
    ~GraphWindow() override;

    FunctionListWindow* functionListWindow() const { return m_listWindow; }
    bool envelopeMode() const { return m_envelopeMode; }
    QPushButton* functionsButton() const { return m_functionsButton; }

    // Shows the function list window, the first time at the top-left corner of this window's
    // client area.
    void showFunctionList();

    // GraphDisplay
    void showWindow() override;
    void displaysChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Keeps the button "函数" in the bottom-left corner of the client area.
    void placeButton();
    // Hides the function list window and gives the worksheet the focus.
    void leaveToWorksheet();
    // Sets the title; an empty one stays empty on the screen.
    void showTitle(const QString& title);

    FunctionGraphs& m_model;
    std::function<void()> m_focusWorksheet;
    FunctionListWindow* m_listWindow = nullptr;
    QPushButton* m_functionsButton = nullptr;
    bool m_envelopeMode = false;
    // The function list window goes to this window's corner only when first shown; after
    // that it keeps the place the user gave it.
    bool m_listPlaced = false;
    GraphFonts m_fonts;
};

} // namespace quillet
