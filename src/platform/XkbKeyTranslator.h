#pragma once

#include "platform/KeyTranslator.h"
#include "platform/XkbHandles.h"
#include "platform/XkbLayoutTable.h"

#include <QObject>
#include <vector>

// Types the characters of one XKB keymap from the physical keys of key events, whatever the
// desktop's own layout is: the event's native scan code (an XKB keycode) with Shift, Caps Lock,
// Num Lock and AltGr gives the key's symbol, and dead keys are combined with the next key
// through the compose table; a dead key then the space bar types the accent itself. Watches the
// application's key events to know whether this keymap's AltGr key is held, since the desktop's
// layout may give that key another meaning. Keys where the Windows layout of the same identifier
// types otherwise (xkbKeyOverrides) type what that layout types.
class XkbKeyTranslator final : public QObject, public KeyTranslator {
    Q_OBJECT
public:
    // Shares the keymap and the compose table (which may be null: dead keys then type their
    // own spacing character), with the keys that type otherwise than the keymap.
    XkbKeyTranslator(xkb_keymap* keymap, xkb_compose_table* composeTable,
                     const std::vector<XkbKeyOverride>& overrides = {}, QObject* parent = nullptr);

    std::optional<QString> translate(const QKeyEvent& event) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool trackLevel3(const QKeyEvent& event);
    QString keyText(xkb_keycode_t keycode, xkb_keysym_t sym) const;
    xkb_keysym_t overriddenSym(xkb_keycode_t keycode, bool shift, bool altGr) const;
    QString compose(xkb_keysym_t sym, const QString& text);

    XkbKeymapPtr m_keymap;
    XkbStatePtr m_state;
    XkbComposeStatePtr m_compose;
    struct KeyOverride {
        xkb_keycode_t keycode;
        bool shift;
        bool altGr;
        xkb_keysym_t sym;
    };
    std::vector<KeyOverride> m_overrides;
    xkb_keycode_t m_shiftKey = 0;
    xkb_keycode_t m_capsKey = 0;
    xkb_keycode_t m_numKey = 0;
    xkb_keycode_t m_level3Key = 0;
    xkb_keysym_t m_pendingDeadKey = XKB_KEY_NoSymbol;
    bool m_level3Held = false;
};
