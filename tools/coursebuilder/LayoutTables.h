#pragma once

#include "CharacterTable.h"
#include "KeyGlyphPainter.h"
#include "LayoutDescription.h"

#include <QByteArray>
#include <vector>

// The key table ("key.cds"): Name (required, at most 20), KeyValue, KeyType, KeyType2, Finger,
// Glyph (picture), Width, Height, X, Y, Hint (at most 127), one row per key in description order.
QByteArray keyTablePacket(const LayoutDescription& layout, const KeyGlyphPainter& painter);

// The character table ("char.cds"): Name (at most 30), Code, KeyNo, Shift, AltGr, Accent.
QByteArray charTablePacket(const std::vector<CharacterRecord>& records);
