#pragma once

#include <cstdint>

// Why the last line of a drill ended.
enum TLineEndReason : uint8_t {
    lerCompleted = 0, // typed past its last character
    lerCancelled = 1, // Esc
    lerSkipped = 2,   // Enter
    lerNone = 3,      // initial value, and a line that ends while no sample has been prepared
};
