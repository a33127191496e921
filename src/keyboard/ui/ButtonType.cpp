#include "keyboard/ui/ButtonType.h"

#include "keyboard/ColorValue.h"

#include <QMouseEvent>
#include <QPainter>

ButtonType::ButtonType(QWidget* owner) : QWidget(owner) {
    // The face of a cap without a picture: the usual button-face grey.
    m_color = static_cast<int32_t>(0x80000000u | 15u);
}

ButtonType::~ButtonType() = default;

void ButtonType::SetGlyph(const QImage& glyph) {
    m_glyph = glyph;
    m_shownGlyph = QPixmap();
    if (!m_glyph.isNull() && m_glyph.width() > 0 && m_glyph.height() > 0) {
        QImage argb = m_glyph.convertToFormat(QImage::Format_ARGB32);
        const QRgb transparent = argb.pixel(0, argb.height() - 1) | 0xFF000000u;
        for (int y = 0; y < argb.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                if ((line[x] | 0xFF000000u) == transparent) line[x] = 0;
        }
        m_shownGlyph = QPixmap::fromImage(argb);
    }
    update();
}

void ButtonType::SetDown(bool value) {
    if (m_groupIndex == 0) value = false;
    if (value == m_down) return;
    if (m_down && !m_allowAllUp) return;
    m_down = value;
    if (value) releaseGroupSiblings();
    update();
}

void ButtonType::SetGroupIndex(int value) {
    m_groupIndex = value;
    if (m_groupIndex == 0)
        m_down = false;
    else if (m_down)
        releaseGroupSiblings();
    update();
}

void ButtonType::SetColor(int32_t color) {
    m_color = color;
    update();
}

void ButtonType::SetKeyDown(bool Value) {
    if (!Blink) SetGlyph(Value ? DownGlyph : UpGlyph);
    SetDown(Value);
}

void ButtonType::releaseGroupSiblings() {
    QWidget* parent = parentWidget();
    if (!parent) return;
    for (QObject* child : parent->children()) {
        auto* other = qobject_cast<ButtonType*>(child);
        if (other && other != this && other->m_groupIndex == m_groupIndex && other->m_down) {
            other->m_down = false;
            other->update();
        }
    }
}

void ButtonType::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_mouseHeld = true;
    update();
}

void ButtonType::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_mouseHeld) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_mouseHeld = false;
    update();
    if (!rect().contains(event->position().toPoint())) return;
    if (m_groupIndex != 0) {
        if (!m_down)
            SetDown(true);
        else if (m_allowAllUp)
            SetDown(false);
    }
    emit clicked(this);
}

void ButtonType::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, colorFromValue(m_color));
    const bool sunken = m_down || m_mouseHeld;
    // A one-pixel bevel: light above and left when raised, the other way round when sunken.
    const QColor light(Qt::white);
    const QColor dark(0x69, 0x69, 0x69);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (!m_shownGlyph.isNull()) {
        // Centred, and nudged one pixel down and right while sunken.
        QPoint at((r.width() - m_shownGlyph.width()) / 2, (r.height() - m_shownGlyph.height()) / 2);
        if (sunken) at += QPoint(1, 1);
        painter.drawPixmap(at, m_shownGlyph);
    }
    if (sunken) {
        // The sunken edge over the picture too: a cap whose picture fills it must still show
        // that it is down, which is all that changes while a key blinks.
        painter.setPen(QPen(dark, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
    }
}
