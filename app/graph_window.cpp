// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graph_window.h"

#include "app/dialog_units.h"
#include "app/function_list_window.h"
#include "app/ui_texts.h"
#include "app/x11_window_hints.h"
#include "graphs/function_graphs.h"
#include "graphs/graph_painter.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <string>
#include <utility>

namespace quillet {

namespace {

// The button that opens the function list stays in the bottom-left corner.
constexpr int kButtonLeft = 5;
constexpr int kButtonRise = 27; // its top lies this far above the bottom of the client area
constexpr int kButtonWidth = 45;
constexpr int kButtonHeight = 22;

// The first size, in dialog units of the layout font, and the smallest size in pixels.
constexpr int kWidthUnits = 207;
constexpr int kHeightUnits = 105;
constexpr QSize kMinimumSize(130, 100);

// A window title that shows text as it is: Qt reads "[*]" in a title as the place of the
// modified mark and shows "[*][*]" as "[*]".
QString literalTitle(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

} // namespace

GraphWindow::GraphWindow(FunctionGraphs& model, std::function<void()> focusWorksheet,
                         QWidget* parent)
    // A dialog window, so that it can be given an owner: the main window owns it while it
    // stays on top of all others.
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_model(model), m_focusWorksheet(std::move(focusWorksheet)), m_fonts(GraphFonts::standard()) {
    // Painting fills the whole client area itself: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Shown from the worksheet, which keeps the keyboard focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::ClickFocus);

    m_functionsButton = new QPushButton(ui_texts::kFunctionsButton, this);
    m_functionsButton->setFocusPolicy(Qt::NoFocus);
    connect(m_functionsButton, &QPushButton::clicked, this, [this] { showFunctionList(); });

    m_listWindow = new FunctionListWindow(m_model, this);
    connect(m_listWindow, &FunctionListWindow::shownFunctionsChanged, this, [this] { update(); });

    setMinimumSize(kMinimumSize);
    resize(DialogUnits(m_fonts.graphLayout).size(kWidthUnits, kHeightUnits));
    placeButton();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
    else
        move(0, 0);

    m_model.setDisplay(this);
}

GraphWindow::~GraphWindow() {
    m_model.setDisplay(nullptr);
}

void GraphWindow::showFunctionList() {
    if (!m_listPlaced) {
        m_listWindow->move(mapToGlobal(QPoint(0, 0)));
        m_listPlaced = true;
    }
    m_listWindow->refresh();
    m_listWindow->showNormal();
    m_listWindow->raise();
}

void GraphWindow::showWindow() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
}

void GraphWindow::displaysChanged() {
    showTitle(literalTitle(m_model.graphTitle()));
    update();
    m_listWindow->refresh();
}

void GraphWindow::showTitle(const QString& title) {
    setWindowTitle(title);
    if (title.isEmpty())
        x11::clearTitle(*this);
}

void GraphWindow::showEvent(QShowEvent* event) {
    // The native window may be new: its title is written again before it appears.
    if (windowTitle().isEmpty())
        x11::clearTitle(*this);
    QWidget::showEvent(event);
}

void GraphWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintGraph(painter, m_model, size(), m_envelopeMode, m_fonts);
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButton();
    update();
}

void GraphWindow::placeButton() {
    m_functionsButton->setGeometry(kButtonLeft, height() - kButtonRise, kButtonWidth,
                                   kButtonHeight);
}

void GraphWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_envelopeMode = !m_envelopeMode;
        update();
    }
    QWidget::mousePressEvent(event);
}

void GraphWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        leaveToWorksheet();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GraphWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window: the definitions live on in the model.
    event->accept();
    leaveToWorksheet();
}

void GraphWindow::leaveToWorksheet() {
    m_listWindow->hide();
    if (m_focusWorksheet)
        m_focusWorksheet();
}

} // namespace quillet
