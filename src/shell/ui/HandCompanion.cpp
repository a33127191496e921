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
    return framedGeometry(m_hand, m_lastFrame);
}
void HandCompanion::moveTo(int left, int top) {
    m_placedAt = QPoint(left, top);
    placeFrameAt(m_hand, left, top, m_lastFrame);
}
void HandCompanion::ShowIfUsed() {
    stayAbove(m_hand, m_owner);
    const bool wasHidden = !m_hand->isVisible();
    m_hand->ShowIfUsed();
    placeAgainOnceShown(m_hand, wasHidden, m_placedAt, m_lastFrame);
    if (m_hand->isVisible()) m_hand->raise();
}
void HandCompanion::Hide() {
    rememberFrame(m_hand, m_lastFrame);
    m_hand->hide();
}
