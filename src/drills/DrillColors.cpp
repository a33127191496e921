#include "drills/DrillColors.h"

#include "settings/FontValue.h"

namespace DrillColors {

QColor toQColor(int32_t color) {
    return WinColor::toQColor(color);
}

QColor contrasting(const QColor& background) {
    return QColor(background.red() ^ 0xAA, background.green() ^ 0xAA, background.blue() ^ 0xAA);
}

} // namespace DrillColors
