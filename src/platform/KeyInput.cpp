#include "platform/KeyInput.h"

#include "platform/CodePage.h"
#include "platform/KeyTranslator.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace KeyInput {

quint16 virtualKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return quint16(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return quint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return quint16(0x70 + (key - Qt::Key_F1));
    return VK_NONE;
}

std::vector<KeyChar> charsOfText(const QString& text) {
    std::vector<KeyChar> chars;
    chars.reserve(size_t(text.size()));
    for (const QChar ch : text) {
        // Line breaks and other control characters but the tab (texts may hold tabs) are not
        // typed by text; the keys that type them (Backspace, Enter, Esc) are recognised by
        // their key code.
        if ((ch.unicode() < 0x20 && ch != u'\t') || ch.unicode() == 0x7F) continue;
        if (ch.isSurrogate()) {
            // Half of a character outside the BMP: no code page has it, so one wrong key.
            if (ch.isHighSurrogate()) chars.push_back({'?', QChar(0xFFFD), true});
            continue;
        }
        KeyChar k;
        k.unicode = ch;
        if (const auto code = CodePage::unicodeToChar(ch)) {
            k.code = char(*code);
        } else {
            k.code = '?';
            k.unmappable = true;
        }
        chars.push_back(k);
    }
    return chars;
}

// The control character of Ctrl with a key: the one the desktop reports as the key's text (X11
// does), else for a letter or one of [ \ ] ^ _ the character less 64, as Windows types it.
static std::vector<KeyChar> controlChars(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.size() == 1 && (text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F))
        return {{char(text.at(0).unicode()), text.at(0), false}};
    const int key = event.key();
    if (key < Qt::Key_A || key > Qt::Key_Underscore) return {};
    const char code = char(key & 0x1F);
    return {{code, QChar(code), false}};
}

std::vector<KeyChar> keyPressChars(const QKeyEvent& event, CtrlKeys ctrl) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return {{'\b', QChar(8), false}};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {{'\r', QChar(13), false}};
    case Qt::Key_Escape:
        return {{'\x1b', QChar(27), false}};
    default:
        break;
    }
    // AltGr arrives as its own modifier (or none) under X11, or as Ctrl+Alt elsewhere, so
    // characters typed with AltGr come through either way.
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier))
        return ctrl == CtrlKeys::ControlCharacters ? controlChars(event) : std::vector<KeyChar>{};
    // The activated layout knows its own AltGr key, which the desktop may report as Alt.
    if (KeyTranslator* translator = activeKeyTranslator()) {
        if (const auto text = translator->translate(event)) return charsOfText(*text);
    }
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) return {};
    return charsOfText(event.text());
}

std::vector<KeyChar> committedChars(const QInputMethodEvent& event) {
    return charsOfText(event.commitString());
}

} // namespace KeyInput
