#include "game/Difficulty.h"

#include "platform/StrictInt.h"

int difficultyFromEntry(const QString& entry) {
    const std::optional<int> value = tryStrToInt(entry);
    if (!value || *value < 1 || *value > 10) return 3;
    return *value;
}
