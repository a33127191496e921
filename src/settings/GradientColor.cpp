#include "settings/GradientColor.h"

#include "platform/Errors.h"

int32_t GradientColor(int32_t FromColor, int32_t ToColor, int32_t /*Min*/, int32_t Max, int32_t Position) {
    if (Max == 0) throw EZeroDivide(QStringLiteral("Division by zero"));
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t from = (FromColor >> shift) & 0xFF;
        const int32_t to = (ToColor >> shift) & 0xFF;
        const int32_t step = (to - from) / Max;
        // 32-bit wrap-around as the original arithmetic does, then the low 8 bits.
        const uint32_t value = uint32_t(from) + uint32_t(step) * uint32_t(Position);
        result |= (value & 0xFFu) << shift;
    }
    return int32_t(result);
}
