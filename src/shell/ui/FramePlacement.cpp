#include "shell/ui/FramePlacement.h"

#include "platform/ui/OuterFrameFit.h"

#include <QWidget>

QRect framedGeometry(QWidget* window) {
    if (!window) return QRect();
    if (!window->isWindow()) return window->geometry();
    return OuterFrameFit::forWindow(window)->frameGeometry();
}

void placeFrameAt(QWidget* window, int left, int top) {
    if (!window) return;
    if (!window->isWindow())
        window->move(left, top);
    else
        OuterFrameFit::forWindow(window)->moveFrameTo(QPoint(left, top));
}
