#include "settings/FontValue.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <array>

namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role; // NoRole: only the fixed value
    QRgb fixed;               // the classic value, used without a GUI application
};

// Indexed by the low byte of a system colour value.
constexpr std::array<SystemColor, 31> kSystemColors = {{
    {QPalette::Active, QPalette::Button, 0xC8C8C8},            // scroll bar
    {QPalette::Active, QPalette::NoRole, 0x000000},            // desktop
    {QPalette::Active, QPalette::Highlight, 0x000080},         // active caption
    {QPalette::Inactive, QPalette::Highlight, 0x808080},       // inactive caption
    {QPalette::Active, QPalette::Window, 0xC0C0C0},            // menu
    {QPalette::Active, QPalette::Base, 0xFFFFFF},              // window
    {QPalette::Active, QPalette::Shadow, 0x000000},            // window frame
    {QPalette::Active, QPalette::WindowText, 0x000000},        // menu text
    {QPalette::Active, QPalette::Text, 0x000000},              // window text
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},   // caption text
    {QPalette::Active, QPalette::Window, 0xC0C0C0},            // active border
    {QPalette::Inactive, QPalette::Window, 0xC0C0C0},          // inactive border
    {QPalette::Active, QPalette::Dark, 0x808080},              // application workspace
    {QPalette::Active, QPalette::Highlight, 0x000080},         // highlight
    {QPalette::Active, QPalette::HighlightedText, 0xFFFFFF},   // highlighted text
    {QPalette::Active, QPalette::Button, 0xC0C0C0},            // button face
    {QPalette::Active, QPalette::Mid, 0x808080},               // button shadow
    {QPalette::Disabled, QPalette::Text, 0x808080},            // grey text
    {QPalette::Active, QPalette::ButtonText, 0x000000},        // button text
    {QPalette::Inactive, QPalette::HighlightedText, 0xC0C0C0}, // inactive caption text
    {QPalette::Active, QPalette::Light, 0xFFFFFF},             // button highlight
    {QPalette::Active, QPalette::Shadow, 0x000000},            // dark 3D shadow
    {QPalette::Active, QPalette::Midlight, 0xDFDFDF},          // 3D light
    {QPalette::Active, QPalette::ToolTipText, 0x000000},       // info text
    {QPalette::Active, QPalette::ToolTipBase, 0xFFFFE1},       // info background
    {QPalette::Active, QPalette::NoRole, 0xB5B5B5},            // (unused index)
    {QPalette::Active, QPalette::Link, 0x0000FF},              // hot light
    {QPalette::Active, QPalette::NoRole, 0x1084D0},            // gradient of the active caption
    {QPalette::Inactive, QPalette::NoRole, 0xB5B5B5},          // gradient of the inactive caption
    {QPalette::Active, QPalette::Highlight, 0x316AC5},         // menu highlight
    {QPalette::Active, QPalette::Window, 0xECE9D8},            // menu bar
}};

QColor systemColor(int index) {
    if (index < 0 || index >= int(kSystemColors.size())) return QColor(Qt::black);
    const SystemColor& entry = kSystemColors[size_t(index)];
    if (entry.role != QPalette::NoRole && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(entry.group, entry.role);
    return QColor(entry.fixed);
}

} // namespace

QColor WinColor::toQColor(int32_t color) {
    if (color == clNone) return QColor(Qt::transparent);
    if (color == clDefault) return systemColor(8);
    if (isSystemColor(color)) return systemColor(color & 0xFF);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int32_t WinColor::fromQColor(const QColor& color) {
    const QColor c = color.toRgb();
    return rgb(c.red(), c.green(), c.blue());
}

QFont TFontValue::toQFont() const {
    QFont font(Name);
    font.setPointSize(std::clamp(Size, 1, 1000));
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    return font;
}

void TFontValue::assignQFont(const QFont& font) {
    Name = font.family();
    if (font.pointSize() > 0)
        Size = font.pointSize();
    else if (font.pointSizeF() > 0)
        Size = qRound(font.pointSizeF());
    Bold = font.bold();
    Italic = font.italic();
    Underline = font.underline();
    StrikeOut = font.strikeOut();
}
