#pragma once

#include "drills/DrillCompanions.h"

class QWidget;
class TVKeyboard;

// The keyboard window as the drills reach it; shown, it stays above the drill that shows it
// (`owner`, the main window, without one).
class KeyboardCompanion final : public DrillKeyboard {
public:
    explicit KeyboardCompanion(TVKeyboard* keyboard, QWidget* owner = nullptr);

    int HighlightChar(char Ch) override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void whenFrameChanges(std::function<void()> placeAgain) override;
    void Show(QWidget* drill) override;
    void BringToFront() override;
    void Hide() override;

private:
    TVKeyboard* m_keyboard;
    QWidget* m_owner;
};
