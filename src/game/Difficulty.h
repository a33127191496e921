#pragma once

#include <QString>

// The difficulty that the player's entry gives: a decimal number 1..10, else 3 (also for an
// empty entry or one too long to convert).
int difficultyFromEntry(const QString& entry);
