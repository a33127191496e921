#pragma once

#include "drills/DrillCompanions.h"

class QWidget;
class TVKeyboard;

// The keyboard window as the drills reach it; shown, it stays above `owner` (the main window).
class KeyboardCompanion final : public DrillKeyboard {
public:
    explicit KeyboardCompanion(TVKeyboard* keyboard, QWidget* owner = nullptr);

    int HighlightChar(char Ch) override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void Show() override;
    void Hide() override;

private:
    TVKeyboard* m_keyboard;
    QWidget* m_owner;
};
