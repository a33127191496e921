#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <optional>

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

// Moves `window` so that the outer edge of its frame lands at (left, top). A hidden window whose
// frame is remembered gets its client area placed inside that frame; any other window is placed
// by its frame (under X11 the window manager is asked for that frame position). Under X11 a window
// held by an OuterFrameFit keeps that position through the fit's later refits.
void placeFrameAt(QWidget* window, int left, int top, const QMargins& lastFrame);

// Showing a window sends it the size Qt holds for it with the position Qt last heard of, which
// right after a placement by frame is the frame's corner taken for the client area's: the frame
// would land a title bar too high. So a window that was hidden (`wasHidden`) and is shown now is
// placed again at the frame position it was last given (`placedAt`, if any).
void placeAgainOnceShown(QWidget* window, bool wasHidden, const std::optional<QPoint>& placedAt,
                         const QMargins& lastFrame);
