#pragma once

#include <QSize>

class QWidget;

// The largest client area a top-level window of the keyboard may take: the available area of
// its screen. A layout with keys or fingers far beyond it would otherwise ask for a window too
// large to paint, and the user would see nothing at all.
QSize largestClientSize(const QWidget* window);
