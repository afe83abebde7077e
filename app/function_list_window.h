// SPDX-License-Identifier: GPL-3.0-or-later
// The function list window: one row per slot with its colour swatch and its caption or
// result text; a click on a swatch shows or hides that function.
#pragma once

#include "graphs/fonts.h"

#include <QWidget>

namespace quillet {

class FunctionGraphs;

class FunctionListWindow : public QWidget {
    Q_OBJECT
public:
    // parent is the graph window, whose drawing changes when a swatch is clicked.
    FunctionListWindow(FunctionGraphs& model, QWidget* parent);

    bool showCaptions() const { return m_showCaptions; }

    // Re-reads the title (the plotting range once a function was defined) and repaints.
    void refresh();

Q_SIGNALS:
    // A function was shown or hidden: the graph window must be redrawn.
    void shownFunctionsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    FunctionGraphs& m_model;
    bool m_showCaptions = true;
    GraphFonts m_fonts;
};

} // namespace quillet
