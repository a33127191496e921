#include "game/GameSettings.h"

#include <array>

namespace game {

int32_t CellSize = 14;
int32_t Rows = 3;
int32_t Columns = 80;
int32_t PlayfieldColor = 0xFF0000; // blue
int32_t FontColor = 0;
FontStyleSet FontStyle = 0;
FontStyleSet TypedFontStyle = 0;
QString FontName = QStringLiteral("courier");
bool FunSpeed = false;
int32_t NewWordSpeed = 3500;
int32_t NewWordSpeedBy = 250;
int32_t DropSpeed = 250;
int32_t DropSpeedBy = 20;
int CurrentGroup = 1;

namespace {
constexpr std::array<int, 26> kFirstGroups = {60, 50, 70, 60, 50, 50, 45, 45, 20, 15, 15, 20, 40,
                                              25, 35, 45, 10, 60, 65, 60, 5,  5,  5,  3,  3,  3};
}

int GroupChance(int g) {
    if (g >= 1 && g <= int(kFirstGroups.size())) return kFirstGroups[size_t(g - 1)];
    return 10;
}

void resetSettings() {
    CellSize = 14;
    Rows = 3;
    Columns = 80;
    PlayfieldColor = 0xFF0000;
    FontColor = 0;
    FontStyle = 0;
    TypedFontStyle = 0;
    FontName = QStringLiteral("courier");
    FunSpeed = false;
    NewWordSpeed = 3500;
    NewWordSpeedBy = 250;
    DropSpeed = 250;
    DropSpeedBy = 20;
    CurrentGroup = 1;
}

} // namespace game
