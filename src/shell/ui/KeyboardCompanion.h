#pragma once

#include "drills/DrillCompanions.h"

class TVKeyboard;

// The keyboard window as the drills reach it.
class KeyboardCompanion final : public DrillKeyboard {
public:
    explicit KeyboardCompanion(TVKeyboard* keyboard) : m_keyboard(keyboard) {}

    int HighlightChar(char Ch) override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void Show() override;
    void Hide() override;

private:
    TVKeyboard* m_keyboard;
};
