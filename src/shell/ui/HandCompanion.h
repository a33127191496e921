#pragma once

#include "drills/DrillCompanions.h"

class QWidget;
class TPalmForm;

// A hand window as the drills reach it; shown, it stays above `owner` (the main window).
class HandCompanion final : public DrillHand {
public:
    explicit HandCompanion(TPalmForm* hand, QWidget* owner = nullptr) : m_hand(hand), m_owner(owner) {}

    void LightFinger(int Pos) override;
    void UnlightCurrent() override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void ShowIfUsed() override;
    void Hide() override;

private:
    TPalmForm* m_hand;
    QWidget* m_owner;
};
