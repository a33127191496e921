#include "keyboard/HandPosition.h"

#include "keyboard/KeyKinds.h"

std::optional<HandPosition> handPositionForFinger(int32_t fingerCode) {
    if (!FingerCode::isFinger(fingerCode)) return std::nullopt;
    if (fingerCode <= 4) return HandPosition{true, fingerCode + 1};
    return HandPosition{false, 10 - fingerCode};
}
