#include "CharacterTable.h"

namespace {

QByteArray characterName(unsigned char code) {
    switch (code) {
    case 8:
        return "Backspace";
    case 9:
        return "Tab";
    case 13:
        return "Enter";
    case 32:
        return "Space";
    default:
        return code < 32 ? "#" + QByteArray::number(code) : QByteArray(1, char(code));
    }
}

CharacterRecord record(unsigned char code, const KeyDescription& key, int level, int accent) {
    return {characterName(code), code, key.value, level == ShiftLevel, level == AltGrLevel, accent};
}

} // namespace

std::vector<CharacterRecord> buildCharacterTable(const LayoutDescription& layout) {
    std::vector<CharacterRecord> table;
    const KeyDescription* spaceKey = nullptr;
    for (const KeyDescription& key : layout.keys) {
        for (int level = 0; level < LevelCount; ++level) {
            const KeyLevel& given = key.levels[level];
            if (given.kind == KeyLevel::Kind::Character) {
                table.push_back(record(given.code, key, level, 0));
                if (!spaceKey && level == PlainLevel && given.code == ' ') spaceKey = &key;
            } else if (given.kind == KeyLevel::Kind::DeadKey) {
                const DeadKeyDescription* dead = layout.deadKey(given.deadKind);
                if (dead && dead->spacing != 0) table.push_back(record(dead->spacing, key, level, 0));
            }
        }
    }
    for (const DeadKeyDescription& dead : layout.deadKeys) {
        if (dead.spacing != 0 && spaceKey)
            table.push_back(record(dead.spacing, *spaceKey, PlainLevel, dead.kind));
        for (const auto& [base, result] : dead.combinations) {
            // The first key and level that give the base letter (the description guarantees one).
            bool found = false;
            for (const KeyDescription& key : layout.keys) {
                for (int level = 0; level < LevelCount && !found; ++level) {
                    const KeyLevel& given = key.levels[level];
                    if (given.kind == KeyLevel::Kind::Character && given.code == base) {
                        table.push_back(record(result, key, level, dead.kind));
                        found = true;
                    }
                }
                if (found) break;
            }
        }
    }
    return table;
}
