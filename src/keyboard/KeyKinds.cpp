#include "keyboard/KeyKinds.h"

namespace KeyKind {

const char* deadKeyName(int32_t kind) {
    static const char* const names[DeadKeyCount] = {"Grave",  "Acute", "Circumflex", "Tilde",
                                                    "Umlaut", "Ring",  "Ese",        "Cedilia"};
    return isDeadKey(kind) ? names[kind - FirstDeadKey] : nullptr;
}

} // namespace KeyKind
