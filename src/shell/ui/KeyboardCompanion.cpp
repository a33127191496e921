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
void KeyboardCompanion::whenFrameChanges(std::function<void()> placeAgain) {
    OuterFrameFit::forWindow(m_keyboard)->whenFrameChanges(std::move(placeAgain));
}
void KeyboardCompanion::Show(QWidget* drill) {
    // Shown while the drill is being shown, before the window manager knows the drill: above the
    // main window first, the drill's own once it is in front (BringToFront).
    m_drill = drill;
    stayAbove(m_keyboard, m_owner);
    m_keyboard->show();
    m_keyboard->raise();
}
void KeyboardCompanion::BringToFront() {
    // Taken out from behind the drill's other windows; one the user closed stays closed.
    if (!m_keyboard->isVisible()) return;
    // A transient of the modal drill is not blocked by it: a close request from the window
    // manager, which a blocked window never gets, reaches the window and hides it. It still takes
    // no focus, so the drill keeps the keys.
    if (m_drill) stayAbove(m_keyboard, m_drill);
    m_keyboard->raise();
}
void KeyboardCompanion::Hide() {
    m_keyboard->hide();
}
