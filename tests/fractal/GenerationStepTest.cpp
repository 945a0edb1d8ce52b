#include "tests/fractal/FractalFixture.h"

#include <cmath>

#include "support/TIX.h"

namespace {

constexpr double pi = 3.141592653589793;

PART Rule(float x, float y, float angle, float scale, int32_t picture = 0)
{
    return PART{picture, x, y, angle, scale, 0};
}

} // namespace

using GenerationStep = FractalTest;

TEST(GenerationGeometry, DirectionAngleQuadrants)
{
    struct Case {
        float dx, dy;
        double expected;
    };
    const Case cases[] = {
        {0, 0, 0.0}, {1, 0, 0.0},           {0, 1, pi / 2},      {1, 1, pi / 4},      {-1, 1, 3 * pi / 4},
        {-1, 0, pi}, {-1, -1, -3 * pi / 4}, {0, -1, 3 * pi / 2}, {1, -1, 7 * pi / 4},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(DirectionAngle(c.dx, c.dy), c.expected, 1e-6) << c.dx << ", " << c.dy;
}

TEST(GenerationGeometry, RotateAboutKeepsTheDistanceToThePivot)
{
    struct Case {
        float x, y, pivotX, pivotY, angle;
        float expectedX, expectedY;
    };
    const Case cases[] = {
        {11, 5, 10, 5, static_cast<float>(pi / 2), 10, 6},
        {11, 5, 10, 5, static_cast<float>(pi), 9, 5},
        {-3, 4, 0, 0, 0, -3, 4},
        {7, 7, 7, 7, 1.0f, 7, 7},
        {100, 0, 0, 0, static_cast<float>(-pi / 2), 0, -100},
    };
    for (const Case& c : cases) {
        float x = c.x, y = c.y;
        RotateAbout(x, y, c.pivotX, c.pivotY, c.angle);
        EXPECT_NEAR(x, c.expectedX, 1e-4) << c.x << ", " << c.y;
        EXPECT_NEAR(y, c.expectedY, 1e-4) << c.x << ", " << c.y;
    }
}

TEST_F(GenerationStep, CorrectPartScaleAimsTheSmallestOrLargestPartAtTheTarget)
{
    struct Case {
        float minScale, maxScale;
        double expected;
    };
    const Case cases[] = {
        {0.5f, 0.85f, 0.08}, {0.001f, 0.02f, 2.0}, {0.005f, 0.5f, 1.0}, {0.04f, 0.08f, 1.0}, {0.001f, 0.04f, 1.0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(AllocateBuffer(NEXT, 2));
        AppendPart(NEXT, 0, 0, 0, 0, c.minScale, 0);
        AppendPart(NEXT, 0, 0, 0, 0, c.maxScale, 0);
        document.partScale = 7;
        CorrectPartScale();
        EXPECT_NEAR(document.partScale, c.expected, 1e-6) << c.minScale << ".." << c.maxScale;
    }
}

TEST_F(GenerationStep, ChildrenFollowTheTransformArithmeticAndColourWraps)
{
    PlaceComposition(
        {Rule(10, 0, 0, 0.5f, 3), Rule(0, 20, static_cast<float>(pi / 2), 0.6f, 4), Rule(-8, 4, 0.25f, 0.55f, 5)});
    // One parent of colour 254 stands in for the first generation.
    ASSERT_TRUE(AllocateBuffer(NEXT, 1));
    AppendPart(NEXT, 100, 50, 9, 0.5f, 2.0f, 254);
    BeginGeneration();
    ASSERT_EQ(PartCapacity(NEXT), 3);
    GrowStep();
    const PART_BUFFER* next = SelectBuffer(NEXT);
    ASSERT_EQ(next->count, 3);
    EXPECT_EQ(next->items[0].color, 254);
    EXPECT_EQ(next->items[1].color, 0);
    EXPECT_EQ(next->items[2].color, 2);

    // Transform 1: scale 1.2, offset (0, 24) turned by the child's angle 0.5 + pi/2
    // about the parent, as seen from the pivot: the offset's own direction plus the angle.
    const PART& c = next->items[1];
    EXPECT_EQ(c.picture, 4);
    EXPECT_FLOAT_EQ(c.scale, 1.2f);
    EXPECT_FLOAT_EQ(c.angle, 0.5f + static_cast<float>(pi / 2));
    double phi = pi / 2 + 0.5 + pi / 2;
    EXPECT_NEAR(c.x, 100 + 24 * std::cos(phi), 1e-3);
    EXPECT_NEAR(c.y, 50 + 24 * std::sin(phi), 1e-3);
    // Every child lies at its scaled offset's distance from the parent.
    for (int i = 0; i < 3; ++i) {
        const PART& t = document.transforms[i];
        double d = std::hypot(next->items[i].x - 100.0, next->items[i].y - 50.0);
        EXPECT_NEAR(d, std::hypot(t.x, t.y) * t.scale * 2.0, 1e-3);
    }
}

TEST_F(GenerationStep, FiveTransformsGrowBySelfUpTo78125ThenWaitForTab)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f), Rule(-10, 0, 0, 0.5f), Rule(0, -10, 0, 0.5f),
                      Rule(5, 5, 0, 0.5f)});
    std::vector<int32_t> sizes;
    for (int frame = 0; frame < 12; ++frame) {
        frameTime = frame * 20.0;
        BeginGeneration();
        GrowStep();
        if (sizes.empty() || sizes.back() != PartCapacity(NEXT))
            sizes.push_back(PartCapacity(NEXT));
    }
    EXPECT_EQ(sizes, (std::vector<int32_t>{25, 125, 625, 3125, 15625, 78125}));
    EXPECT_EQ(document.generationsDone, 6);
    EXPECT_EQ(document.autoMode, 1);
    EXPECT_TRUE(fake.sounds.empty());

    // Tab with the key delay passed begins 390625: auto mode off and the Tab sound.
    fake.keys.insert(KEY_TAB);
    frameTime = 1000;
    nextKeyTime = 999;
    BeginGeneration();
    EXPECT_EQ(PartCapacity(NEXT), 390625);
    EXPECT_EQ(document.autoMode, 0);
    ASSERT_EQ(fake.sounds.size(), 1u);
    EXPECT_EQ(fake.sounds[0].effect, effectIteration);
    EXPECT_EQ(fake.sounds[0].volume, 50);
    EXPECT_EQ(nextKeyTime, 1000 + keyDelay);
}

