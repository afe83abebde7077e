// SPDX-License-Identifier: GPL-3.0-or-later
// The fonts of every window, chosen in one place: the faces, the fonts the graph and function
// list painters draw with, and the font of the windows' captions and controls.
#pragma once

#include <QFont>

namespace quillet {

struct GraphFonts {
    QFont label;       // axis labels and the envelope caption of the graph window
    QFont listRow;     // the rows of the function list window
    QFont graphLayout; // the unit font of the graph window's layout
    QFont listLayout;  // the unit font of the function list window's layout

    // The standard set; needs a QGuiApplication.
    static GraphFonts standard();
};

// The font of the windows at pointSize: Liberation Sans for Latin text, with WenQuanYi
// Micro Hei for the Chinese captions.
QFont dialogFont(int pointSize);

} // namespace quillet
