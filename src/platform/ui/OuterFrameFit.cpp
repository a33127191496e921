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

OuterFrameFit::OuterFrameFit(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

void OuterFrameFit::fit(WindowExtent width, WindowExtent height) {
    m_target = Target{std::nullopt, width, height};
    apply();
}

void OuterFrameFit::fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height) {
    m_target = Target{frameTopLeft, width, height};
    apply();
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
    m_window->setFixedSize(clientSize(m_target->width, m_target->height, m_fittedFor));
    if (m_target->frameTopLeft) {
        // A window that has its native window is placed by its frame (the window manager then
        // puts the frame's corner there whatever frame Qt believes it has); one that has none
        // yet keeps the position as that of its frame until it is shown.
        if (QWindow* handle = m_window->windowHandle())
            handle->setFramePosition(*m_target->frameTopLeft);
        else
            m_window->move(*m_target->frameTopLeft);
    }
    m_applying = false;
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