TEST_F(GenerationStep, TabWaitsForTheKeyDelay)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f)});
    document.autoLimit = 2;
    fake.keys.insert(KEY_TAB);
    frameTime = 10;
    nextKeyTime = 10;
    BeginGeneration();
    EXPECT_EQ(document.generationsBegun, 0) << "nextKeyTime must be strictly below frameTime";
    EXPECT_EQ(nextKeyTime, 10);
    frameTime = 10.5;
    BeginGeneration();
    EXPECT_EQ(document.generationsBegun, 1);
    EXPECT_EQ(bufferSelector, 1);
    EXPECT_EQ(nextKeyTime, 10.5 + keyDelay);
}

TEST_F(GenerationStep, TwoTransformsLimitAtTwoToTheTwentyFour)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f)});
    // Grow by itself: 4 .. 16384, then 32768, then stop.
    for (int frame = 0; frame < 20; ++frame) {
        frameTime = frame * 20.0;
        BeginGeneration();
        GrowStep();
    }
    EXPECT_EQ(PartCapacity(NEXT), 32768);
    EXPECT_EQ(document.generationsDone, 14);

    // The size limit is checked on NEXT's capacity: stand in a full-size generation.
    PART_BUFFER* next = SelectBuffer(NEXT);
    next->capacity = maxItems;
    fake.keys.insert(KEY_TAB);
    frameTime = 2000;
    nextKeyTime = 0;
    BeginGeneration();
    EXPECT_EQ(document.generationsBegun, 14);
    EXPECT_EQ(bufferSelector, 14 % 2);
    EXPECT_EQ(nextKeyTime, 2000 + keyDelay) << "refused at the limit, the key delay is refreshed";
    EXPECT_TRUE(fake.sounds.empty());
    next->capacity = 32768;

    // 2^23 parents make exactly 2^24 children: still allowed.
    next->capacity = maxItems / 2;
    nextKeyTime = 0;
    BeginGeneration();
    EXPECT_EQ(document.generationsBegun, 15);
    EXPECT_EQ(PartCapacity(NEXT), maxItems);
    EXPECT_EQ(PartCapacity(CURRENT), maxItems / 2);
    // Give the stand-in back its real size before it is freed.
    SelectBuffer(CURRENT)->capacity = 32768;
}

