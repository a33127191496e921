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
    if (!window->isWindow()) {
        window->move(left, top);
        return;
    }
    // On X11 a window is placed by naming its frame (north-west gravity) as soon as it has its
    // native window: the window manager then puts the frame there whatever frame Qt believes the
    // window has, even while Qt's picture of it is still catching up with the framing.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        window->winId();
        // A window held at its size is refitted when its frame arrives; the fit places it again.
        if (OuterFrameFit* fit = OuterFrameFit::of(window)) {
            fit->moveFrameTo(QPoint(left, top));
            return;
        }
    }
    placeFrameCorner(window, QPoint(left, top), lastFrame);
}

void placeAgainOnceShown(QWidget* window, bool wasHidden, const std::optional<QPoint>& placedAt,
                         const QMargins& lastFrame) {
    if (window && wasHidden && window->isVisible() && placedAt)
        placeFrameAt(window, placedAt->x(), placedAt->y(), lastFrame);
}
