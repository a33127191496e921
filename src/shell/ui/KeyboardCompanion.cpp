#include "shell/ui/KeyboardCompanion.h"

#include "keyboard/ui/TVKeyboard.h"
#include "shell/ui/FramePlacement.h"
#include "shell/ui/StayAbove.h"

int KeyboardCompanion::HighlightChar(char Ch) {
    return m_keyboard->HighlightChar(Ch);
}
QRect KeyboardCompanion::frameGeometry() const {
    return framedGeometry(m_keyboard, m_lastFrame);
}
void KeyboardCompanion::moveTo(int left, int top) {
    placeFrameAt(m_keyboard, left, top, m_lastFrame);
}
void KeyboardCompanion::Show() {
    stayAbove(m_keyboard, m_owner);
    m_keyboard->show();
    // Shown again when the drill is activated: it may lie behind the drill's other windows.
    m_keyboard->raise();
}
void KeyboardCompanion::Hide() {
    rememberFrame(m_keyboard, m_lastFrame);
    m_keyboard->hide();
}
