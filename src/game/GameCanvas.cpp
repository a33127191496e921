#include "game/GameCanvas.h"

#include "platform/CodePage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>

QRgb GameCanvas::toRgb(int32_t color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void GameCanvas::resize(int width, int height) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    m_image.fill(toRgb(m_brushColor));
    m_dirty = m_image.rect();
}

int GameCanvas::width() const {
    std::lock_guard<std::mutex> locker(m_lock);
    return m_image.width();
}

int GameCanvas::height() const {
    std::lock_guard<std::mutex> locker(m_lock);
    return m_image.height();
}

void GameCanvas::setFontName(const QString& name) {
    std::lock_guard<std::mutex> locker(m_lock);
    if (name == m_fontName) return;
    m_fontName = name;
    m_glyphs.clear();
}

void GameCanvas::setFontSize(int points) {
    std::lock_guard<std::mutex> locker(m_lock);
    if (points == m_fontSize) return;
    m_fontSize = points;
    m_glyphs.clear();
}

void GameCanvas::setFontColor(int32_t color) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_fontColor = color;
}

void GameCanvas::setFontStyle(game::FontStyleSet style) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_fontStyle = style;
}

void GameCanvas::setBrushColor(int32_t color) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_brushColor = color;
}

int32_t GameCanvas::brushColor() const {
    std::lock_guard<std::mutex> locker(m_lock);
    return m_brushColor;
}

void GameCanvas::setPen(int32_t color, int width) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_penColor = color;
    m_penWidth = std::max(width, 1);
}

void GameCanvas::setPenMode(PenMode mode) {
    std::lock_guard<std::mutex> locker(m_lock);
    m_penMode = mode;
}

GameCanvas::PenMode GameCanvas::penMode() const {
    std::lock_guard<std::mutex> locker(m_lock);
    return m_penMode;
}

// Renders one character once per font, colour, style and brush; later calls copy the tile.
const QImage& GameCanvas::glyph(char ch) {
    const quint64 key = quint64(uchar(ch)) | (quint64(m_fontStyle & 0xF) << 8) |
                        (quint64(uint32_t(m_fontColor) & 0xFFFFFF) << 12) |
                        (quint64(uint32_t(m_brushColor) & 0xFFFFFF) << 36);
    auto it = m_glyphs.constFind(key);
    if (it != m_glyphs.constEnd()) return *it;

    QFont font(m_fontName);
    // Points at 96 dots per inch, as the cells of the playfield are measured.
    font.setPixelSize(std::max(1, (m_fontSize * 96 + 36) / 72));
    font.setBold(m_fontStyle & game::fsBold);
    font.setItalic(m_fontStyle & game::fsItalic);
    font.setUnderline(m_fontStyle & game::fsUnderline);
    font.setStrikeOut(m_fontStyle & game::fsStrikeOut);
    const QFontMetrics metrics(font);
    const QString text(CodePage::charToUnicode(uchar(ch)));
    // The tile holds the whole cell and every pixel of the letter: accents above the ascent and
    // strokes that lean out of the cell (italics, wide capitals) are not cut off. The cell's
    // top-left corner stays the tile's, so a letter written at (0, 0) starts on the playfield.
    // A letter reaching left of its pen position is moved right by that much, into the cell.
    const QRect ink = metrics.boundingRect(text.at(0)) | metrics.tightBoundingRect(text);
    const int penX = std::max(0, -ink.left());
    const int baseline = std::max(metrics.ascent(), -ink.top());
    const int width = std::max({1, metrics.horizontalAdvance(text), ink.right() + 1}) + penX;
    const int height = std::max({1, metrics.height(), baseline + ink.bottom() + 1});
    QImage tile(width, height, QImage::Format_RGB32);
    tile.fill(toRgb(m_brushColor));
    {
        QPainter painter(&tile);
        painter.setFont(font);
        painter.setPen(QColor(toRgb(m_fontColor)));
        painter.drawText(penX, baseline, text);
    }
    return *m_glyphs.insert(key, tile);
}

QSize GameCanvas::textExtent(char ch) {
    std::lock_guard<std::mutex> locker(m_lock);
    return glyph(ch).size();
}

void GameCanvas::TextOut(int x, int y, char ch) {
    std::lock_guard<std::mutex> locker(m_lock);
    const QImage& tile = glyph(ch);
    const QRect target = QRect(QPoint(x, y), tile.size()) & m_image.rect();
    if (target.isEmpty()) return;
    const int bytes = target.width() * 4;
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(tile.constScanLine(row - y)) + (target.left() - x);
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(row)) + target.left();
        std::memcpy(dst, src, size_t(bytes));
    }
    markDirty(target);
}

void GameCanvas::fillLocked(const QRect& area, QRgb rgb, bool xorMode) {
    const QRect target = area & m_image.rect();
    if (target.isEmpty()) return;
    const QRgb bits = rgb & 0x00FFFFFF;
    for (int row = target.top(); row <= target.bottom(); ++row) {
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(row)) + target.left();
        if (xorMode)
            for (int i = 0; i < target.width(); ++i)
                dst[i] ^= bits;
        else
            std::fill(dst, dst + target.width(), rgb);
    }
    markDirty(target);
}

void GameCanvas::FillRect(int x1, int y1, int x2, int y2) {
    std::lock_guard<std::mutex> locker(m_lock);
    if (x2 <= x1 || y2 <= y1) return;
    fillLocked(QRect(x1, y1, x2 - x1, y2 - y1), toRgb(m_brushColor), false);
}

void GameCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    std::lock_guard<std::mutex> locker(m_lock);
    if (x2 <= x1 || y2 <= y1) return;
    // The pen runs centred on the figure's edge; the inside is what the pen leaves free.
    const int half = m_penWidth / 2;
    const QRect outer(QPoint(x1 - half, y1 - half), QPoint(x2 - 1 + half, y2 - 1 + half));
    const QRect inner = outer.adjusted(m_penWidth, m_penWidth, -m_penWidth, -m_penWidth);
    const bool xorMode = m_penMode == PenMode::Xor;
    const QRgb pen = toRgb(m_penColor);
    if (inner.isEmpty()) {
        fillLocked(outer, pen, xorMode);
        return;
    }
    // Four bands of pen around the inside, each pixel once.
    fillLocked(QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)), pen,
               xorMode);
    fillLocked(QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())), pen,
               xorMode);
    fillLocked(QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())), pen,
               xorMode);
    fillLocked(QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())), pen,
               xorMode);
    fillLocked(inner, toRgb(m_brushColor), xorMode);
}

QRect GameCanvas::takeDirty() {
    std::lock_guard<std::mutex> locker(m_lock);
    const QRect dirty = m_dirty;
    m_dirty = QRect();
    return dirty;
}

int32_t GameCanvas::pixel(int x, int y) const {
    std::lock_guard<std::mutex> locker(m_lock);
    if (!m_image.rect().contains(x, y)) return -1;
    const QRgb rgb = m_image.pixel(x, y);
    return int32_t(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}
