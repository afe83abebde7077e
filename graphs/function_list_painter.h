// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the function list window (one row per slot: a colour swatch, raised for a shown
// function, and its caption or result text) and the meaning of a click on it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;

namespace quillet {

class FunctionGraphs;
struct GraphFonts;

namespace function_list {
inline constexpr int kRowPitch = 20;  // row i starts at y 20 i
inline constexpr int kSwatchLeft = 5; // the swatch square (5, 20 i + 5), 15 x 15
inline constexpr int kSwatchSize = 15;
inline constexpr int kTextLeft = 28; // the row text's top-left corner (28, 20 i + 4)
inline constexpr int kTextTop = 4;
inline constexpr int kTextSide = 25; // clicks right of this flip captions and result texts
} // namespace function_list

// The swatch square of row (0-9), without its frame.
QRect swatchRect(int row);

// What a click at a point of the list does: show or hide a slot, flip between captions and
// result texts, both, or nothing.
struct ListClick {
    std::optional<int> toggleSlot; // a Ready slot whose swatch was hit
    bool flipCaptions = false;

    bool changesNothing() const { return !toggleSlot && !flipCaptions; }
};

// A click in the swatch column (5 < x < 20) hits the Ready row i with 20 i + 5 < y < 20 i + 20;
// independently, a click with x > 25 flips the row texts. Gaps and other slots do nothing.
ListClick hitTestFunctionList(const FunctionGraphs& model, QPoint point);

// Paints the list's client area of clientSize: grey fill, then for every slot its swatch
// (lightened and raised with black text when shown and Ready, plain and sunken with dark
// grey text otherwise) and its caption or result text.
void paintFunctionList(QPainter& painter, const FunctionGraphs& model, QSize clientSize,
                       bool showCaptions, const GraphFonts& fonts);

} // namespace quillet
