#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QKeyEvent;
class QInputMethodEvent;

// How a key event of Qt reaches the program's typing code: first as a key-down with the Windows
// virtual-key code (which the handler may swallow by setting it to 0), then as one key-press per
// character it types, each an 8-bit Windows-1252 character (Backspace 8, Enter 13, Esc 27).
namespace KeyInput {

// Windows virtual-key codes the drills and the game look at.
enum VirtualKey : quint16 {
    VK_NONE = 0,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
};

// One character of a key-press. `code` is its Windows-1252 byte; a character that has no such
// code keeps its Unicode form and is `unmappable`, so the typing code can take it as a wrong key.
struct KeyChar {
    char code = 0;
    QChar unicode;
    bool unmappable = false;
};

// The virtual-key code of a key event (0 when Windows has none for it).
quint16 virtualKeyCode(const QKeyEvent& event);

// What Ctrl with a key types: nothing (a shortcut, as the drills take it), or the control
// character it stands for (Ctrl+B is 2), as the game takes every character but Esc.
enum class CtrlKeys { Shortcuts, ControlCharacters };

// The characters a key event types, in order, after the activated keyboard layout has had its
// say (activeKeyTranslator()). Backspace, Enter and Esc give 8, 13 and 27 whatever their text;
// the tab gives 9; Ctrl with a key gives what `ctrl` says; shortcuts with Alt and other control
// characters give nothing.
std::vector<KeyChar> keyPressChars(const QKeyEvent& event, CtrlKeys ctrl = CtrlKeys::Shortcuts);

// The characters an input method commits (dead keys composed under X11): key-presses too.
std::vector<KeyChar> committedChars(const QInputMethodEvent& event);

// The key-press characters of a text (used by both of the above).
std::vector<KeyChar> charsOfText(const QString& text);

} // namespace KeyInput