TEST_F(GenerationStep, HoldingTabWhileSmallGenerationsBeginTurnsAutoOffWithASoundEach)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f)});
    fake.keys.insert(KEY_TAB);
    for (int frame = 0; frame < 3; ++frame) {
        frameTime = frame;
        BeginGeneration();
        GrowStep();
    }
    EXPECT_EQ(document.generationsDone, 3);
    EXPECT_EQ(document.autoMode, 0);
    EXPECT_EQ(fake.sounds.size(), 3u);
}

TEST_F(GenerationStep, FailedAllocationRefusesTheGenerationAndKeepsThePicture)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f), Rule(5, 5, 0.3f, 0.6f)});
    for (int frame = 0; frame < 2; ++frame) {
        BeginGeneration();
        GrowStep();
    }
    ASSERT_EQ(PartCapacity(NEXT), 27);
    PART_BUFFER* next = SelectBuffer(NEXT);
    PART* shown = next->items;
    PART firstPart = shown[0];
    int32_t selector = bufferSelector;
    renderCursor = 20;
    frameTime = 300;

    partAllocationLimit = 80;
    BeginGeneration();
    GrowStep();
    EXPECT_EQ(document.generationsBegun, 2);
    EXPECT_EQ(document.generationsDone, 2);
    EXPECT_EQ(bufferSelector, selector);
    EXPECT_EQ(SelectBuffer(NEXT), next);
    EXPECT_EQ(next->items, shown);
    EXPECT_EQ(next->count, 27);
    EXPECT_EQ(next->items[0].x, firstPart.x);
    EXPECT_EQ(PartCapacity(CURRENT), 9);
    EXPECT_EQ(renderCursor, 20);
    EXPECT_EQ(nextKeyTime, 300 + keyDelay);

    // Once memory can be had again the generation begins.
    partAllocationLimit = -1;
    BeginGeneration();
    EXPECT_EQ(document.generationsBegun, 3);
    EXPECT_EQ(PartCapacity(NEXT), 81);
    EXPECT_EQ(renderCursor, 0);
}

TEST_F(GenerationStep, GrowthStopsWhenTheFrameBudgetIsSpentAndResumesNextFrame)
{
    PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.5f)});
    for (int frame = 0; frame < 5; ++frame) {
        BeginGeneration();
        GrowStep();
    }
    ASSERT_EQ(PartCapacity(NEXT), 64);
    BeginGeneration();
    ASSERT_EQ(PartCapacity(NEXT), 128);

    // Every clock read advances 5 ms: reads after parents 1..5 give 5..25 ms, so the
    // fifth parent ends the frame (above 20 ms).
    fake.clockStep = 5000;
    TIX timer;
    timer.Reset();
    timer.Run(true);
    stepTimer = &timer;
    GrowStep();
    EXPECT_EQ(stepCursor, 5);
    EXPECT_EQ(SelectBuffer(NEXT)->count, 10);
    EXPECT_EQ(document.generationsDone, 5);

    timer.Reset();
    timer.Run(true);
    GrowStep();
    EXPECT_EQ(stepCursor, 10);
    stepTimer = nullptr;
    GrowStep();
    EXPECT_EQ(SelectBuffer(NEXT)->count, 128);
    EXPECT_EQ(document.generationsDone, 6);
}

TEST_F(GenerationStep, CompletionCorrectsPartScaleOnlyInAutoMode)
{
    for (int autoMode : {1, 0}) {
        PlaceComposition({Rule(10, 0, 0, 0.5f), Rule(0, 10, 0, 0.6f)});
        document.autoMode = autoMode;
        document.partScale = 3.0;
        BeginGeneration();
        GrowStep();
        // Children of parents at 1.0 and 1.2 have scales 0.5 .. 0.72.
        EXPECT_EQ(document.partScale, autoMode ? partScaleTarget / 0.5 : 3.0);
    }
}
