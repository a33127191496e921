#pragma once

#include <QRect>

class QWidget;

// Where the drills put the keyboard and the hands, by the outer edge of their frames. A window
// manager hands a hidden window back to the root window and Qt may then take its frame to be
// empty until it is shown and framed again: a top-level window goes by the one record of its
// frame that its OuterFrameFit keeps (made here on first use).

// The outer geometry of `window`, frame included; a hidden window's with the frame it was last
// seen with.
QRect framedGeometry(QWidget* window);

// Moves `window` so that the outer edge of its frame lands at (left, top), now and whenever the
// window is shown again or its frame changes.
void placeFrameAt(QWidget* window, int left, int top);
