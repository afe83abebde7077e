// SPDX-License-Identifier: GPL-3.0-or-later
// The observer through which the function graphs model reaches its windows: the graph
// window and the function list window. Tools without windows leave it unset.
#pragma once

namespace quillet {

class GraphDisplay {
public:
    virtual ~GraphDisplay() = default;
    // Shows the graph window without taking the keyboard focus.
    virtual void showWindow() = 0;
    // Titles or drawing changed: re-read the titles and repaint both windows.
    virtual void displaysChanged() = 0;
};

} // namespace quillet
