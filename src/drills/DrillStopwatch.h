#pragma once

#include "settings/Stopwatch.h"

// The one stopwatch every drill window shares; it lives for the whole run. Only one drill window
// exists at a time (they are modal), so it has one user at a time. Tests may assign a stopwatch
// with a clock of their own.
extern stopwatch DrillStopwatch;
