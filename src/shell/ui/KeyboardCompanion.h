#pragma once

#include "drills/DrillCompanions.h"

#include <QMargins>
#include <QPoint>
#include <optional>

class QWidget;
class TVKeyboard;

// The keyboard window as the drills reach it; shown, it stays above `owner` (the main window).
class KeyboardCompanion final : public DrillKeyboard {
public:
    explicit KeyboardCompanion(TVKeyboard* keyboard, QWidget* owner = nullptr)
        : m_keyboard(keyboard), m_owner(owner) {}

    int HighlightChar(char Ch) override;
    QRect frameGeometry() const override;
    void moveTo(int left, int top) override;
    void Show() override;
    void Hide() override;

private:
    TVKeyboard* m_keyboard;
    QWidget* m_owner;
    // The frame the window manager gave the window when it was last shown.
    mutable QMargins m_lastFrame;
    // Where the frame's corner was asked to go.
    std::optional<QPoint> m_placedAt;
};
