#pragma once

#include <cstdint>
#include <functional>

// A millisecond stopwatch over the local time of day. A reading never reports less than 25 ms,
// and that floor is stored back. No correction is made at midnight: an interval across it
// comes out negative and the floor turns it into 25.
class stopwatch {
public:
    // Milliseconds since local midnight, 0..86,399,999.
    using Clock = std::function<int32_t()>;
    static int32_t localTimeOfDay();

    explicit stopwatch(Clock clock = &stopwatch::localTimeOfDay);

    void SetElapsed(int32_t value) { Elapsed = value; }
    void Start();
    void Stop();
    int32_t GetElapsed();
    bool IsStopped() const { return Stopped; }

private:
    int32_t now() const { return m_clock(); }

    int32_t Elapsed = 0;
    int32_t StartTime = 0;
    bool Stopped = true;
    Clock m_clock;
};
