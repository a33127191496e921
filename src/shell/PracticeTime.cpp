#include "shell/PracticeTime.h"

#include "platform/Translation.h"

#include <limits>

PracticeDuration splitPracticeTime(int32_t milliseconds) {
    PracticeDuration d;
    d.hours = milliseconds / 3600000;
    d.minutes = (milliseconds % 3600000) / 60000;
    d.seconds = (milliseconds % 60000) / 1000;
    return d;
}

int32_t addPracticeTime(int32_t total, int32_t run) {
    const int64_t sum = int64_t(total) + int64_t(run);
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(sum);
}

QString practiceTimeSummary(const QString& userName, int32_t runMilliseconds, int32_t totalMilliseconds) {
    const PracticeDuration run = splitPracticeTime(runMilliseconds);
    const PracticeDuration total = splitPracticeTime(totalMilliseconds);
    return formatText(
        i18n("%s: The practice time is %d h %d m %d s, total practice time is %d h %d m %d s."),
        {userName, run.hours, run.minutes, run.seconds, total.hours, total.minutes, total.seconds});
}
