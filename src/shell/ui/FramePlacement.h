#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// A window manager hands a hidden window back to the root window, and Qt may then take the
// window's frame to be empty (or keep an older one) until the window is shown and framed again.
// QWidget::move() adds that guess to the position it is given, so a hidden window placed that way
// would land a title bar too high. These helpers remember the frame the window had when it was
// last seen shown and place the window by it.

// Keeps the frame of `window` in `lastFrame` while the window is shown and framed.
void rememberFrame(const QWidget* window, QMargins& lastFrame);

// The outer geometry of `window`, frame included: its own while shown, its client area with the
// remembered frame while hidden.
QRect framedGeometry(const QWidget* window, QMargins& lastFrame);

// Moves `window` so that the outer edge of its frame lands at (left, top). Under X11 the window
// manager is asked for that frame position; elsewhere a hidden window whose frame is remembered
// gets its client area placed inside that frame, and any other window is moved as Qt knows it.
void placeFrameAt(QWidget* window, int left, int top, const QMargins& lastFrame);
