#include "platform/XkbKeyTranslator.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <utility>

namespace {

// X11 core modifier bits as they arrive in QKeyEvent::nativeModifiers().
constexpr quint32 X11LockMask = 0x02;
constexpr quint32 X11Mod2Mask = 0x10; // where desktops put Num Lock
constexpr quint32 X11Mod5Mask = 0x80; // where desktops put AltGr (ISO_Level3_Shift)

xkb_keysym_t firstLevelSym(xkb_keymap* keymap, xkb_keycode_t keycode) {
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, 0, &syms) < 1) return XKB_KEY_NoSymbol;
    return syms[0];
}

bool isModifierSym(xkb_keysym_t sym) {
    return (sym >= XKB_KEY_Shift_L && sym <= XKB_KEY_Hyper_R) ||
           (sym >= XKB_KEY_ISO_Lock && sym <= XKB_KEY_ISO_Level5_Lock) || sym == XKB_KEY_Mode_switch ||
           sym == XKB_KEY_Num_Lock;
}

// What a dead key types alone, when the key after it does not combine with it.
QString deadKeySpacing(xkb_keysym_t sym) {
    switch (sym) {
    case XKB_KEY_dead_grave:
        return QStringLiteral("`");
    case XKB_KEY_dead_acute:
        return QString(QChar(0x00B4));
    case XKB_KEY_dead_circumflex:
        return QStringLiteral("^");
    case XKB_KEY_dead_tilde:
        return QStringLiteral("~");
    case XKB_KEY_dead_macron:
        return QString(QChar(0x00AF));
    case XKB_KEY_dead_breve:
        return QString(QChar(0x02D8));
    case XKB_KEY_dead_abovedot:
        return QString(QChar(0x02D9));
    case XKB_KEY_dead_diaeresis:
        return QString(QChar(0x00A8));
    case XKB_KEY_dead_abovering:
        return QString(QChar(0x00B0));
    case XKB_KEY_dead_doubleacute:
        return QString(QChar(0x02DD));
    case XKB_KEY_dead_caron:
        return QString(QChar(0x02C7));
    case XKB_KEY_dead_cedilla:
        return QString(QChar(0x00B8));
    case XKB_KEY_dead_ogonek:
        return QString(QChar(0x02DB));
    default:
        return {};
    }
}

bool isDeadKey(xkb_keysym_t sym) {
    return sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_greek;
}

} // namespace

