#pragma once

#include <cstdint>

class GameCanvas;
class strikerType;

// One shot: a small box that climbs 6 pixels per step, drawn in XOR so that drawing it again
// removes it, until it reaches the word it was fired at.
class bulletType {
public:
    bulletType(GameCanvas* canvas, strikerType* target, int32_t startY);

    GameCanvas* Canvas;
    strikerType* Target; // not owned
    int32_t StartY;
    bool Done = false;
    int32_t Y;
    int32_t X;

    void Step();
};
