#pragma once

#include "LayoutDescription.h"

#include <QByteArray>
#include <vector>

// One record of the character table: which key, with which modifiers and after which dead key,
// types a character.
struct CharacterRecord {
    QByteArray name; // Windows-1252, at most 30 characters
    int code = 0;
    int keyNo = 0;
    bool shift = false;
    bool altGr = false;
    int accent = 0;
};

// Every character the layout can type. A character that several ways give keeps them all, the
// most direct first: the keyboard highlights the key of the first record of a code, so a dead
// key's own character (^) points at the dead key before the dead key + space record that typing
// by clicking needs.
std::vector<CharacterRecord> buildCharacterTable(const LayoutDescription& layout);
