#include "tests/fractal/FractalFixture.h"

#include <algorithm>

namespace {

class FrameHandler : public FractalTest {
protected:
    void SetUp() override
    {
        FractalTest::SetUp();
        AddPictures(3);
        ResetScene();
        document.Generate(GEN_ALL, {4, 7, 1});
        fake.sounds.clear();
    }

    // Growth that waits for Tab, so that no generation pushes the key delay.
    void HoldGrowth() { document.autoLimit = 1; }

    size_t SoundsOf(HEFFECT effect) const
    {
        return std::count_if(fake.sounds.begin(), fake.sounds.end(),
                             [&](const FakeEngine::Sound& s) { return s.effect == effect; });
    }

    size_t CompositionSounds() const
    {
        size_t n = 0;
        for (HEFFECT e : effectCompositions)
            n += SoundsOf(e);
        return n;
    }
};

} // namespace

TEST_F(FrameHandler, AFrameAdvancesTheTimeBaseByItsDeltaInFrameUnits)
{
    HoldGrowth();
    fake.delta = 0.1f;
    EXPECT_FALSE(UpdateFrame());
    EXPECT_NEAR(frameTime, 5.0, 1e-6);
    fake.delta = 0.02f;
    EXPECT_FALSE(UpdateFrame());
    EXPECT_NEAR(frameTime, 6.0, 1e-6);
}

TEST_F(FrameHandler, NoCommandOnTheFirstFrame)
{
    HoldGrowth();
    document.autoMode = 0;
    fake.keys = {KEY_A};
    UpdateFrame();
    EXPECT_EQ(document.autoMode, 0) << "0 < 0 is false";
    UpdateFrame();
    EXPECT_EQ(document.autoMode, 1);
    EXPECT_NEAR(nextKeyTime, 1.0 + keyDelay, 1e-6);
}

TEST_F(FrameHandler, AtMostOneCommandPerFrameInTheFixedOrder)
{
    enum Acted { X, N, A, SPACE, B };
    struct Case {
        std::set<int> keys;
        Acted acted;
    };
    const Case cases[] = {
        {{KEY_N, KEY_A}, N}, {{KEY_A, KEY_SPACE}, A}, {{KEY_SPACE, KEY_B}, SPACE},
        {{KEY_N, KEY_B}, N}, {{KEY_X, KEY_N}, X},     {{KEY_A, KEY_B}, A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.acted);
        HoldGrowth();
        frameTime = 10;
        nextKeyTime = 0;
        document.autoMode = 0;
        document.paletteShift = 0;
        fake.sounds.clear();
        fake.keys = c.keys;
        bool ended = UpdateFrame();
        EXPECT_EQ(ended, c.acted == X);
        EXPECT_EQ(CompositionSounds(), c.acted == N ? 1u : 0u);
        EXPECT_EQ(SoundsOf(effectColors), c.acted == B ? 1u : 0u);
        EXPECT_EQ(document.paletteShift, c.acted == SPACE ? 1 : 0);
        EXPECT_EQ(document.autoMode, (c.acted == A || c.acted == N) ? 1 : 0);
        if (c.acted == X)
            EXPECT_EQ(frameTime, 10) << "X stops before the time base advances";
        else if (c.acted == N)
            EXPECT_GE(nextKeyTime, keyDelay);
        else
            EXPECT_EQ(nextKeyTime, 10 + keyDelay);
    }
}

TEST_F(FrameHandler, HeldKeyActsAgainOnlyAfterTheKeyDelay)
{
    HoldGrowth();
    frameTime = 1;
    fake.keys = {KEY_SPACE};
    std::vector<int> actedFrames;
    for (int frame = 0; frame < 40; ++frame) {
        int32_t before = document.paletteShift;
        UpdateFrame();
        if (document.paletteShift != before)
            actedFrames.push_back(frame);
    }
    // 17.5 frame units: the 18th frame after a command acts again.
    EXPECT_EQ(actedFrames, (std::vector<int>{0, 18, 36}));
}

TEST_F(FrameHandler, XWithinTheKeyDelayDoesNothingAndEndsTheLoopOnceItHasPassed)
{
    HoldGrowth();
    frameTime = 5;
    nextKeyTime = 5 + keyDelay;
    fake.keys = {KEY_X};
    int frames = 0;
    while (!UpdateFrame())
        ++frames;
    EXPECT_EQ(frames, 18);
    EXPECT_GT(frameTime, nextKeyTime);
}

