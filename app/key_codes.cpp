#include "app/key_codes.h"

#include "worksheet/worksheet_logic.h"

#include <QKeyEvent>

namespace quillet {

namespace {

enum class Pad { Any, Keypad };

// Qt keys first to last (inclusive) map to code, code + 1, ...; Keypad rows match only keys
// of the numeric keypad and come before the rows for the same keys elsewhere.
struct KeyRange {
    int first;
    int last;
    Pad pad;
    int code;
};

constexpr KeyRange kKeyTable[] = {
    {Qt::Key_Backspace, Qt::Key_Backspace, Pad::Any, 8},
    {Qt::Key_Tab, Qt::Key_Tab, Pad::Any, 9},
    {Qt::Key_Backtab, Qt::Key_Backtab, Pad::Any, 9},
    {Qt::Key_Return, Qt::Key_Return, Pad::Any, vk::kEnter},
    {Qt::Key_Enter, Qt::Key_Enter, Pad::Any, vk::kEnter},
    {Qt::Key_Shift, Qt::Key_Shift, Pad::Any, vk::kShift},
    {Qt::Key_Control, Qt::Key_Control, Pad::Any, vk::kCtrl},
    {Qt::Key_Alt, Qt::Key_Alt, Pad::Any, 18},
    {Qt::Key_Pause, Qt::Key_Pause, Pad::Any, 19},
    {Qt::Key_CapsLock, Qt::Key_CapsLock, Pad::Any, 20},
    {Qt::Key_Escape, Qt::Key_Escape, Pad::Any, vk::kEscape},
    {Qt::Key_Space, Qt::Key_Space, Pad::Any, 32},
    {Qt::Key_PageUp, Qt::Key_PageDown, Pad::Any, 33},
    {Qt::Key_End, Qt::Key_End, Pad::Any, 35},
    {Qt::Key_Home, Qt::Key_Home, Pad::Any, 36},
    {Qt::Key_Left, Qt::Key_Down, Pad::Any, 37}, // Left, Up, Right, Down
    {Qt::Key_Insert, Qt::Key_Insert, Pad::Any, vk::kInsert},
    {Qt::Key_Delete, Qt::Key_Delete, Pad::Any, vk::kDelete},
    {Qt::Key_0, Qt::Key_9, Pad::Keypad, 96},
    {Qt::Key_Asterisk, Qt::Key_Asterisk, Pad::Keypad, 106},
    {Qt::Key_Plus, Qt::Key_Plus, Pad::Keypad, 107},
    {Qt::Key_Minus, Qt::Key_Minus, Pad::Keypad, 109},
    {Qt::Key_Period, Qt::Key_Period, Pad::Keypad, vk::kDecimal},
    {Qt::Key_Comma, Qt::Key_Comma, Pad::Keypad, vk::kDecimal},
    {Qt::Key_Slash, Qt::Key_Slash, Pad::Keypad, 111},
    {Qt::Key_0, Qt::Key_9, Pad::Any, 48},
    {Qt::Key_A, Qt::Key_Z, Pad::Any, 65},
    {Qt::Key_F1, Qt::Key_F24, Pad::Any, 112}, // F12 is 123
};

} // namespace

int virtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    for (const KeyRange& row : kKeyTable) {
        if (key < row.first || key > row.last)
            continue;
        if (row.pad == Pad::Keypad && !keypad)
            continue;
        return row.code + (key - row.first);
    }
    return kUnmappedKey;
}

} // namespace quillet
