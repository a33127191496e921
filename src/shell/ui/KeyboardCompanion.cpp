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
    m_placedAt = QPoint(left, top);
    placeFrameAt(m_keyboard, left, top, m_lastFrame);
}
void KeyboardCompanion::Show() {
    stayAbove(m_keyboard, m_owner);
    const bool wasHidden = !m_keyboard->isVisible();
    m_keyboard->show();
    placeAgainOnceShown(m_keyboard, wasHidden, m_placedAt, m_lastFrame);
    // Shown again when the drill is activated: it may lie behind the drill's other windows.
    m_keyboard->raise();
}
void KeyboardCompanion::Hide() {
    rememberFrame(m_keyboard, m_lastFrame);
    m_keyboard->hide();
}