TEST_F(FrameHandler, SpaceRedrawsAndStepsThePaletteShiftBothWays)
{
    struct Case {
        int32_t shift;
        bool ctrl;
        int32_t expected;
    };
    const Case cases[] = {{0, false, 1}, {255, false, 0}, {0, true, 255}, {10, true, 9}};
    for (const Case& c : cases) {
        HoldGrowth();
        frameTime = 10;
        nextKeyTime = 0;
        renderCursor = 7;
        document.paletteShift = c.shift;
        fake.keys = {KEY_SPACE};
        if (c.ctrl)
            fake.keys.insert(KEY_CTRL);
        PALETTE_ENTRY first = document.palette[0];
        UpdateFrame();
        EXPECT_EQ(document.paletteShift, c.expected);
        EXPECT_EQ(renderCursor, 0);
        EXPECT_EQ(document.palette[0].r, first.r) << "colours are left alone";
    }
}

TEST_F(FrameHandler, HeldNComesBackAKeyDelayAfterTheLastAutomaticGeneration)
{
    fake.keys = {KEY_N};
    std::vector<double> nTimes;
    double lastBegin = -1;
    double lastBeginBeforeN = -1;
    for (int frame = 0; frame < 120 && nTimes.size() < 3; ++frame) {
        double now = frameTime;
        size_t compositions = CompositionSounds();
        int32_t begun = document.generationsBegun;
        UpdateFrame();
        if (CompositionSounds() != compositions) {
            nTimes.push_back(now);
            lastBeginBeforeN = lastBegin;
            lastBegin = -1;
            // The composition's first generation begins in the same frame, at time 0.
            EXPECT_EQ(document.generationsBegun, 1);
            lastBegin = 0;
        } else if (document.generationsBegun != begun) {
            lastBegin = now;
        }
        if (nTimes.size() >= 2 && lastBeginBeforeN >= 0) {
            double since = nTimes.back() - lastBeginBeforeN;
            EXPECT_GT(since, keyDelay);
            EXPECT_LE(since, keyDelay + 1.0);
            lastBeginBeforeN = -1;
        }
    }
    EXPECT_GE(nTimes.size(), 2u);
}

TEST_F(FrameHandler, NewColoursWhileAGenerationIsUnderWayLetItRunOutThenRestart)
{
    // Begin a generation and grow only part of it.
    UpdateFrame();
    for (int i = 0; i < 6; ++i)
        UpdateFrame();
    HoldGrowth();
    fake.clockStep = 30000;
    frameTime = 100;
    nextKeyTime = 0;
    document.autoLimit = 1000000;
    UpdateFrame();
    ASSERT_LT(document.generationsDone, document.generationsBegun);
    int32_t begun = document.generationsBegun;
    int32_t count = document.transformCount;
    renderCursor = 3;
    PALETTE_ENTRY oldColour = document.palette[0];
    fake.clockStep = 0;

    nextKeyTime = 0;
    fake.keys = {KEY_B};
    UpdateFrame();
    EXPECT_EQ(document.autoMode, 0);
    EXPECT_EQ(SoundsOf(effectColors), 1u);
    EXPECT_EQ(fake.sounds.back().volume, 70);
    EXPECT_EQ(CompositionSounds(), 0u);
    EXPECT_TRUE(document.palette[0].r != oldColour.r || document.palette[0].g != oldColour.g ||
                document.palette[0].b != oldColour.b);
    // The step under way ran out against a full NEXT holding the first generation.
    EXPECT_EQ(document.generationsBegun, begun);
    EXPECT_EQ(document.generationsDone, begun);
    EXPECT_EQ(PartCapacity(NEXT), count);
    EXPECT_EQ(SelectBuffer(NEXT)->count, count);
    EXPECT_EQ(renderCursor, 3);
    EXPECT_NEAR(nextKeyTime, keyDelay, 1e-9);

    fake.keys.clear();
    UpdateFrame();
    EXPECT_EQ(document.generationsBegun, begun + 1);
    EXPECT_EQ(PartCapacity(NEXT), count * count);
    EXPECT_EQ(renderCursor, 0);
}
