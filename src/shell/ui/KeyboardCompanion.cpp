#include "shell/ui/KeyboardCompanion.h"

#include "keyboard/ui/TVKeyboard.h"
#include "platform/ui/OuterFrameFit.h"
#include "shell/ui/FramePlacement.h"
#include "shell/ui/StayAbove.h"

KeyboardCompanion::KeyboardCompanion(TVKeyboard* keyboard, QWidget* owner)
    : m_keyboard(keyboard), m_owner(owner) {
    // The record of the window's frame follows it from the start.
    if (m_keyboard) OuterFrameFit::forWindow(m_keyboard);
}
int KeyboardCompanion::HighlightChar(char Ch) {
    return m_keyboard->HighlightChar(Ch);
}
QRect KeyboardCompanion::frameGeometry() const {
    return framedGeometry(m_keyboard);
}
void KeyboardCompanion::moveTo(int left, int top) {
    placeFrameAt(m_keyboard, left, top);
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
