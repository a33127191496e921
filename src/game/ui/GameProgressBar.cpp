#include "game/ui/GameProgressBar.h"

#include "game/GameCanvas.h"

GameProgressBar::GameProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setTextVisible(false);
    setFixedSize(150, 16);
    setFillColor(m_fillColor);
}

void GameProgressBar::setFillColor(int32_t color) {
    m_fillColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Highlight, QColor(GameCanvas::toRgb(color)));
    setPalette(p);
}