XkbKeyTranslator::XkbKeyTranslator(xkb_keymap* keymap, xkb_compose_table* composeTable,
                                   const std::vector<XkbKeyOverride>& overrides, QObject* parent)
    : QObject(parent), m_keymap(xkb_keymap_ref(keymap)), m_state(xkb_state_new(keymap)) {
    if (composeTable) m_compose.reset(xkb_compose_state_new(composeTable, XKB_COMPOSE_STATE_NO_FLAGS));
    for (const XkbKeyOverride& key : overrides) {
        const xkb_keycode_t keycode = xkb_keymap_key_by_name(keymap, key.keyName);
        if (keycode != XKB_KEYCODE_INVALID)
            m_overrides.push_back({keycode, key.shift, key.altGr, key.keysym});
    }
    // The keys that this keymap itself uses for Shift, Caps Lock and AltGr; the lowest keycode
    // wins, which is the left Shift and the right Alt on PC keyboards.
    for (xkb_keycode_t kc = xkb_keymap_max_keycode(keymap); kc >= xkb_keymap_min_keycode(keymap) && kc > 0;
         --kc) {
        switch (firstLevelSym(keymap, kc)) {
        case XKB_KEY_Shift_L:
            m_shiftKey = kc;
            break;
        case XKB_KEY_Caps_Lock:
            m_capsKey = kc;
            break;
        case XKB_KEY_Num_Lock:
            m_numKey = kc;
            break;
        case XKB_KEY_ISO_Level3_Shift:
            m_level3Key = kc;
            break;
        default:
            break;
        }
    }
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

bool XkbKeyTranslator::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        trackLevel3(*static_cast<QKeyEvent*>(event));
        break;
    case QEvent::ApplicationDeactivate:
        // A release that happens elsewhere never reaches us.
        m_level3Held = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// Notes presses and releases of this keymap's AltGr key; true when the event is one.
bool XkbKeyTranslator::trackLevel3(const QKeyEvent& event) {
    const xkb_keycode_t keycode = event.nativeScanCode();
    if (keycode == 0 || firstLevelSym(m_keymap.get(), keycode) != XKB_KEY_ISO_Level3_Shift) return false;
    m_level3Held = event.type() == QEvent::KeyPress;
    return true;
}

std::optional<QString> XkbKeyTranslator::translate(const QKeyEvent& event) {
    const xkb_keycode_t keycode = event.nativeScanCode();
    if (keycode == 0 || !xkb_keymap_key_get_name(m_keymap.get(), keycode)) return std::nullopt;
    if (trackLevel3(event) || event.type() != QEvent::KeyPress)
        return event.type() == QEvent::KeyPress ? std::optional<QString>(QString()) : std::nullopt;
    if (isModifierSym(firstLevelSym(m_keymap.get(), keycode))) return QString();

    const Qt::KeyboardModifiers mods = event.modifiers();
    const quint32 native = event.nativeModifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    // Ctrl+Alt stands for AltGr, as on keyboards without an AltGr key.
    const bool level3 =
        m_level3Held || (native & X11Mod5Mask) || mods.testFlag(Qt::GroupSwitchModifier) || (ctrl && alt);
    if (!level3 && (ctrl || alt)) return std::nullopt; // a shortcut, not typing

    // A fresh state for every key: a state that still held the Shift or AltGr key of the last
    // translation would take a second press of it for no change, and the key would type plain.
    m_state.reset(xkb_state_new(m_keymap.get()));
    xkb_state* state = m_state.get();
    if (!state) return std::nullopt;
    if (mods.testFlag(Qt::ShiftModifier) && m_shiftKey) xkb_state_update_key(state, m_shiftKey, XKB_KEY_DOWN);
    // The desktop's locks hold for this keymap as well.
    for (const auto& [mask, key] : {std::pair{X11LockMask, m_capsKey}, std::pair{X11Mod2Mask, m_numKey}}) {
        if (!(native & mask) || !key) continue;
        xkb_state_update_key(state, key, XKB_KEY_DOWN);
        xkb_state_update_key(state, key, XKB_KEY_UP);
    }
    if (level3 && m_level3Key) xkb_state_update_key(state, m_level3Key, XKB_KEY_DOWN);
    xkb_keysym_t sym = overriddenSym(keycode, mods.testFlag(Qt::ShiftModifier), level3);
    if (sym != XKB_KEY_NoSymbol) {
        char buffer[16];
        const int size = isDeadKey(sym) ? 0 : xkb_keysym_to_utf8(sym, buffer, sizeof buffer);
        return compose(sym, size > 1 ? QString::fromUtf8(buffer, size - 1) : QString());
    }
    sym = xkb_state_key_get_one_sym(state, keycode);
    // A key that this keymap leaves empty keeps what the desktop put on it.
    if (sym == XKB_KEY_NoSymbol) return std::nullopt;
    const QString text = keyText(keycode, sym);
    return compose(sym, text);
}

// What the Windows layout types on a key in a shift state where the keymap differs, else
// NoSymbol. Caps Lock leaves these keys alone, as it does the AltGr levels on Windows.
xkb_keysym_t XkbKeyTranslator::overriddenSym(xkb_keycode_t keycode, bool shift, bool altGr) const {
    for (const KeyOverride& key : m_overrides)
        if (key.keycode == keycode && key.shift == shift && key.altGr == altGr) return key.sym;
    return XKB_KEY_NoSymbol;
}

QString XkbKeyTranslator::keyText(xkb_keycode_t keycode, xkb_keysym_t sym) const {
    if (isDeadKey(sym)) return {};
    char buffer[64];
    const int size = xkb_state_key_get_utf8(m_state.get(), keycode, buffer, sizeof buffer);
    return size > 0 ? QString::fromUtf8(buffer, qMin(size, int(sizeof buffer) - 1)) : QString();
}

QString XkbKeyTranslator::compose(xkb_keysym_t sym, const QString& text) {
    if (!m_compose) return isDeadKey(sym) ? deadKeySpacing(sym) : text;
    xkb_compose_state* cs = m_compose.get();
    if (sym == XKB_KEY_space && m_pendingDeadKey != XKB_KEY_NoSymbol) {
        // A dead key then the space bar types the accent itself, as the course samples expect
        // ("´", not the apostrophe that the desktop's compose table gives for dead acute).
        xkb_compose_state_reset(cs);
        const QString accent = deadKeySpacing(m_pendingDeadKey);
        m_pendingDeadKey = XKB_KEY_NoSymbol;
        return accent;
    }
    if (xkb_compose_state_feed(cs, sym) == XKB_COMPOSE_FEED_IGNORED) return text;
    switch (xkb_compose_state_get_status(cs)) {
    case XKB_COMPOSE_COMPOSING:
        if (isDeadKey(sym)) m_pendingDeadKey = sym;
        return {};
    case XKB_COMPOSE_COMPOSED: {
        char buffer[64];
        const int size = xkb_compose_state_get_utf8(cs, buffer, sizeof buffer);
        xkb_compose_state_reset(cs);
        m_pendingDeadKey = XKB_KEY_NoSymbol;
        return size > 0 ? QString::fromUtf8(buffer, qMin(size, int(sizeof buffer) - 1)) : QString();
    }
    case XKB_COMPOSE_CANCELLED: {
        // The key does not combine: both characters are typed, the accent first.
        xkb_compose_state_reset(cs);
        const QString accent = deadKeySpacing(m_pendingDeadKey);
        m_pendingDeadKey = XKB_KEY_NoSymbol;
        return accent + (isDeadKey(sym) ? deadKeySpacing(sym) : text);
    }
    case XKB_COMPOSE_NOTHING:
    default:
        return text;
    }
}
