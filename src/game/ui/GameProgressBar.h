#pragma once

#include <QProgressBar>
#include <cstdint>

// A smooth 0..100 bar whose fill colour (0x00BBGGRR) can be set.
class GameProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit GameProgressBar(QWidget* parent = nullptr);
    void setFillColor(int32_t color);
    int32_t fillColor() const { return m_fillColor; }

private:
    int32_t m_fillColor = 0xD77800; // the usual highlight blue
};
