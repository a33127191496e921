#pragma once

#include "game/GameSettings.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <mutex>

// The playfield as an image with the drawing state of a canvas (font, brush, pen). The play
// thread and the GUI thread both draw on it; every operation takes the canvas's lock, and the
// window reads the image under the same lock. Sequences of operations that must not interleave
// (set a colour, then draw with it) are kept together by the play thread's own lock.
// Colours are 0x00BBGGRR values.
class GameCanvas {
public:
    enum class PenMode { Copy, Xor };

    GameCanvas() = default;
    GameCanvas(const GameCanvas&) = delete;
    GameCanvas& operator=(const GameCanvas&) = delete;

    // A new blank image of this size in the brush colour.
    void resize(int width, int height);
    int width() const;
    int height() const;

    void setFontName(const QString& name);
    void setFontSize(int points);
    void setFontColor(int32_t color);
    void setFontStyle(game::FontStyleSet style);
    void setBrushColor(int32_t color);
    int32_t brushColor() const;
    void setPen(int32_t color, int width);
    void setPenMode(PenMode mode);
    PenMode penMode() const;

    // One character at (x, y), its cell filled with the brush first.
    void TextOut(int x, int y, char ch);
    // Fills [x1, x2) x [y1, y2) with the brush colour.
    void FillRect(int x1, int y1, int x2, int y2);
    // The outline of [x1, x2) x [y1, y2) in the pen, the inside in the brush, both in the pen
    // mode; in XOR mode every pixel is changed once, so drawing the same figure twice restores it.
    void Rectangle(int x1, int y1, int x2, int y2);

    // The window's side: reads the image under the lock.
    template <typename F> void read(F&& f) const {
        std::lock_guard<std::mutex> locker(m_lock);
        f(m_image);
    }
    // The part changed since the last call (and forgets it).
    QRect takeDirty();
    // The colour of one pixel as 0x00BBGGRR, or -1 outside the image.
    int32_t pixel(int x, int y) const;
    // The size of one character cell of the current font (tests, layout).
    QSize textExtent(char ch);

    static QRgb toRgb(int32_t color);

private:
    const QImage& glyph(char ch);
    void fillLocked(const QRect& area, QRgb rgb, bool xorMode);
    void markDirty(const QRect& area) { m_dirty |= area; }

    mutable std::mutex m_lock;
    QImage m_image;
    QRect m_dirty;
    QString m_fontName = QStringLiteral("courier");
    int m_fontSize = 14;
    int32_t m_fontColor = 0;
    game::FontStyleSet m_fontStyle = 0;
    int32_t m_brushColor = 0xFF0000;
    int32_t m_penColor = 0;
    int m_penWidth = 1;
    PenMode m_penMode = PenMode::Copy;
    // Rendered characters of the current font face and size, by character, colour, style and brush.
    QHash<quint64, QImage> m_glyphs;
};
