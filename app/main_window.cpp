// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/dialog_units.h"
#include "app/function_list_window.h"
#include "app/graph_window.h"
#include "app/help_window.h"
#include "app/key_codes.h"
#include "app/ui_texts.h"
#include "app/variable_list_window.h"
#include "app/worksheet_edit.h"
#include "app/worksheet_files.h"
#include "app/x11_window_hints.h"
#include "engine/expression_engine.h"
#include "graphs/fonts.h"
#include "worksheet/worksheet_logic.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <functional>

// The icon lives in the resources of the static library, which are registered by hand.
static void initAppResources() {
    Q_INIT_RESOURCE(resources);
}

namespace quillet {

namespace {

constexpr int kDialogFontPoints = 9;
// The window's client area in dialog units.
constexpr int kDialogWidth = 237;
constexpr int kDialogHeight = 160;

constexpr int kAngleDegrees = 0;
constexpr int kAngleRadians = 1;

// Makes a companion window a window of the main window while the main window stays on top
// of all others: window managers keep owned windows above their owner, so the companion
// cannot disappear under it. Without an owner (nullptr) it is stacked on its own again. The
// function list window belongs to the graph window and follows it.
void setCompanionOwner(QWidget& companion, QWidget* owner) {
    if (companion.parentWidget())
        return;
    (void)companion.winId();
    companion.windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
    // The platform passes the owner on when it shows the window; a visible one learns it now.
    if (companion.isVisible())
        x11::setOwner(companion, owner);
}

} // namespace

MainWindow::MainWindow(ExpressionEngine& engine, FileDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_engine(engine), m_graphs(engine) {
    initAppResources();
    setWindowTitle(ui_texts::kAppName);
    setWindowIcon(QIcon(QStringLiteral(":/quillet.svg")));
    setFont(dialogFont(kDialogFontPoints));
    createControls();

    m_variableListWindow =
        std::make_unique<VariableListWindow>(m_engine.variables(), *m_controls.worksheet);
    m_graphWindow = std::make_unique<GraphWindow>(
        m_graphs, [this] { m_controls.worksheet->focusWorksheet(); }, nullptr);
    m_graphs.setDisplay(m_graphWindow.get());
    for (QWidget* companion : companionWindows())
        companion->setAttribute(Qt::WA_QuitOnClose, false);

    m_logic =
        std::make_unique<WorksheetLogic>(m_engine, *m_controls.worksheet, *this, m_graphs, *this);
    m_logic->setDisplayBase(DisplayBase::Decimal);
    m_controls.worksheet->setLogic(m_logic.get());
    m_files = std::make_unique<WorksheetFiles>(
        *m_controls.worksheet, dialogs, [this](const QString& title) { setWindowTitle(title); });
    m_engine.setDegrees(true);
    connectControls();

    // The keypad decimal point and Escape are looked at before any control of this window
    // sees them.
    qApp->installEventFilter(this);
    m_controls.worksheet->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    m_controls.worksheet->setLogic(nullptr);
    m_graphs.setDisplay(nullptr);
    m_helpWindow.reset();
    m_graphWindow.reset();
    m_variableListWindow.reset();
}

void MainWindow::createControls() {
    const DialogUnits units(font());
    const auto place = [&](QWidget* control, int x, int y, int width, int height, bool tabStop) {
        control->setGeometry(units.rect(x, y, width, height));
        control->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    };
    Controls& c = m_controls;

    // The frames come first so that the buttons they surround lie above them.
    c.angleFrame = new QGroupBox(this);
    place(c.angleFrame, 3, 1, 73, 17, false);
    c.angleFrame->setFocusPolicy(Qt::NoFocus);
    c.baseFrame = new QGroupBox(this);
    place(c.baseFrame, 78, 1, 116, 17, false);
    c.baseFrame->setFocusPolicy(Qt::NoFocus);

    c.worksheet = new WorksheetEdit(this);
    place(c.worksheet, 0, 36, 194, 108, true);
    c.degrees = new QRadioButton(ui_texts::kDegrees, this);
    place(c.degrees, 4, 6, 36, 10, false);
    c.radians = new QRadioButton(ui_texts::kRadians, this);
    place(c.radians, 40, 6, 34, 10, false);
    c.variableList = new QPushButton(ui_texts::kVariableList, this);
    place(c.variableList, 199, 53, 37, 14, false);
    c.status = new QLabel(this);
    // As wide as the worksheet above it, so that long results fit.
    place(c.status, 5, 148, 194, 8, false);
    c.status->setFocusPolicy(Qt::NoFocus);
    c.status->setTextFormat(Qt::PlainText);
    c.status->setWordWrap(false);
    c.status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.showResults = new QCheckBox(ui_texts::kShowResults, this);
    place(c.showResults, 4, 22, 91, 10, false);
    c.decimal = new QRadioButton(ui_texts::kDecimal, this);
    place(c.decimal, 80, 6, 33, 10, false);
    c.hexadecimal = new QRadioButton(ui_texts::kHexadecimal, this);
    place(c.hexadecimal, 114, 6, 42, 10, false);
    c.binary = new QRadioButton(ui_texts::kBinary, this);
    place(c.binary, 157, 6, 34, 10, false);
    c.load = new QPushButton(ui_texts::kLoadFile, this);
    place(c.load, 199, 78, 37, 14, true);
    c.save = new QPushButton(ui_texts::kSaveFile, this);
    place(c.save, 199, 103, 37, 14, true);
    c.saveAs = new QPushButton(ui_texts::kSaveFileAs, this);
    place(c.saveAs, 199, 128, 37, 14, true);
    c.help = new QPushButton(ui_texts::kHelp, this);
    place(c.help, 199, 28, 37, 14, true);
    c.alwaysOnTop = new QCheckBox(ui_texts::kAlwaysOnTop, this);
    place(c.alwaysOnTop, 115, 22, 67, 10, true);

    QWidget* const tabOrder[] = {c.worksheet,   c.degrees, c.radians,     c.variableList,
                                 c.showResults, c.decimal, c.hexadecimal, c.binary,
                                 c.load,        c.save,    c.saveAs,      c.help,
                                 c.alwaysOnTop};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    m_angleGroup = new QButtonGroup(this);
    m_angleGroup->setExclusive(true);
    m_angleGroup->addButton(c.degrees, kAngleDegrees);
    m_angleGroup->addButton(c.radians, kAngleRadians);
    m_baseGroup = new QButtonGroup(this);
    m_baseGroup->setExclusive(true);
    m_baseGroup->addButton(c.decimal, static_cast<int>(DisplayBase::Decimal));
    m_baseGroup->addButton(c.hexadecimal, static_cast<int>(DisplayBase::Hexadecimal));
    m_baseGroup->addButton(c.binary, static_cast<int>(DisplayBase::Binary));
    c.degrees->setChecked(true);
    c.decimal->setChecked(true);
    c.showResults->setChecked(true);
    c.alwaysOnTop->setChecked(false);

    resize(units.size(kDialogWidth, kDialogHeight));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void MainWindow::connectControls() {
    const Controls& c = m_controls;
    connect(m_angleGroup, &QButtonGroup::idClicked, this,
            [this](int id) { setAngleMode(id == kAngleDegrees); });
    connect(m_baseGroup, &QButtonGroup::idClicked, this, [this](int id) { setDisplayBase(id); });
    connect(c.showResults, &QCheckBox::clicked, this,
            [this] { m_controls.worksheet->focusWorksheet(); });
    connect(c.alwaysOnTop, &QCheckBox::clicked, this, [this](bool on) { setAlwaysOnTop(on); });
    connect(c.variableList, &QPushButton::clicked, this, [this] { showVariableList(); });
    connect(c.help, &QPushButton::clicked, this, [this] { openHelp(); });

    // The file buttons and their usual shortcuts; whatever happened in the dialogs, the
    // keyboard goes back to the worksheet. F1 stays unbound: help is reached by its button.
    const auto fileOperation = [this](auto operation) {
        return [this, operation] {
            (m_files.get()->*operation)();
            m_controls.worksheet->focusWorksheet();
        };
    };
    const struct {
        QPushButton* button;
        QKeySequence keys;
        std::function<void()> run;
    } fileButtons[] = {
        {c.load, QKeySequence(Qt::CTRL | Qt::Key_O), fileOperation(&WorksheetFiles::loadWorksheet)},
        {c.save, QKeySequence(Qt::CTRL | Qt::Key_S), fileOperation(&WorksheetFiles::saveWorksheet)},
        {c.saveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         fileOperation(&WorksheetFiles::saveWorksheetAs)},
    };
    for (const auto& file : fileButtons) {
        connect(file.button, &QPushButton::clicked, this, file.run);
        connect(new QShortcut(file.keys, this), &QShortcut::activated, this, file.run);
    }
}

void MainWindow::setStatusText(std::string_view text) {
    m_statusText = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // A text too long for the line ends in "…", so that the cut shows; the whole text is at
    // hand under the mouse.
    QLabel& line = *m_controls.status;
    line.setText(
        line.fontMetrics().elidedText(m_statusText, Qt::ElideRight, line.contentsRect().width()));
    line.setToolTip(m_statusText);
}

bool MainWindow::showResultsInWorksheet() const {
    return m_controls.showResults->isChecked();
}

void MainWindow::refreshVariableList() {
    m_variableListWindow->refresh(m_logic->precision());
}

QString MainWindow::statusText() const {
    return m_statusText;
}

void MainWindow::setAngleMode(bool degrees) {
    m_engine.setDegrees(degrees);
    m_controls.worksheet->focusWorksheet();
    m_logic->processLine(false, true);
}

void MainWindow::setDisplayBase(int base) {
    m_logic->setDisplayBase(static_cast<DisplayBase>(base));
    m_controls.worksheet->focusWorksheet();
    m_logic->processLine(false, true);
}

void MainWindow::setAlwaysOnTop(bool onTop) {
    // Changing the stacking hint hides the window; it comes back with its size, at the top
    // left corner of its screen, and the focus stays on the check box.
    const QSize keptSize = size();
    const QPoint corner = screen() ? screen()->geometry().topLeft() : QPoint(0, 0);
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(corner);
    resize(keptSize);
    if (wasVisible) {
        show();
        raise();
        activateWindow();
    }
    for (QWidget* companion : companionWindows())
        setCompanionOwner(*companion, onTop ? this : nullptr);
}

void MainWindow::showVariableList() {
    // The list comes up on top without taking the keyboard: the user goes on typing in the
    // worksheet after the click. The worksheet is focused first: a window manager raises the
    // window it activates, which would cover the list.
    m_controls.worksheet->focusWorksheet();
    VariableListWindow& list = *m_variableListWindow;
    list.showNormal();
    list.raise();
}

void MainWindow::openHelp() {
    // The desktop's viewer shows the help document when there is one for it; otherwise the
    // help page built into the program is shown, so the button never does nothing. The
    // worksheet is focused first, as for the variable list.
    m_controls.worksheet->focusWorksheet();
    const QString document = findHelpDocument();
    if (document.isEmpty() || !desktopCanOpen(document) ||
        !QDesktopServices::openUrl(QUrl::fromLocalFile(document)))
        showHelpWindow();
}

void MainWindow::showHelpWindow() {
    if (!m_helpWindow) {
        m_helpWindow =
            std::make_unique<HelpWindow>([this] { m_controls.worksheet->focusWorksheet(); });
        setCompanionOwner(*m_helpWindow, m_controls.alwaysOnTop->isChecked() ? this : nullptr);
    }
    // Shown like the variable list: on top, with the keyboard left in the worksheet.
    m_helpWindow->showNormal();
    m_helpWindow->raise();
}

std::vector<QWidget*> MainWindow::companionWindows() const {
    std::vector<QWidget*> windows{m_variableListWindow.get(), m_graphWindow.get()};
    if (QWidget* functionList = m_graphWindow->functionListWindow())
        windows.push_back(functionList);
    if (m_helpWindow)
        windows.push_back(m_helpWindow.get());
    return windows;
}

void MainWindow::hideCompanions() {
    // Every visibility is taken before any window is hidden: hiding the graph window may
    // take the function list window with it.
    m_hiddenCompanions.clear();
    const std::vector<QWidget*> windows = companionWindows();
    for (QWidget* window : windows)
        if (window->isVisible())
            m_hiddenCompanions.push_back(window);
    for (QWidget* window : m_hiddenCompanions)
        window->hide();
}

void MainWindow::restoreCompanions() {
    for (QWidget* window : m_hiddenCompanions)
        window->show();
    m_hiddenCompanions.clear();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != this && !isAncestorOf(widget))
        return false;
    switch (virtualKeyOf(*static_cast<QKeyEvent*>(event))) {
    case VirtualKey::Escape:
        return true;
    case VirtualKey::Decimal:
        m_controls.worksheet->insertSystemText(QStringLiteral("."));
        return true;
    default:
        return false;
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool wasMinimised = change->oldState().testFlag(Qt::WindowMinimized);
    const bool minimised = windowState().testFlag(Qt::WindowMinimized);
    if (minimised && !wasMinimised)
        hideCompanions();
    else if (!minimised && wasMinimised)
        restoreCompanions();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_files->confirmClose()) {
        event->ignore();
        return;
    }
    for (QWidget* window : companionWindows())
        window->hide();
    m_hiddenCompanions.clear();
    event->accept();
}

} // namespace quillet
