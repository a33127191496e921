#include "shell/ui/StayAbove.h"

#include <QWidget>
#include <QWindow>

void stayAbove(QWidget* companion, QWidget* owner) {
    if (!companion || !owner || !companion->isWindow()) return;
    // Both need their native windows before one can name the other as its transient parent.
    companion->winId();
    owner->window()->winId();
    QWindow* above = companion->windowHandle();
    QWindow* below = owner->window()->windowHandle();
    if (above && below && above->transientParent() != below) above->setTransientParent(below);
}
