// Virtual-key codes of Qt key events: the one table that maps Qt keys to the codes that the
// worksheet logic and the windows react to.
#pragma once

class QKeyEvent;

namespace quillet {

// The code of keys without an entry of their own: never one of the codes the logic or the
// windows react to.
inline constexpr int kUnmappedKey = 0xFF;

// The virtual-key code of the event's key. The keypad decimal key is the decimal code
// whatever character the keyboard layout gives it (Qt reports it as a keypad period or
// comma).
int virtualKeyOf(const QKeyEvent& event);

} // namespace quillet
