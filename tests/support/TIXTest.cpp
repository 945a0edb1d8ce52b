#include <gtest/gtest.h>

#include "support/TIX.h"
#include "tests/fake/FakeEngine.h"

// The fake engine drives every stopwatch's counter in microseconds.
class TIXTest : public ::testing::Test {
protected:
    FakeEngine fake;
};

TEST_F(TIXTest, ElapsedIsZeroAfterEachStart)
{
    fake.clockMicros = 1000;
    TIX watch;
    for (int unit : {0, 1, 2})
        EXPECT_EQ(watch.Elapsed(unit), 0.0);
    fake.clockMicros = 5000;
    watch.Run(false);
    watch.Reset();
    EXPECT_EQ(watch.Elapsed(1), 0.0);
    EXPECT_EQ(watch.total, 0.0);
    EXPECT_EQ(watch.laps, 0.0);
    fake.clockMicros = 9000;
    watch.Run(false);
    watch.Run(true);
    EXPECT_EQ(watch.Elapsed(0), 0.0);
}

TEST_F(TIXTest, StopsMeasureFromTheSameStart)
{
    TIX watch;
    watch.Reset();
    watch.Run(true);
    fake.clockMicros += 5000;
    watch.Run(false);
    EXPECT_DOUBLE_EQ(watch.Elapsed(1), 5.0);
    fake.clockMicros += 3000;
    watch.Run(false);
    EXPECT_DOUBLE_EQ(watch.Elapsed(1), 8.0);
    EXPECT_DOUBLE_EQ(watch.total, 13000.0);
    EXPECT_DOUBLE_EQ(watch.laps, 2.0);
}

TEST_F(TIXTest, UnitsOtherThanZeroAndOneGiveSeconds)
{
    TIX watch;
    fake.clockMicros += 2500000;
    watch.Run(false);
    EXPECT_DOUBLE_EQ(watch.Elapsed(0), 2500000.0);
    EXPECT_DOUBLE_EQ(watch.Elapsed(1), 2500.0);
    for (int unit : {2, 7, -1})
        EXPECT_DOUBLE_EQ(watch.Elapsed(unit), 2.5) << "unit " << unit;
}

TEST_F(TIXTest, WideTickDifferencesAreNotTruncated)
{
    TIX watch;
    // 2^33 microseconds: far past what 32 bits hold.
    fake.clockMicros += int64_t{1} << 33;
    watch.Run(false);
    EXPECT_DOUBLE_EQ(watch.Elapsed(0), 8589934592.0);
}

TEST(TIXRealClock, MeasuresForwardOnTheMonotonicClock)
{
    TIX watch;
    EXPECT_EQ(watch.frequency, 1000000000);
    volatile double sink = 0;
    for (int i = 0; i < 100000; ++i)
        sink = sink + i;
    watch.Run(false);
    EXPECT_GT(watch.Elapsed(0), 0.0);
    EXPECT_EQ(watch.laps, 1.0);
}

TEST(TIXZeroFrequency, NeitherTrapsNorDividesByZero)
{
    TIX watch;
    watch.frequency = 0;
    watch.stopCount = watch.startCount + 100;
    EXPECT_EQ(watch.Elapsed(1), 0.0);
}
