// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/variable_list_window.h"

#include "app/dialog_units.h"
#include "app/key_codes.h"
#include "app/ui_texts.h"
#include "app/worksheet_edit.h"
#include "app/x11_window_hints.h"
#include "engine/variable_table.h"
#include "graphs/fonts.h"
#include "worksheet/result_format.h"
#include "worksheet/worksheet_logic.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace quillet {

namespace {

constexpr int kFontPoints = 10;
constexpr int kWidthUnits = 154;
constexpr int kHeightUnits = 82;

// The variable's name: the item text before its first " =".
QString nameOfItem(const QString& text) {
    const qsizetype end = text.indexOf(ui_texts::kNameValueSeparator.left(2));
    return end < 0 ? text : text.left(end);
}

} // namespace

VariableListWindow::VariableListWindow(VariableTable& variables, WorksheetEdit& worksheet,
                                       QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_variables(variables), m_worksheet(worksheet) {
    setWindowTitle(ui_texts::kVariableListCaption);
    setFont(dialogFont(kFontPoints));
    setAttribute(Qt::WA_QuitOnClose, false);
    // Shown from the main window, whose worksheet keeps the keyboard. Set before the native
    // window exists, which takes it over only when it is made.
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            insertName(*item);
    });

    const QSize startSize = DialogUnits(font()).size(kWidthUnits, kHeightUnits);
    resize(startSize);
    m_list->setGeometry(rect());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), startSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void VariableListWindow::refresh(std::uint32_t precision) {
    std::vector<QString> texts;
    texts.reserve(m_variables.size());
    for (const auto& [name, value] : m_variables)
        texts.push_back(QString::fromStdString(name) + ui_texts::kNameValueSeparator +
                        QString::fromStdString(formatComplex(value, precision)));
    // Ordered by text without regard to case; texts equal that way keep the table's byte
    // order, so "a = 3" comes before "A = 5" and "A = 3" before "a = 3".
    std::stable_sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });

    m_list->setUpdatesEnabled(false);
    m_list->clear();
    for (const QString& text : texts)
        m_list->addItem(text);
    m_list->setUpdatesEnabled(true);
}

QStringList VariableListWindow::itemTexts() const {
    QStringList texts;
    for (int row = 0; row < m_list->count(); ++row)
        texts.push_back(m_list->item(row)->text());
    return texts;
}

void VariableListWindow::insertName(const QListWidgetItem& item) {
    const QString name = nameOfItem(item.text());
    m_worksheet.focusWorksheet();
    m_worksheet.replaceSelectionUndoable(name);
}

void VariableListWindow::eraseSelected() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* item = selected.front();
    const QString name = nameOfItem(item->text());
    delete m_list->takeItem(m_list->row(item));
    // The list would select the next item: a second Delete must not erase it unasked.
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
    m_variables.eraseVariable(name.toStdString());
}

void VariableListWindow::hideToWorksheet() {
    m_worksheet.focusWorksheet();
    hide();
}

bool VariableListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        switch (virtualKeyOf(*static_cast<QKeyEvent*>(event))) {
        case VirtualKey::Escape:
            hideToWorksheet();
            return true;
        case VirtualKey::Delete:
            eraseSelected();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VariableListWindow::keyPressEvent(QKeyEvent* event) {
    if (virtualKeyOf(*event) == VirtualKey::Escape) {
        hideToWorksheet();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void VariableListWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; it keeps its items, position and size.
    event->ignore();
    hide();
    m_worksheet.focusWorksheet();
}

void VariableListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_list->setGeometry(rect());
}

void VariableListWindow::showEvent(QShowEvent* event) {
    x11::markAsPalette(*this);
    QWidget::showEvent(event);
}

} // namespace quillet
