#pragma once

class QImage;

// Turns a key's picture into its pressed look: every pixel's red, green and blue inverted, then
// the bottom-left pixel set to mid grey (0x808080), whatever it became. An empty picture stays empty.
void InvertGlyph(QImage& bitmap);
