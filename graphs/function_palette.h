// SPDX-License-Identifier: GPL-3.0-or-later
// The ten colours of the function slots, shared by the curves of the graph window and the
// swatches of the function list window.
#pragma once

#include <QColor>

#include <array>
#include <cstddef>

namespace quillet {

class FunctionPalette {
public:
    static constexpr int kSize = 10;

    // The colour of slot (0-9); the slot number wraps round for other values.
    static QColor colour(int slot) {
        const Rgb& rgb = kColours[static_cast<std::size_t>(((slot % kSize) + kSize) % kSize)];
        return QColor(rgb.red, rgb.green, rgb.blue);
    }

    // The colour of a shown function's swatch: each component raised by kLighten.
    static QColor lightened(int slot) {
        const QColor plain = colour(slot);
        return QColor(plain.red() + kLighten, plain.green() + kLighten, plain.blue() + kLighten);
    }

    static constexpr int kLighten = 48;

private:
    struct Rgb {
        int red;
        int green;
        int blue;
    };
    // No component exceeds 255 - kLighten, so lightening never saturates.
    static constexpr std::array<Rgb, kSize> kColours{{
        {0, 0, 200},
        {0, 200, 0},
        {200, 0, 0},
        {0, 200, 200},
        {200, 0, 200},
        {0, 0, 100},
        {0, 100, 0},
        {100, 0, 0},
        {100, 0, 100},
        {100, 100, 0},
    }};
};

} // namespace quillet
