#pragma once

#include "keyboard/finger.h"

#include <QWidget>
#include <array>
#include <cstdint>

class OuterFrameFit;
class QTimer;

// A hand window: a small black tool window with five finger bars whose lengths and colours come
// from the course's layout. The finger that should strike the next key is lit: it blinks in
// blink mode, otherwise it gets a dot above its bar. Positions 1..5 run from the little finger
// to the thumb on both hands.
class TPalmForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int FingerCount = 5;
    static constexpr int OuterWidth = 63;

    explicit TPalmForm(QWidget* parent = nullptr);
    ~TPalmForm() override;

    // The left hand (true) or the right hand, with the translated caption "Left" or "Right".
    void SetHand(bool IsLeft);
    // Sizes the window and sets up the bars from the loaded layout's finger lengths and colours.
    void LayoutFingers();
    // The same from ten lengths and ten colours in the layout's order: left little finger ..
    // left thumb, then right little finger .. right thumb.
    void LayoutFingers(const std::array<int32_t, 10>& lengths, const std::array<int32_t, 10>& colors);
    // Shows the window unless this hand has no bars at all.
    void ShowIfUsed();
    void LightFinger(int32_t Pos);
    void UnlightFinger(int32_t Pos);
    void UnlightCurrent();

    // Blink mode: the lit bar blinks instead of getting a dot. Set it before LayoutFingers.
    bool Blink = true;

    QTimer* TimerOfPalm = nullptr;
    // 0 until the first finger is lit, then 1 for good: the timer's ticks act only from then on.
    int TimerOfPalmTag() const { return m_timerTag; }

    bool IsLeft() const { return m_isLeft; }
    bool HandEmpty() const { return m_handEmpty; }
    bool BlinkPhase() const { return m_blinkPhase; }
    int32_t CurrentFinger() const { return m_currentFinger; }
    // Positions 1..5; anything else is not lit.
    bool Lit(int32_t Pos) const;
    const finger& Fingers(int32_t Pos) const { return m_fingers.at(Pos - 1); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void TimerOfPalmTimer();

private:
    static bool isPosition(int32_t Pos) { return Pos >= 1 && Pos <= FingerCount; }
    finger& at(int32_t Pos) { return m_fingers[Pos - 1]; }
    // What a full repaint leaves: every bar in its colour, the lit finger's dot outside blink mode.
    void repaintFingers();
    // 63 pixels is the width of the whole window, its frame included; its client height comes
    // from the fingers. Nobody can resize it.
    void fitWindow(int clientHeight);

    OuterFrameFit* m_frameFit = nullptr;
    std::array<finger, FingerCount> m_fingers{};
    std::array<bool, FingerCount> m_lit{};
    bool m_isLeft = false;
    int32_t m_currentFinger = 0;
    bool m_blinkPhase = false;
    bool m_handEmpty = false;
    int m_timerTag = 0;
};

// The left and right hand windows of the run; the main window creates them.
extern TPalmForm* PalmForm;
extern TPalmForm* RightPalmForm;
