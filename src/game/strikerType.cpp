#include "game/strikerType.h"

#include "game/GameCanvas.h"
#include "game/GameSettings.h"

void strikerType::Draw(GameCanvas& canvas) const {
    using namespace game;
    canvas.setFontSize(CellSize);
    const int typed = Typed < 0 ? 0 : std::min<int>(Typed, Text.size());
    if (typed > 0) {
        canvas.setFontColor(TypedColor);
        canvas.setFontStyle(TypedFontStyle);
        for (int i = 0; i < typed; ++i)
            canvas.TextOut(X + i * CellSize, Y, Text.at(i));
    }
    canvas.setFontColor(FontColor);
    canvas.setFontStyle(FontStyle);
    for (int i = typed; i < Text.size(); ++i)
        canvas.TextOut(X + i * CellSize, Y, Text.at(i));
}

void strikerType::Erase(GameCanvas& canvas) const {
    using namespace game;
    canvas.setFontSize(CellSize);
    canvas.setFontColor(PlayfieldColor);
    canvas.setFontStyle(FontStyle);
    for (int i = 0; i < Text.size(); ++i)
        canvas.TextOut(X + i * CellSize, Y, Text.at(i));
}

void strikerType::MoveDown(GameCanvas& canvas) {
    Erase(canvas);
    ++Y;
    Draw(canvas);
}
