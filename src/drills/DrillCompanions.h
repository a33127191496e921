#pragma once

#include <QRect>

// The windows a drill works with besides its own: the on-screen keyboard that highlights the
// next key and the two hand windows that light the finger to use. The drills see them only
// through these small interfaces, so the typing engine runs the same with the real windows,
// with none at all (before the main window has made them) and with recording fakes in tests.

// The keyboard window.
class DrillKeyboard {
public:
    virtual ~DrillKeyboard() = default;
    // Highlights the key of Ch (#0: none) and returns its finger code 0..9, above 9 for none.
    virtual int HighlightChar(char Ch) = 0;
    virtual QRect frameGeometry() const = 0;
    virtual void moveTo(int left, int top) = 0;
    // Shows the window and brings it to the front (the drill shows it again when it is
    // activated, to take it out from behind other windows).
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// One hand window; positions 1..5 run from the little finger to the thumb.
class DrillHand {
public:
    virtual ~DrillHand() = default;
    virtual void LightFinger(int Pos) = 0;
    virtual void UnlightCurrent() = 0;
    virtual QRect frameGeometry() const = 0;
    virtual void moveTo(int left, int top) = 0;
    // Shows the window, in front, if its hand has fingers in the layout.
    virtual void ShowIfUsed() = 0;
    virtual void Hide() = 0;
};

// The keyboard window `VKeyboard`, the left hand `PalmForm` and the right hand `RightPalmForm`
// as the drills reach them; any of them may be missing. Not owned.
struct DrillCompanions {
    DrillKeyboard* keyboard = nullptr;
    DrillHand* leftHand = nullptr;
    DrillHand* rightHand = nullptr;
};

DrillCompanions& drillCompanions();
