#include "keyboard/InvertGlyph.h"

#include <QImage>

void InvertGlyph(QImage& bitmap) {
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0) return;
    // Work on 32-bit pixels so that palette pictures invert per pixel, not per palette entry.
    if (bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x)
            line[x] ^= 0x00FFFFFFu;
    }
    bitmap.setPixel(0, bitmap.height() - 1, qRgb(0x80, 0x80, 0x80));
}
