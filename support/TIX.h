#pragma once

#include <cstdint>

// Stopwatch on a monotonic tick counter. Every stop measures from the same start, so
// a caller that stops and reads inside a loop sees the time since the loop began.
class TIX {
public:
    // Ticks per second of the counter.
    int64_t frequency;
    // Counter at the last start.
    int64_t startCount;
    // Counter at the last stop; a start sets it to startCount.
    int64_t stopCount;
    // Sum of the microseconds read by every stop since the last reset.
    double total;
    // Number of stops since the last reset.
    double laps;

    TIX();

    // Starts a new measurement and zeroes total and laps.
    void Reset();
    // true: start; false: stop, adding this reading to total and laps.
    void Run(bool start);
    // Time from start to stop: unit 0 microseconds, 1 milliseconds, any other seconds.
    double Elapsed(int unit) const;

    // Replaces the tick counter (tests script the clock); null restores the monotonic clock.
    static void SetCounter(int64_t (*counter)(), int64_t ticksPerSecond);
};
