#include "keyboard/finger.h"

#include "keyboard/ColorValue.h"

#include <QPainter>

void finger::Init(int32_t x, int32_t baseY, int32_t length, int32_t color) {
    X = x;
    BaseY = baseY;
    Length = length;
    Color = color;
}

void finger::Draw() {
    m_bar = Ink::Colour;
}

void finger::Erase() {
    if (Blink) m_bar = Ink::Black;
}

void finger::DrawTip() {
    if (!Blink) m_tip = Ink::Colour;
}

void finger::EraseTip() {
    if (!Blink) m_tip = Ink::Black;
}

void finger::clearPicture() {
    m_bar = Ink::None;
    m_tip = Ink::None;
}

namespace {

// A line of a 6-pixel pen with round ends: a zero-length line is a round dot of the pen's width.
void strokeLine(QPainter& painter, const QColor& color, qreal x, qreal y1, qreal y2) {
    QPen pen(color, finger::PenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    if (y1 == y2)
        painter.drawPoint(QPointF(x, y1));
    else
        painter.drawLine(QPointF(x, y1), QPointF(x, y2));
}

} // namespace

void finger::paint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor own = colorFromValue(Color);
    if (m_bar != Ink::None)
        strokeLine(painter, m_bar == Ink::Colour ? own : QColor(Qt::black), X, BaseY, qreal(topY()));
    if (m_tip != Ink::None)
        strokeLine(painter, m_tip == Ink::Colour ? own : QColor(Qt::black), X, qreal(tipY()), qreal(tipY()));
    painter.restore();
}
