#include "game/ui/PlayfieldView.h"

#include "game/GameCanvas.h"

#include <QPaintEvent>
#include <QPainter>

PlayfieldView::PlayfieldView(GameCanvas* canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PlayfieldView::refresh() {
    const QRect dirty = m_canvas->takeDirty();
    if (!dirty.isEmpty()) update(dirty);
}

void PlayfieldView::paintEvent(QPaintEvent* event) {
    // What the play changed but this paint does not cover is asked for again below.
    const QRect pending = m_canvas->takeDirty();
    if (onPaint) onPaint();
    m_canvas->takeDirty(); // the redraw is shown by this paint
    QPainter painter(this);
    m_canvas->read([&](const QImage& image) {
        if (!image.rect().contains(event->rect())) painter.fillRect(event->rect(), palette().window());
        const QRect shown = event->rect() & image.rect();
        painter.drawImage(shown, image, shown);
    });
    if (!pending.isEmpty() && !event->rect().contains(pending)) update(pending);
}
