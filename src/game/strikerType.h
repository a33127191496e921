#pragma once

#include <QByteArray>
#include <cstdint>

class GameCanvas;

// One falling word. It slides down one pixel per move until it is typed out, breaks bricks or
// falls out at the bottom.
class strikerType {
public:
    enum StateValue { Falling = 0, TypedOut = 2, ToRemove = 3 };

    QByteArray Text;
    int32_t Length = 0;
    int32_t X = 0;      // left edge of the first letter's cell
    int32_t Y = 0;      // top edge, one more per drop
    int32_t Column = 1; // 1-based column of the first letter
    int32_t Speed = 2;  // 1..3
    int32_t Typed = -1; // -1 unless locked for typing, else letters typed so far
    int32_t State = Falling;

    // Each letter in its own cell: the typed ones in the typed colour and style, the rest in
    // the font colour and style.
    void Draw(GameCanvas& canvas) const;
    // Writes every letter again in the playfield colour.
    void Erase(GameCanvas& canvas) const;
    void MoveDown(GameCanvas& canvas);
};
