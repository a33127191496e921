#include "shell/ui/FramePlacement.h"

#include "platform/ui/OuterFrameFit.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

void rememberFrame(const QWidget* window, QMargins& lastFrame) {
    if (!window || !window->isWindow() || !window->isVisible()) return;
    const QMargins frame = frameMarginsOf(window);
    if (!frame.isNull()) lastFrame = frame;
}

QRect framedGeometry(const QWidget* window, QMargins& lastFrame) {
    if (!window) return QRect();
    rememberFrame(window, lastFrame);
    if (window->isWindow() && !window->isVisible() && !lastFrame.isNull())
        return window->geometry().marginsAdded(lastFrame);
    return window->frameGeometry();
}

void placeFrameAt(QWidget* window, int left, int top, const QMargins& lastFrame) {
    if (!window) return;
    // On X11 the request can name the frame itself (north-west gravity): the window manager then
    // puts the frame there whatever frame Qt believes the window has, even while Qt's picture of
    // it is still catching up with the window manager's framing.
    if (window->isWindow() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        window->winId();
        if (QWindow* handle = window->windowHandle()) {
            handle->setFramePosition(QPoint(left, top));
            return;
        }
    }
    if (window->isWindow() && !window->isVisible() && !lastFrame.isNull())
        window->setGeometry(QRect(QPoint(left + lastFrame.left(), top + lastFrame.top()), window->size()));
    else
        window->move(left, top);
}
