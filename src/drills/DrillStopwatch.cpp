#include "drills/DrillStopwatch.h"

stopwatch DrillStopwatch;
