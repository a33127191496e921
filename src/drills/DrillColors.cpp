#include "drills/DrillColors.h"

namespace DrillColors {

QColor toQColor(int32_t color) {
    if (color < 0) return {};
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QColor contrasting(const QColor& background) {
    return QColor(background.red() ^ 0xAA, background.green() ^ 0xAA, background.blue() ^ 0xAA);
}

} // namespace DrillColors
