#pragma once

#include <cstdint>

// A colour (0x00BBGGRR) between FromColor and ToColor for Position in 0..Max. Each channel
// steps by (to - from) / Max in integer division before the multiplication, so the end colour
// is reached only where the difference divides evenly. Min is not read. Max = 0 raises EZeroDivide.
int32_t GradientColor(int32_t FromColor, int32_t ToColor, int32_t Min, int32_t Max, int32_t Position);
