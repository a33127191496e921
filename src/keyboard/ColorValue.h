#pragma once

#include <QColor>
#include <cstdint>

// Colours are stored as 0x00BBGGRR values; negative values name a system colour by its index
// in the low byte (0x80000000 | index), shown here with the usual desktop defaults.
QColor colorFromValue(int32_t value);
// The stored value of an opaque colour.
int32_t valueFromColor(const QColor& color);
