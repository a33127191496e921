#pragma once

#include <QString>
#include <optional>

class QKeyEvent;

// The keyboard layout that the profile activated, applied to the program's own key input.
// The drills' input boxes and the game window ask it what a key event types before they handle
// the key. Nothing installed, or an event it cannot interpret (no scan code), means the event's
// own text stands.
class KeyTranslator {
public:
    virtual ~KeyTranslator() = default;
    // The text the key gives under the activated layout: nothing to let the event's own text
    // stand; an empty text for a key that types nothing by itself (a dead key waiting for the
    // next one, a modifier).
    virtual std::optional<QString> translate(const QKeyEvent& event) = 0;
};

// The translator in use, or nullptr. Not owned.
KeyTranslator* activeKeyTranslator();
void setActiveKeyTranslator(KeyTranslator* translator);
