#include "tests/fractal/FractalFixture.h"

#include <cmath>
#include <functional>

namespace {

// A mutation seed that draws no mutation at all (6 + 1 outcomes: seed 7 draws 0).
constexpr int32_t noMutation = 7;
// A transform seed that draws two transforms (3 + 1 outcomes: 4 draws 0).
constexpr int32_t twoTransforms = 4;

} // namespace

using SpriteGenerate = FractalTest;

TEST_F(SpriteGenerate, TransformCountStaysWithinTwoToFiveAndUnusedEntriesHaveNoPicture)
{
    AddPictures(3);
    std::set<int32_t> counts;
    for (int32_t seed = 1; seed <= 40; ++seed) {
        document.Generate(GEN_ALL, {seed, seed, seed});
        int32_t t = document.transformCount;
        counts.insert(t);
        ASSERT_GE(t, 2);
        ASSERT_LE(t, 5);
        for (int i = 0; i < 5; ++i) {
            if (i >= t) {
                EXPECT_EQ(document.transforms[i].picture, -1);
            } else {
                EXPECT_GE(document.transforms[i].picture, 0);
                EXPECT_LE(document.transforms[i].picture, 2);
            }
        }
    }
    EXPECT_EQ(counts, (std::set<int32_t>{2, 3, 4, 5}));
}

TEST_F(SpriteGenerate, FirstGenerationHasOnePartPerTransformAtTwiceItsScale)
{
    AddPictures(5);
    document.Generate(GEN_ALL, {3, 9, 5});
    const PART_BUFFER* next = SelectBuffer(NEXT);
    ASSERT_EQ(next->count, document.transformCount);
    ASSERT_EQ(next->capacity, document.transformCount);
    for (int i = 0; i < document.transformCount; ++i) {
        const PART& t = document.transforms[i];
        const PART& p = next->items[i];
        EXPECT_EQ(p.picture, t.picture);
        EXPECT_EQ(p.x, t.x);
        EXPECT_EQ(p.y, t.y);
        EXPECT_EQ(p.angle, t.angle);
        EXPECT_EQ(p.scale, t.scale * 2.0f);
        EXPECT_EQ(p.color, 0);
    }
}

TEST_F(SpriteGenerate, TransformValuesFollowTheStreamDrawsAndFewPicturesSkipThePictureDraw)
{
    // The draws for transform 0, replayed on a copy of the stream: with 0 or 1 picture
    // there is no picture draw, which shifts every later draw.
    for (int pictures : {0, 1, 4}) {
        SCOPED_TRACE(pictures);
        delete registry;
        registry = new KIVO();
        AddPictures(pictures);
        document.Generate(GEN_ALL, {123457, noMutation, 1});
        int32_t s = 123457;
        int32_t count = RandomDraw(s, 3) + 2;
        int32_t picture = pictures <= 1 ? 0 : RandomDraw(s, pictures - 1);
        float x = static_cast<float>(RandomDraw(s, 900) - 450);
        float y = static_cast<float>(RandomDraw(s, 900) - 450);
        int32_t division = RandomDraw(s, 3) != 0 ? RandomDraw(s, 14) + 2 : (RandomDraw(s, 1) == 0 ? 32 : 64);
        int32_t k = RandomDraw(s, division - 1);
        float scale = static_cast<float>(RandomDraw(s, 15) * 0.01 + 0.5);
        const PART& t = document.transforms[0];
        EXPECT_EQ(document.transformCount, count);
        EXPECT_EQ(t.picture, picture);
        EXPECT_EQ(t.x, x);
        EXPECT_EQ(t.y, y);
        EXPECT_FLOAT_EQ(t.angle, static_cast<float>(k * 6.283185307179586 / division));
        EXPECT_EQ(t.scale, scale);
        EXPECT_GE(t.scale, 0.5f);
        EXPECT_LE(t.scale, 0.65f);
    }
}

