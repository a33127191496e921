#pragma once

#include <cstdint>
#include <optional>

// Where a finger code is shown: which hand window, and which of its five bars (1 little finger
// .. 5 thumb, numbered the same way on both hands).
struct HandPosition {
    bool left = true;
    int32_t position = 0;

    friend bool operator==(const HandPosition&, const HandPosition&) = default;
};

// Codes 0..4 are left positions 1..5, codes 5..9 right positions 5..1; anything else is no finger.
std::optional<HandPosition> handPositionForFinger(int32_t fingerCode);
