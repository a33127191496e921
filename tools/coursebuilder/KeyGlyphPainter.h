#pragma once

#include "LayoutDescription.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

// Draws the picture of one key cap: a face tinted by the key's finger, the Shift character top
// left, the plain character bottom left, the AltGr character bottom right (a letter shows only its
// capital), or the key's label. The bottom-left pixel is the face colour, which the keyboard takes
// as the key's colour. Needs a QGuiApplication for its fonts.
class KeyGlyphPainter {
public:
    explicit KeyGlyphPainter(const LayoutDescription& layout);

    QColor capColor(const KeyDescription& key) const;
    QImage paint(const KeyDescription& key) const;

    // A picture as the key table's Glyph field stores it: the 8-byte graphic header
    // (count 1, type 0x0100, payload size) followed by a BMP file.
    static QByteArray graphicBlob(const QImage& image);

private:
    QString levelText(const KeyLevel& level) const;

    const LayoutDescription& m_layout;
};
