#pragma once

#include <QRect>
#include <functional>

class QWidget;

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
    // Runs `placeAgain` whenever the window's frame, and with it its outer size, changes: a window
    // manager frames a window only once it is shown (an empty function stops it).
    virtual void whenFrameChanges(std::function<void()> placeAgain) = 0;
    // Shows the window in front for the drill window `drill`, which shows it.
    virtual void Show(QWidget* drill) = 0;
    // Brings the window to the front if it is shown (the drill does so when it is activated, to
    // take it out from behind other windows), and makes it one of the drill's own windows: the
    // drill runs modally, and the window's close box must still hide it. One the user closed
    // stays closed.
    virtual void BringToFront() = 0;
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
