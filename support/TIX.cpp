#include "support/TIX.h"

#include <chrono>

namespace {

int64_t SteadyTicks()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t (*readCounter)() = SteadyTicks;
int64_t counterFrequency = 1000000000;

} // namespace

void TIX::SetCounter(int64_t (*counter)(), int64_t ticksPerSecond)
{
    readCounter = counter ? counter : SteadyTicks;
    counterFrequency = counter ? ticksPerSecond : 1000000000;
}

TIX::TIX()
{
    frequency = counterFrequency;
    Reset();
}

void TIX::Reset()
{
    Run(true);
    total = 0.0;
    laps = 0.0;
}

void TIX::Run(bool start)
{
    if (start) {
        startCount = readCounter();
        stopCount = startCount;
        return;
    }
    stopCount = readCounter();
    total += Elapsed(0);
    laps += 1.0;
}

double TIX::Elapsed(int unit) const
{
    // A zero frequency would divide by zero; such a counter reads as no time at all.
    if (frequency == 0)
        return 0.0;
    double micros = static_cast<double>(stopCount - startCount) * 1000000.0 / static_cast<double>(frequency);
    if (unit == 0)
        return micros;
    if (unit == 1)
        return micros * 0.001;
    return (micros * 0.001) * 0.001;
}
