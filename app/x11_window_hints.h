// SPDX-License-Identifier: GPL-3.0-or-later
// Window-manager hints that Qt's X11 platform cannot express: the window type of the small
// tool windows and an empty title. Both do nothing on other platforms (offscreen, Wayland)
// and before the native window exists.
#pragma once

class QWidget;

namespace quillet::x11 {

// Declares the window a tool palette torn off the main window (a toolbar in the window
// manager's terms): window managers then give it no minimise or maximise button while it
// keeps its title bar, close button and sizing border. Call it when the native window
// exists but is not yet mapped (from showEvent), since window managers read the type when
// they take the window over.
void markAsPalette(QWidget& window);

// Makes a mapped window a window of owner (its transient), or of no window (nullptr).
void setOwner(QWidget& window, const QWidget* owner);

// Writes an empty title: Qt puts the application name in place of an empty one.
void clearTitle(QWidget& window);

} // namespace quillet::x11
