#pragma once

#include <gtest/gtest.h>

#include "app/App.h"
#include "fractal/FractalReset.h"
#include "fractal/FrameHandler.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/RandomStreams.h"
#include "fractal/SPRITE.h"
#include "fractal/ViewControl.h"
#include "registry/KIVO.h"
#include "tests/fake/FakeEngine.h"

// Every fractal test starts from the globals as the program loads them, with the
// recording engine installed as `engine`, an empty registry, a 960 x 960 window at
// scale 1.0 and recognisable sound effect handles.
class FractalTest : public ::testing::Test {
protected:
    FakeEngine fake;

    void SetUp() override
    {
        ResetFractalGlobals();
        SeedRuntimeRandom(1);
        engine = gfxCreate(GFX_VERSION);
        baseWidth = baseHeight = 960.0;
        windowScale = 1.0;
        // 1920 x 1080 gives WindowScale() 1.0 for a 960 x 960 window.
        fake.desktopWidth = 1920;
        fake.desktopHeight = 1080;
        registry = new KIVO();
        for (int i = 0; i < 6; ++i)
            effectCompositions[i] = 101 + i;
        effectColors = 201;
        effectIteration = 202;
    }

    void TearDown() override
    {
        delete registry;
        registry = nullptr;
        ResetFractalGlobals();
        engine->Release();
        engine = nullptr;
    }

    void AddPictures(int n)
    {
        for (int i = 0; i < n; ++i)
            registry->AddGraphics(("pix\\p" + std::to_string(i) + ".png").c_str(), 0, 0, 0, 32, 32, 0, 0, 0);
    }

    // A document of the given transforms, with the first generation placed in NEXT the
    // way Generate places it, after a reset of the growth state and view.
    void PlaceComposition(const std::vector<PART>& rules)
    {
        document.transformCount = static_cast<int32_t>(rules.size());
        for (int i = 0; i < 5; ++i)
            document.transforms[i] = i < static_cast<int>(rules.size()) ? rules[i] : PART{-1, 0, 0, 0, 0, 0};
        document.generationsDone = document.generationsBegun = 0;
        document.autoLimit = 20000;
        document.zoom = 0.5;
        document.panX = document.panY = 0;
        document.partScale = 1.0;
        document.autoMode = 1;
        bufferSelector = stepCursor = renderCursor = 0;
        ASSERT_TRUE(AllocateBuffer(NEXT, document.transformCount));
        for (const PART& t : rules)
            AppendPart(NEXT, t.x, t.y, t.picture, t.angle, t.scale * 2.0f, 0);
    }

    // A stream seed in 1..limit whose first draws are the wanted ones (bounds and results).
    static int32_t FindSeed(const std::vector<std::pair<int32_t, int32_t>>& draws, int32_t limit = 1000000)
    {
        for (int32_t seed = 1; seed <= limit; ++seed) {
            int32_t state = seed;
            bool match = true;
            for (const auto& [bound, result] : draws) {
                if (RandomDraw(state, bound) != result) {
                    match = false;
                    break;
                }
            }
            if (match)
                return seed;
        }
        return 0;
    }
};
