#pragma once

#include <QColor>
#include <cstdint>

// Colours as the profile stores them: 0x00BBGGRR, system colours with the top bit set.
namespace DrillColors {

constexpr int32_t clMoneyGreen = 0xC0DCC0;
constexpr int32_t clNavy = 0x800000;
constexpr int32_t clRed = 0x0000FF;

// The colour of a stored value (system colours through the palette).
QColor toQColor(int32_t color);

// A colour that stands out from a background: each channel xor 0xAA.
QColor contrasting(const QColor& background);

} // namespace DrillColors
