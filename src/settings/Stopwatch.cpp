#include "settings/Stopwatch.h"

#include <QTime>

int32_t stopwatch::localTimeOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay();
}

stopwatch::stopwatch(Clock clock) : m_clock(std::move(clock)) {}

void stopwatch::Start() {
    Stopped = false;
    StartTime = now();
}

void stopwatch::Stop() {
    if (Stopped) return;
    const int32_t t = now();
    Elapsed = t - StartTime;
    StartTime = t;
    Stopped = true;
}

int32_t stopwatch::GetElapsed() {
    if (!Stopped) {
        const int32_t t = now();
        Elapsed += t - StartTime;
        StartTime = t;
    }
    if (Elapsed < 25) Elapsed = 25;
    return Elapsed;
}
