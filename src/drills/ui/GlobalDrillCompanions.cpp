#include "drills/ui/GlobalDrillCompanions.h"

#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"

namespace {
class KeyboardWindow final : public DrillKeyboard {
public:
    int HighlightChar(char Ch) override { return VKeyboard ? VKeyboard->HighlightChar(Ch) : 10; }
    QRect frameGeometry() const override { return VKeyboard ? VKeyboard->frameGeometry() : QRect(); }
    void moveTo(int left, int top) override {
        if (VKeyboard) VKeyboard->move(left, top);
    }
    // Showing brings the window to the front as well: it may already be shown, behind the
    // main window, and the drill needs it in sight.
    void Show() override {
        if (!VKeyboard) return;
        VKeyboard->show();
        VKeyboard->raise();
    }
    void Hide() override {
        if (VKeyboard) VKeyboard->hide();
    }
};

class HandWindow final : public DrillHand {
public:
    explicit HandWindow(TPalmForm** form) : m_form(form) {}
    void LightFinger(int Pos) override {
        if (*m_form) (*m_form)->LightFinger(Pos);
    }
    void UnlightCurrent() override {
        if (*m_form) (*m_form)->UnlightCurrent();
    }
    QRect frameGeometry() const override { return *m_form ? (*m_form)->frameGeometry() : QRect(); }
    void moveTo(int left, int top) override {
        if (*m_form) (*m_form)->move(left, top);
    }
    void ShowIfUsed() override {
        if (!*m_form) return;
        (*m_form)->ShowIfUsed();
        if ((*m_form)->isVisible()) (*m_form)->raise();
    }
    void Hide() override {
        if (*m_form) (*m_form)->hide();
    }

private:
    TPalmForm** m_form;
};
} // namespace

const DrillCompanions& globalDrillCompanions() {
    static KeyboardWindow keyboard;
    static HandWindow left(&PalmForm);
    static HandWindow right(&RightPalmForm);
    static DrillCompanions companions;
    companions.keyboard = VKeyboard ? &keyboard : nullptr;
    companions.leftHand = PalmForm ? &left : nullptr;
    companions.rightHand = RightPalmForm ? &right : nullptr;
    return companions;
}

const DrillCompanions& activeDrillCompanions() {
    const DrillCompanions& installed = drillCompanions();
    if (installed.keyboard || installed.leftHand || installed.rightHand) return installed;
    return globalDrillCompanions();
}
