#include "platform/ui/OuterFrameFit.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

QMargins frameMarginsOf(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                    outer.bottom() - client.bottom());
}

void placeFrameCorner(QWidget* window, QPoint frameTopLeft, const QMargins& lastFrame) {
    // A window whose frame is known gets its client area where that frame leaves it, in one
    // request that depends on nothing Qt may not have heard of yet.
    if (!lastFrame.isNull()) {
        window->setGeometry(QRect(frameTopLeft + QPoint(lastFrame.left(), lastFrame.top()), window->size()));
        return;
    }
    // Otherwise a window that has its native window is placed by its frame (the window manager
    // then puts the frame's corner there whatever frame it gives the window); one that has none
    // yet keeps the position as that of its frame until it is shown.
    if (QWindow* handle = window->windowHandle())
        handle->setFramePosition(frameTopLeft);
    else
        window->move(frameTopLeft);
}

OuterFrameFit::OuterFrameFit(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

OuterFrameFit* OuterFrameFit::of(const QWidget* window) {
    if (!window) return nullptr;
    for (QObject* child : window->children())
        if (auto* fit = dynamic_cast<OuterFrameFit*>(child)) return fit;
    return nullptr;
}

void OuterFrameFit::fit(WindowExtent width, WindowExtent height) {
    m_target = Target{std::nullopt, width, height};
    apply();
}

void OuterFrameFit::fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height) {
    m_target = Target{frameTopLeft, width, height};
    apply();
}

void OuterFrameFit::moveFrameTo(QPoint frameTopLeft) {
    // Only the position: the frame may be read only once the window manager has framed the window.
    if (m_target) m_target->frameTopLeft = frameTopLeft;
    placeFrame(frameTopLeft);
}

void OuterFrameFit::release() {
    m_target.reset();
}

QSize OuterFrameFit::clientSize(WindowExtent width, WindowExtent height, const QMargins& frame) {
    const auto inner = [](WindowExtent extent, int frameSum) {
        const int pixels = extent.kind == WindowExtent::Kind::Outer ? extent.pixels - frameSum : extent.pixels;
        return std::max(1, pixels);
    };
    return QSize(inner(width, frame.left() + frame.right()), inner(height, frame.top() + frame.bottom()));
}

QMargins OuterFrameFit::knownFrame() {
    if (m_window->isVisible()) m_lastSeen = frameMarginsOf(m_window);
    return m_lastSeen;
}

void OuterFrameFit::apply() {
    if (!m_target) return;
    m_applying = true;
    m_fittedFor = knownFrame();
    const QSize client = clientSize(m_target->width, m_target->height, m_fittedFor);
    if (m_target->frameTopLeft && !m_fittedFor.isNull()) {
        // Size and place in one request (see the class comment); the old limits would clamp it.
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const QPoint corner = *m_target->frameTopLeft + QPoint(m_fittedFor.left(), m_fittedFor.top());
        m_window->setGeometry(QRect(corner, client));
    }
    m_window->setFixedSize(client);
    if (m_target->frameTopLeft && m_fittedFor.isNull()) placeFrame(*m_target->frameTopLeft);
    m_applying = false;
}

void OuterFrameFit::placeFrame(QPoint frameTopLeft) {
    placeFrameCorner(m_window, frameTopLeft, m_lastSeen);
}

void OuterFrameFit::refitIfFrameChanged() {
    if (!m_target || m_applying || !m_window->isVisible()) return;
    if (knownFrame() != m_fittedFor) apply();
}

bool OuterFrameFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
        case QEvent::ActivationChange:
            refitIfFrameChanged();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
