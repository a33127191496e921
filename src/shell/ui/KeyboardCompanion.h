#pragma once

#include "drills/DrillCompanions.h"

#include <QPointer>
#include <QWidget>
class TVKeyboard;

// The keyboard window as the drills reach it; shown, it stays above `owner` (the main window),
// and once the drill that shows it is in front, above that drill.
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
    QPointer<QWidget> m_drill; // the drill that showed the window last
};
