#include "shell/ui/KeyboardCompanion.h"

#include "keyboard/ui/TVKeyboard.h"
#include "shell/ui/StayAbove.h"

int KeyboardCompanion::HighlightChar(char Ch) {
    return m_keyboard->HighlightChar(Ch);
}
QRect KeyboardCompanion::frameGeometry() const {
    return m_keyboard->frameGeometry();
}
void KeyboardCompanion::moveTo(int left, int top) {
    m_keyboard->move(left, top);
}
void KeyboardCompanion::Show() {
    stayAbove(m_keyboard, m_owner);
    m_keyboard->show();
    // Shown again when the drill is activated: it may lie behind the drill's other windows.
    m_keyboard->raise();
}
void KeyboardCompanion::Hide() {
    m_keyboard->hide();
}
