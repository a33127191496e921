#include "keyboard/ui/ScreenLimit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QSize largestClientSize(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return screen->availableGeometry().size();
}
