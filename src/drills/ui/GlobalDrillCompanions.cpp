#include "drills/ui/GlobalDrillCompanions.h"

#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/ui/OuterFrameFit.h"

namespace {
class KeyboardWindow final : public DrillKeyboard {
public:
    int HighlightChar(char Ch) override { return VKeyboard ? VKeyboard->HighlightChar(Ch) : 10; }
    // The window's frame and placement go by the one record of its frame.
    QRect frameGeometry() const override {
        return VKeyboard ? OuterFrameFit::forWindow(VKeyboard)->frameGeometry() : QRect();
    }
    void moveTo(int left, int top) override {
        if (VKeyboard) OuterFrameFit::forWindow(VKeyboard)->moveFrameTo(QPoint(left, top));
    }
    void whenFrameChanges(std::function<void()> placeAgain) override {
        if (VKeyboard) OuterFrameFit::forWindow(VKeyboard)->whenFrameChanges(std::move(placeAgain));
    }
    // Showing brings the window to the front as well: it may already be shown, behind the
    // main window, and the drill needs it in sight.
    void Show(QWidget*) override {
        if (!VKeyboard) return;
        VKeyboard->show();
        VKeyboard->raise();
    }
    void BringToFront() override {
        if (VKeyboard && VKeyboard->isVisible()) VKeyboard->raise();
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
    QRect frameGeometry() const override {
        return *m_form ? OuterFrameFit::forWindow(*m_form)->frameGeometry() : QRect();
    }
    void moveTo(int left, int top) override {
        if (*m_form) OuterFrameFit::forWindow(*m_form)->moveFrameTo(QPoint(left, top));
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
