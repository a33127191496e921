#pragma once

#include "drills/DrillCompanions.h"

// The keyboard window `VKeyboard` and the hand windows `PalmForm` and `RightPalmForm` as the
// drills see them. The main window creates those windows when a profile is set, so they are
// looked up at each use; a window that does not exist (yet) is left out.
const DrillCompanions& globalDrillCompanions();

// What a drill works with: the companions installed with drillCompanions() when there are any
// (tests install recording fakes), otherwise the program's own windows.
const DrillCompanions& activeDrillCompanions();
