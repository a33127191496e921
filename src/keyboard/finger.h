#pragma once

#include <cstdint>

class QPainter;

// One finger bar of a hand window. The operations change what the bar and its tip dot look
// like; the window paints that picture whenever it repaints, so what is on screen is always the
// result of the operations so far.
class finger {
public:
    // What one part of the picture shows: nothing painted, the finger's colour, or black
    // painted over it.
    enum class Ink { None, Colour, Black };

    static constexpr int PenWidth = 6;
    static constexpr int TipGap = 7; // the tip dot's centre above the top of the bar

    void Init(int32_t x, int32_t baseY, int32_t length, int32_t color);
    // The bar in its colour.
    void Draw();
    // The bar in black; only in blink mode.
    void Erase();
    // The dot above the bar in the bar's colour; only outside blink mode.
    void DrawTip();
    // The dot in black; only outside blink mode.
    void EraseTip();
    // The window's background was painted over everything.
    void clearPicture();

    // y of the bar's top and of the tip dot's centre (as 64-bit values: any length is allowed).
    int64_t topY() const { return int64_t(BaseY) - Length; }
    int64_t tipY() const { return topY() - TipGap; }
    Ink barInk() const { return m_bar; }
    Ink tipInk() const { return m_tip; }

    // Paints the current picture of the bar and the dot; black parts too, so a bar erased by
    // blinking covers whatever was below.
    void paint(QPainter& painter) const;

    int32_t X = 0;
    int32_t BaseY = 0;
    int32_t Length = 0;
    int32_t Color = 0;
    bool Blink = false;

private:
    Ink m_bar = Ink::None;
    Ink m_tip = Ink::None;
};
