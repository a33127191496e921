#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

// Colours are Windows colour values: 0x00BBGGRR in a 32-bit signed integer. Values with the top
// bit set name a system colour by its index in the low byte (and so are negative).
namespace WinColor {
constexpr int32_t SystemColorFlag = int32_t(0x80000000u);
constexpr int32_t clWindowText = SystemColorFlag | 8;
constexpr int32_t clBtnFace = SystemColorFlag | 15;
constexpr int32_t clWindow = SystemColorFlag | 5;
constexpr int32_t clNone = 0x1FFFFFFF;
constexpr int32_t clDefault = 0x20000000;

constexpr int32_t rgb(int red, int green, int blue) {
    return int32_t((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr bool isSystemColor(int32_t color) {
    return color < 0;
}

// A system colour comes from the application's palette (a fixed classic table without a GUI);
// clNone is transparent; clDefault is the palette's text colour.
QColor toQColor(int32_t color);
// The plain colour value of a QColor (never a system colour).
int32_t fromQColor(const QColor& color);
} // namespace WinColor

// A font as the program stores it: name, size in whole points, colour, four styles and a
// character set. Widgets turn it into a QFont and a QColor.
struct TFontValue {
    QString Name = QStringLiteral("MS Sans Serif");
    int32_t Size = 8; // points
    int32_t Color = WinColor::clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t Charset = 1; // the default character set; Qt chooses scripts by itself

    bool operator==(const TFontValue&) const = default;

    // Sizes outside 1..1000 points fall back to the nearest bound, so that a damaged record
    // cannot make a window unusable.
    QFont toQFont() const;
    QColor toQColor() const { return WinColor::toQColor(Color); }
    // Name, size and styles from a QFont (as a font dialog gives it); colour and character set
    // stay as they are.
    void assignQFont(const QFont& font);
};
