// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/key_codes.h"

#include "worksheet/worksheet_logic.h"

#include <QKeyEvent>

namespace quillet {

namespace {

enum class Pad { Any, Keypad };

// Keypad rows match only keys of the numeric keypad.
struct KeyEntry {
    int qtKey;
    Pad pad;
    VirtualKey key;
};

constexpr KeyEntry kKeyTable[] = {
    {Qt::Key_Return, Pad::Any, VirtualKey::Enter},
    {Qt::Key_Enter, Pad::Any, VirtualKey::Enter},
    {Qt::Key_Shift, Pad::Any, VirtualKey::Shift},
    {Qt::Key_Control, Pad::Any, VirtualKey::Ctrl},
    {Qt::Key_Escape, Pad::Any, VirtualKey::Escape},
    {Qt::Key_Up, Pad::Any, VirtualKey::Up},
    {Qt::Key_Down, Pad::Any, VirtualKey::Down},
    {Qt::Key_Insert, Pad::Any, VirtualKey::Insert},
    {Qt::Key_Delete, Pad::Any, VirtualKey::Delete},
    {Qt::Key_Period, Pad::Keypad, VirtualKey::Decimal},
    {Qt::Key_Comma, Pad::Keypad, VirtualKey::Decimal},
    {Qt::Key_F12, Pad::Any, VirtualKey::F12},
};

} // namespace

VirtualKey virtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    for (const KeyEntry& entry : kKeyTable) {
        if (key == entry.qtKey && (entry.pad == Pad::Any || keypad))
            return entry.key;
    }
    return VirtualKey::Other;
}

} // namespace quillet
