// SPDX-License-Identifier: GPL-3.0-or-later
// The one table that maps Qt key events to the keys the worksheet logic and the windows
// react to.
#pragma once

class QKeyEvent;

namespace quillet {

enum class VirtualKey : int;

// The key of the event; VirtualKey::Other for every key that nothing reacts to. The keypad
// decimal key is Decimal whatever character the keyboard layout gives it (Qt reports it as a
// keypad period or comma).
VirtualKey virtualKeyOf(const QKeyEvent& event);

} // namespace quillet
