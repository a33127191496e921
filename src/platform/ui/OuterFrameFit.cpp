#include "platform/ui/OuterFrameFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>

OuterFrameFit::OuterFrameFit(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
    watchNativeWindow();
}

OuterFrameFit* OuterFrameFit::of(const QWidget* window) {
    if (!window) return nullptr;
    for (QObject* child : window->children())
        if (auto* fit = dynamic_cast<OuterFrameFit*>(child)) return fit;
    return nullptr;
}

OuterFrameFit* OuterFrameFit::forWindow(QWidget* window) {
    if (OuterFrameFit* fit = of(window)) return fit;
    return new OuterFrameFit(window);
}

void OuterFrameFit::fit(WindowExtent width, WindowExtent height) {
    m_size = Size{width, height};
    readFrame();
    apply();
}

void OuterFrameFit::fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height) {
    m_corner = frameTopLeft;
    fit(width, height);
}

void OuterFrameFit::moveFrameTo(QPoint frameTopLeft) {
    m_corner = frameTopLeft;
    // Under X11 a window is placed by naming its frame (north-west gravity) as soon as it has its
    // native window: the window manager then puts the frame there whatever frame it gives it.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_window->winId();
        watchNativeWindow();
    }
    if (readFrame() && m_size)
        apply();
    else
        placeFrame(frameTopLeft);
}

void OuterFrameFit::release() {
    m_size.reset();
    m_corner.reset();
}

QMargins OuterFrameFit::frame() {
    refit();
    return m_frame;
}

QRect OuterFrameFit::frameGeometry() {
    refit();
    return m_window->geometry().marginsAdded(m_frame);
}

QSize OuterFrameFit::clientSize(WindowExtent width, WindowExtent height, const QMargins& frame) {
    const auto inner = [](WindowExtent extent, int frameSum) {
        const int pixels =
            extent.kind == WindowExtent::Kind::Outer ? extent.pixels - frameSum : extent.pixels;
        return std::max(1, pixels);
    };
    return QSize(inner(width, frame.left() + frame.right()), inner(height, frame.top() + frame.bottom()));
}

bool OuterFrameFit::readFrame() {
    watchNativeWindow();
    const QWindow* native = m_window->windowHandle();
    if (!m_window->isVisible() || !native || !native->isExposed()) return false;
    const QMargins now = native->frameMargins();
    if (now == m_frame) return false;
    m_frame = now;
    return true;
}

void OuterFrameFit::refit() {
    if (m_applying || !readFrame()) return;
    apply();
    // A copy runs: the handler may replace itself.
    if (const std::function<void()> handler = m_onFrameChange) handler();
}

void OuterFrameFit::apply() {
    if (!m_size) {
        if (m_corner) placeFrame(*m_corner);
        return;
    }
    m_applying = true;
    const QSize client = clientSize(m_size->width, m_size->height, m_frame);
    if (m_corner && !m_frame.isNull()) {
        // Size and place in one request (see the class comment); the old limits would clamp it.
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_window->setGeometry(QRect(*m_corner + QPoint(m_frame.left(), m_frame.top()), client));
    }
    m_window->setFixedSize(client);
    if (m_corner && m_frame.isNull()) placeFrame(*m_corner);
    m_applying = false;
}

void OuterFrameFit::placeFrame(QPoint frameTopLeft) {
    // A window whose frame is known gets its client area where that frame leaves it, in one
    // request that depends on nothing Qt may not have heard of yet.
    if (!m_frame.isNull()) {
        m_window->setGeometry(QRect(frameTopLeft + QPoint(m_frame.left(), m_frame.top()), m_window->size()));
        return;
    }
    // Otherwise a window that has its native window is placed by its frame; one that has none yet
    // keeps the position as that of its frame until it is shown.
    if (QWindow* native = m_window->windowHandle())
        native->setFramePosition(frameTopLeft);
    else
        m_window->move(frameTopLeft);
}

void OuterFrameFit::watchNativeWindow() {
    QWindow* native = m_window->windowHandle();
    if (!native || native == m_native) return;
    native->installEventFilter(this);
    m_native = native;
}

bool OuterFrameFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::ShowToParent:
            // Showing sends the window the position Qt last heard of, which right after a placement
            // by frame is the frame's corner taken for the client area's: the frame would land a
            // title bar too high. So a window shown again goes back to its frame corner.
            if (m_corner && !m_applying) placeFrame(*m_corner);
            refit();
            break;
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
        case QEvent::ActivationChange:
            refit();
            break;
        default:
            break;
        }
    } else if (watched == m_native && event->type() == QEvent::Expose) {
        refit();
    }
    return QObject::eventFilter(watched, event);
}
