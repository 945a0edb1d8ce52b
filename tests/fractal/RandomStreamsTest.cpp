#include <gtest/gtest.h>

#include <vector>

#include "fractal/RandomStreams.h"

TEST(RandomStreams, SixDrawsFromSeedOneFollowTheKnownSequence)
{
    struct Step {
        int32_t stateBefore;
        int32_t result;
    };
    const Step steps[] = {{1, 1}, {2880, 80}, {8291521, 21}, {898514797, 97}, {253788351, 51}, {512222210, 10}};
    int32_t state = 0;
    EXPECT_EQ(RandomDraw(state, -1), -1);
    for (const Step& step : steps) {
        EXPECT_EQ(state, step.stateBefore);
        EXPECT_EQ(RandomDraw(state, 99), step.result);
    }
    EXPECT_EQ(state, 513960042);
}

TEST(RandomStreams, AdvanceKeepsTheLow32BitsOfAnOverflowingProduct)
{
    // 8291521 * 2879 overflows to -1898514817; its magnitude modulo 1000000021, plus 1.
    int32_t state = 8291521;
    RandomDraw(state, 5);
    EXPECT_EQ(state, 898514797);
}

TEST(RandomStreams, PeekReturnsTheStateAndLeavesIt)
{
    int32_t state = 0;
    RandomDraw(state, -777);
    EXPECT_EQ(RandomDraw(state, 0), 777);
    EXPECT_EQ(RandomDraw(state, 0), 777);
    EXPECT_EQ(RandomDraw(state, 1000), 777);
    EXPECT_NE(RandomDraw(state, 0), 777);
}

TEST(RandomStreams, SeedReturnsItsArgumentAndTheFirstDrawIsTheSeedModuloBoundPlusOne)
{
    int32_t state = 3;
    EXPECT_EQ(RandomDraw(state, -12345), -12345);
    EXPECT_EQ(state, 12345);
    EXPECT_EQ(RandomDraw(state, 9), 5);
}

TEST(RandomStreams, DrawsStayWithinZeroToBoundAndStatesWithinTheirRange)
{
    for (int32_t bound : {1, 3, 14, 255, 900}) {
        int32_t state = 0;
        RandomDraw(state, -1000000);
        std::vector<bool> seen(bound + 1, false);
        for (int i = 0; i < 20000; ++i) {
            int32_t r = RandomDraw(state, bound);
            ASSERT_GE(r, 0);
            ASSERT_LE(r, bound);
            seen[r] = true;
            ASSERT_GE(state, 1);
            ASSERT_LE(state, 1000000021);
        }
        EXPECT_TRUE(seen.front());
        EXPECT_TRUE(seen.back()) << "bound " << bound << " is a possible outcome";
    }
}

TEST(RandomStreams, RuntimeRandomWithBoundZeroConsumesNothing)
{
    SeedRuntimeRandom(99);
    int32_t a = RuntimeRandom(1000000);
    int32_t b = RuntimeRandom(1000000);
    SeedRuntimeRandom(99);
    EXPECT_EQ(RuntimeRandom(1000000), a);
    EXPECT_EQ(RuntimeRandom(0), 0);
    EXPECT_EQ(RuntimeRandom(1000000), b);
}

TEST(RandomStreams, RuntimeRandomIsTheStandardMinimalStandardGenerator)
{
    // minstd_rand seeded with 1 yields 48271 first: the same on every machine.
    SeedRuntimeRandom(1);
    EXPECT_EQ(RuntimeRandom(1000000), 48271);
    for (int i = 0; i < 1000; ++i) {
        int32_t r = RuntimeRandom(6);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 6);
    }
}

TEST(RandomStreams, ReseedDrawsThreeSeedsInOrderAndSetsTheStreams)
{
    SeedRuntimeRandom(5);
    int32_t t = RuntimeRandom(1000000) + 1;
    int32_t m = RuntimeRandom(1000000) + 1;
    int32_t p = RuntimeRandom(1000000) + 1;
    SeedRuntimeRandom(5);
    ReseedStreams();
    EXPECT_EQ(transformStream, t);
    EXPECT_EQ(mutationStream, m);
    EXPECT_EQ(paletteStream, p);
    EXPECT_EQ(lastStreamSeeds.transform, t);
    EXPECT_EQ(lastStreamSeeds.mutation, m);
    EXPECT_EQ(lastStreamSeeds.palette, p);

    ReseedStreams({4, 1, 7});
    EXPECT_EQ(transformStream, 4);
    EXPECT_EQ(mutationStream, 1);
    EXPECT_EQ(paletteStream, 7);
}
