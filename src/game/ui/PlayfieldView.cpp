#include "game/ui/PlayfieldView.h"

#include "game/GameCanvas.h"

#include <QPaintEvent>
#include <QPainter>

PlayfieldView::PlayfieldView(GameCanvas* canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

int PlayfieldView::imageTop() const {
    return height() - m_canvas->height();
}

void PlayfieldView::refresh() {
    const QRect dirty = m_canvas->takeDirty();
    if (!dirty.isEmpty()) update(dirty.translated(0, imageTop()));
}

void PlayfieldView::paintEvent(QPaintEvent* event) {
    // What the play changed but this paint does not cover is asked for again below.
    const QRect pending = m_canvas->takeDirty();
    QPainter painter(this);
    int top = 0;
    m_canvas->read([&](const QImage& image) {
        top = height() - image.height();
        const QRect placed = image.rect().translated(0, top);
        if (!placed.contains(event->rect())) painter.fillRect(event->rect(), palette().window());
        const QRect shown = event->rect() & placed;
        painter.drawImage(shown, image, shown.translated(0, -top));
    });
    const QRect pendingHere = pending.translated(0, top);
    if (!pending.isEmpty() && !event->rect().contains(pendingHere)) update(pendingHere);
}
