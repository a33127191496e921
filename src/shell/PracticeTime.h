#pragma once

#include <QString>
#include <cstdint>

// Practice time is counted in milliseconds and shown in whole hours (not bounded to a day),
// minutes and seconds; the milliseconds left over are dropped.
struct PracticeDuration {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
};

PracticeDuration splitPracticeTime(int32_t milliseconds);

// total + run without wrapping: a sum beyond the 32-bit count stays at its largest value
// (about 596 hours) instead of turning negative.
int32_t addPracticeTime(int32_t total, int32_t run);

// The translated summary shown when the main window closes: the user name, the practice time
// of this run and the new total.
QString practiceTimeSummary(const QString& userName, int32_t runMilliseconds, int32_t totalMilliseconds);
