#pragma once

#include <cstdint>

// Kinds of the key table's KeyType and KeyType2 fields, and the finger codes of its Finger field.
namespace KeyKind {

constexpr int32_t Letter = 1;       // a character key that Caps Lock affects
constexpr int32_t CharacterEnd = 8; // every kind below this one is a character key
constexpr int32_t Backspace = 8;    // also its virtual-key code
constexpr int32_t CapsLock = 20;    // also its virtual-key code
constexpr int32_t Delete = 46;      // also its virtual-key code
constexpr int32_t AltGr = 1000;
constexpr int32_t LeftShift = 1002;
constexpr int32_t RightShift = 1003;
constexpr int32_t DeadKeyGroup = 2000; // the group index shared by all dead keys
constexpr int32_t FirstDeadKey = 2001;
constexpr int32_t LastDeadKey = 2008;
constexpr int DeadKeyCount = LastDeadKey - FirstDeadKey + 1;

constexpr bool isDeadKey(int32_t kind) {
    return kind >= FirstDeadKey && kind <= LastDeadKey;
}
constexpr bool isCharacterKey(int32_t kind) {
    return kind < CharacterEnd;
}

// The name shown for a pending dead key ("Grave" ... "Cedilia"); nullptr for any other kind.
const char* deadKeyName(int32_t kind);

} // namespace KeyKind

namespace FingerCode {

// 0 left little finger .. 4 left thumb, 5 right thumb .. 9 right little finger; above 9 none.
constexpr int32_t LeftLittle = 0;
constexpr int32_t RightLittle = 9;
// What the keyboard reports for a character that has no key.
constexpr int32_t NoFinger = 10;

constexpr bool isFinger(int32_t code) {
    return code >= LeftLittle && code <= RightLittle;
}

} // namespace FingerCode
