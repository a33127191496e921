#include "game/GameSpeedFile.h"

#include "game/GameSettings.h"
#include "platform/IniFile.h"

void LoadGameSettings(const QString& iniPath) {
    TIniFile ini(iniPath);
    const QString general = QStringLiteral("General");
    game::NewWordSpeed = ini.ReadInteger(general, QStringLiteral("NewWordSpeed"), 3500);
    game::NewWordSpeedBy = ini.ReadInteger(general, QStringLiteral("NewWordSpeedBy"), 250);
    game::DropSpeed = ini.ReadInteger(general, QStringLiteral("DropSpeed"), 250);
    game::DropSpeedBy = ini.ReadInteger(general, QStringLiteral("DropSpeedBy"), 20);
}
