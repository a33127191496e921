#pragma once

#include <QString>

// Reads the game's four speed values ("NewWordSpeed", "NewWordSpeedBy", "DropSpeed",
// "DropSpeedBy") from section "General" of the given ini file into the shared game settings.
// A missing file, section or key, or a value that is not an integer, gives the default
// (3500, 250, 250, 20). The file is never written.
void LoadGameSettings(const QString& iniPath);
