#pragma once

#include "drills/DrillCompanions.h"

class TPalmForm;

// A hand window as the drills reach it.
class HandCompanion final : public DrillHand {
public:
    explicit HandCompanion(TPalmForm* hand) : m_hand(hand) {}

    void LightFinger(int Pos) override;
    void UnlightCurrent() override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void ShowIfUsed() override;
    void Hide() override;

private:
    TPalmForm* m_hand;
};
