#include "keyboard/ColorValue.h"

#include <array>

namespace {

// Default RGB values of the system colours 0..30 (scroll bar, desktop, captions, menus, window,
// button face and so on).
constexpr std::array<QRgb, 31> systemColors = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

} // namespace

QColor colorFromValue(int32_t value) {
    if (value < 0) {
        const auto index = static_cast<uint32_t>(value) & 0xFFu;
        return QColor::fromRgb(index < systemColors.size() ? systemColors[index] : 0x000000);
    }
    const auto v = static_cast<uint32_t>(value);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

int32_t valueFromColor(const QColor& color) {
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}
