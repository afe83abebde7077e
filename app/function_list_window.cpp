// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/function_list_window.h"

#include "app/dialog_units.h"
#include "app/x11_window_hints.h"
#include "graphs/function_graphs.h"
#include "graphs/function_list_painter.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillet {

namespace {

// The fixed size, in dialog units of the layout font.
constexpr int kWidthUnits = 186;
constexpr int kHeightUnits = 126;

} // namespace

FunctionListWindow::FunctionListWindow(FunctionGraphs& model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_model(model), m_fonts(GraphFonts::standard()) {
    // Painting fills the whole client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(DialogUnits(m_fonts.listLayout).size(kWidthUnits, kHeightUnits));
    refresh();
}

void FunctionListWindow::refresh() {
    // The model's list title is the initial title until the first definition, then the range.
    setWindowTitle(QString::fromStdString(m_model.listTitle()));
    update();
}

void FunctionListWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFunctionList(painter, m_model, size(), m_showCaptions, m_fonts);
}

void FunctionListWindow::showEvent(QShowEvent* event) {
    x11::markAsPalette(*this);
    QWidget::showEvent(event);
}

void FunctionListWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const ListClick click = hitTestFunctionList(m_model, event->position().toPoint());
        if (click.toggleSlot) {
            m_model.toggleShown(*click.toggleSlot);
            Q_EMIT shownFunctionsChanged();
            update();
        }
        if (click.flipCaptions) {
            m_showCaptions = !m_showCaptions;
            update();
        }
    }
    QWidget::mousePressEvent(event);
}

} // namespace quillet
