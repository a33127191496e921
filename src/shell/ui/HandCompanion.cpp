#include "shell/ui/HandCompanion.h"

#include "keyboard/ui/TPalmForm.h"
#include "shell/ui/FramePlacement.h"
#include "shell/ui/StayAbove.h"

void HandCompanion::LightFinger(int Pos) {
    m_hand->LightFinger(Pos);
}
void HandCompanion::UnlightCurrent() {
    m_hand->UnlightCurrent();
}
QRect HandCompanion::frameGeometry() const {
    return framedGeometry(m_hand);
}
void HandCompanion::moveTo(int left, int top) {
    placeFrameAt(m_hand, left, top);
}
void HandCompanion::ShowIfUsed() {
    stayAbove(m_hand, m_owner);
    m_hand->ShowIfUsed();
    if (m_hand->isVisible()) m_hand->raise();
}
void HandCompanion::Hide() {
    m_hand->hide();
}