TEST_F(SpriteGenerate, EachMutationKindCopiesOrMirrorsOneFieldFromSourceToTarget)
{
    AddPictures(9);
    document.Generate(GEN_ALL, {twoTransforms, noMutation, 1});
    ASSERT_EQ(document.transformCount, 2);
    const PART base0 = document.transforms[0];
    const PART base1 = document.transforms[1];

    struct Case {
        int32_t kind;
        std::function<void(PART&)> expect;
    };
    const Case cases[] = {
        {0, [&](PART& t) { t.picture = base1.picture; }},
        {1, [&](PART& t) { t.x = base1.x; }},
        {2, [&](PART& t) { t.y = base1.y; }},
        {3, [&](PART& t) { t.angle = base1.angle; }},
        {4, [&](PART& t) { t.scale = base1.scale; }},
        {5, [&](PART& t) { t.x = -base1.x; }},
        {6, [&](PART& t) { t.y = -base1.y; }},
        {7, [&](PART& t) { t.angle = -base1.angle; }},
        {8, [&](PART& t) { t.x = 2.0f * base1.x; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        // One mutation, target 0, source 1, of the wanted kind.
        int32_t seed = FindSeed({{6, 1}, {1, 0}, {1, 1}, {8, c.kind}});
        ASSERT_NE(seed, 0);
        document.Generate(GEN_ALL, {twoTransforms, seed, 1});
        PART expected = base0;
        c.expect(expected);
        const PART& t = document.transforms[0];
        EXPECT_EQ(t.picture, expected.picture);
        EXPECT_EQ(t.x, expected.x);
        EXPECT_EQ(t.y, expected.y);
        EXPECT_EQ(t.angle, expected.angle);
        EXPECT_EQ(t.scale, expected.scale);
        // The source is never changed.
        EXPECT_EQ(document.transforms[1].x, base1.x);
        EXPECT_EQ(document.transforms[1].angle, base1.angle);
    }
}

TEST_F(SpriteGenerate, MutationWithTargetEqualToSourceDrawsNoKindAndChangesNothing)
{
    AddPictures(9);
    document.Generate(GEN_ALL, {twoTransforms, noMutation, 1});
    const PART base0 = document.transforms[0];
    const PART base1 = document.transforms[1];
    int32_t seed = FindSeed({{6, 1}, {1, 1}, {1, 1}});
    ASSERT_NE(seed, 0);
    int32_t state = seed;
    RandomDraw(state, 6);
    RandomDraw(state, 1);
    RandomDraw(state, 1);

    document.Generate(GEN_ALL, {twoTransforms, seed, 1});
    EXPECT_EQ(mutationStream, state) << "exactly three mutation draws";
    EXPECT_EQ(document.transforms[0].x, base0.x);
    EXPECT_EQ(document.transforms[1].x, base1.x);
    EXPECT_EQ(document.transforms[0].picture, base0.picture);
}

TEST_F(SpriteGenerate, PaletteWalkReflectsAtFortyAndKeepsExactBounds)
{
    struct Case {
        int32_t start, step;
        std::vector<int32_t> reds;
    };
    const Case cases[] = {
        // 15 reflects at 40 to 65 and turns the step; 35 reflects again to 45.
        {10, 5, {65, 60, 55, 50, 45, 40, 45, 50}},
        // Exactly 255 is kept, the step stays; 260 reflects to 250.
        {245, 5, {250, 255, 250, 245}},
        {50, -5, {45, 40, 45}},
        {0, 0, {80, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        PALETTE_ENTRY palette[256];
        int32_t value[3] = {c.start, 100, 200};
        int32_t step[3] = {c.step, 0, 0};
        SPRITE::WalkPalette(palette, value, step);
        for (size_t i = 0; i < c.reds.size(); ++i)
            EXPECT_EQ(palette[i].r, c.reds[i]) << "entry " << i;
        EXPECT_EQ(palette[0].g, 100);
        EXPECT_EQ(palette[0].b, 200);
    }
}

TEST_F(SpriteGenerate, PaletteRedrawsStepTriplesBelowTwentyFourInAllChannels)
{
    // A palette seed whose first step triple is too slow, replayed on a copy.
    for (int32_t seed = 1; seed < 100000; ++seed) {
        int32_t s = seed;
        int32_t start[3];
        for (int32_t& v : start)
            v = RandomDraw(s, 255);
        int32_t step[3];
        int rounds = 0;
        do {
            for (int32_t& d : step)
                d = RandomDraw(s, 48) - 24;
            ++rounds;
        } while (std::abs(step[0]) + std::abs(step[1]) + std::abs(step[2]) < 24);
        if (rounds < 2)
            continue;
        document.Generate(GEN_ALL, {1, 1, seed});
        PALETTE_ENTRY expected[256];
        SPRITE::WalkPalette(expected, start, step);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(document.palette[i].r, expected[i].r) << i;
            ASSERT_EQ(document.palette[i].g, expected[i].g) << i;
            ASSERT_EQ(document.palette[i].b, expected[i].b) << i;
        }
        EXPECT_EQ(paletteStream, s);
        return;
    }
    FAIL() << "no seed with a redrawn step triple";
}

TEST_F(SpriteGenerate, EveryPaletteChannelLiesWithinFortyTo255)
{
    for (int32_t seed = 1; seed <= 200; ++seed) {
        document.Generate(GEN_PALETTE, {1, 1, seed * 4999});
        for (const PALETTE_ENTRY& e : document.palette) {
            for (int32_t v : {e.r, e.g, e.b}) {
                ASSERT_GE(v, 40);
                ASSERT_LE(v, 255);
            }
        }
    }
}

TEST_F(SpriteGenerate, PaletteAloneReseedsAllStreamsReplacesNextAndKeepsTheRest)
{
    AddPictures(4);
    document.Generate(GEN_ALL, {3, 9, 5});
    PART transforms[5];
    std::copy(std::begin(document.transforms), std::end(document.transforms), transforms);
    document.generationsDone = 3;
    document.generationsBegun = 4;
    document.zoom = 0.25;
    document.paletteShift = 17;
    bufferSelector = 1;
    renderCursor = 40;
    ASSERT_TRUE(AllocateBuffer(NEXT, 100));
    size_t soundsBefore = fake.sounds.size();

    document.Generate(GEN_PALETTE, {11, 22, 33});
    EXPECT_EQ(transformStream, 11);
    EXPECT_EQ(mutationStream, 22);
    EXPECT_NE(paletteStream, 33);
    EXPECT_EQ(document.paletteShift, 0);
    EXPECT_EQ(document.generationsDone, 3);
    EXPECT_EQ(document.generationsBegun, 4);
    EXPECT_EQ(document.zoom, 0.25);
    EXPECT_EQ(bufferSelector, 1);
    EXPECT_EQ(renderCursor, 40);
    EXPECT_EQ(PartCapacity(NEXT), document.transformCount);
    EXPECT_EQ(SelectBuffer(NEXT)->count, document.transformCount);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(document.transforms[i].x, transforms[i].x);
    EXPECT_EQ(fake.sounds.size(), soundsBefore) << "no composition sound without new transforms";
}

TEST_F(SpriteGenerate, ResetFlagResetsGrowthAndViewWithTheWindowScaleOfNow)
{
    fake.desktopWidth = 1366;
    fake.desktopHeight = 768;
    document.generationsDone = document.generationsBegun = 5;
    document.panX = 12;
    bufferSelector = 1;
    stepCursor = renderCursor = 9;
    document.Generate(GEN_ALL, {1, 2, 3});
    EXPECT_EQ(document.generationsDone, 0);
    EXPECT_EQ(document.generationsBegun, 0);
    EXPECT_EQ(document.autoLimit, 20000);
    EXPECT_DOUBLE_EQ(document.zoom, 0.625 * 0.5);
    EXPECT_EQ(document.panX, 0);
    EXPECT_EQ(document.panY, 0);
    EXPECT_EQ(bufferSelector, 0);
    EXPECT_EQ(stepCursor, 0);
    EXPECT_EQ(renderCursor, 0);
    EXPECT_EQ(document.partScale, 1.0);
    EXPECT_EQ(document.autoMode, 1);
}

TEST_F(SpriteGenerate, CompositionSoundNeverRepeatsTheLastThreePicks)
{
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SeedRuntimeRandom(seed);
        lastSounds[0] = 2;
        lastSounds[1] = 1;
        lastSounds[2] = 0;
        fake.sounds.clear();
        document.Generate(GEN_ALL);
        ASSERT_EQ(fake.sounds.size(), 1u);
        int32_t pick = lastSounds[0];
        EXPECT_GE(pick, 3);
        EXPECT_LE(pick, 5);
        EXPECT_EQ(lastSounds[1], 2);
        EXPECT_EQ(lastSounds[2], 1);
        EXPECT_EQ(fake.sounds[0].effect, effectCompositions[pick]);
        EXPECT_EQ(fake.sounds[0].volume, 80);
        EXPECT_EQ(soundChannel, fake.sounds[0].channel);
    }
}

TEST_F(SpriteGenerate, PlayingCompositionSoundIsStoppedBeforeTheNext)
{
    document.Generate(GEN_ALL);
    HCHANNEL first = soundChannel;
    document.Generate(GEN_ALL);
    EXPECT_EQ(fake.stopped, std::vector<HCHANNEL>{first});
    // A sound that has ended is not stopped again.
    fake.playing.erase(soundChannel);
    document.Generate(GEN_ALL);
    EXPECT_EQ(fake.stopped.size(), 1u);
    // Over many compositions the history keeps three distinct picks.
    for (int i = 0; i < 30; ++i) {
        document.Generate(GEN_ALL);
        EXPECT_NE(lastSounds[0], lastSounds[1]);
        EXPECT_NE(lastSounds[0], lastSounds[2]);
        EXPECT_NE(lastSounds[1], lastSounds[2]);
    }
}

TEST_F(SpriteGenerate, ResetSceneZeroesTheTimeBaseAndTheRegistryObjectCounter)
{
    frameTime = 50;
    nextKeyTime = 60;
    infoUntil = 70;
    registry->objectCounter = 4;
    ResetScene();
    EXPECT_EQ(frameTime, 0);
    EXPECT_EQ(nextKeyTime, 0);
    EXPECT_EQ(infoUntil, 0);
    EXPECT_EQ(registry->objectCounter, 0);
}
