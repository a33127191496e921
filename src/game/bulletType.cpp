#include "game/bulletType.h"

#include "game/GameCanvas.h"
#include "game/GameSettings.h"
#include "game/strikerType.h"

bulletType::bulletType(GameCanvas* canvas, strikerType* target, int32_t startY)
    : Canvas(canvas), Target(target), StartY(startY), Y(startY),
      X(target->X + (target->Length * game::CellSize) / 2) {}

void bulletType::Step() {
    using namespace game;
    // Tested first: a bullet that starts at or above the word's lower edge hits at once.
    if (Target->Y + CellSize >= Y) {
        Canvas->setPen(PlayfieldColor, 3);
        Canvas->Rectangle(X, Y, X + 5, Y + 9);
        Target->State = strikerType::ToRemove;
        Done = true;
        return;
    }
    if (Done) return;
    Canvas->setPen(BulletColor ^ 0xAAAAAA, 3);
    Canvas->setPenMode(GameCanvas::PenMode::Xor);
    Canvas->Rectangle(X, Y, X + 4, Y + 8);
    Y -= 6;
    Canvas->Rectangle(X, Y, X + 4, Y + 8);
    Canvas->setPenMode(GameCanvas::PenMode::Copy);
}
