// Growth speed of the generation step: a two-transform composition grown to its
// 2^24-part generation through BeginGeneration and GrowStep, in frames of the real
// 20 ms budget, then the same growth without budget. Prints children per second and the
// peak resident memory.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "app/App.h"
#include "fractal/FractalReset.h"
#include "fractal/FrameHandler.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "registry/KIVO.h"
#include "support/TIX.h"
#include "tools/compose/NullEngine.h"

namespace {

struct Run {
    int64_t children = 0;
    int64_t lastChildren = 0;
    double seconds = 0;
    double lastSeconds = 0;
    int frames = 0;
    double slowestFrameMs = 0;
};

Run Grow(bool framed)
{
    ResetFractalGlobals();
    ResetScene();
    document.Generate(GEN_ALL, {4, 1, 1});
    // Every generation begins by itself, as if Tab were held at each.
    document.autoLimit = maxItems + 1;
    Run run;
    using Clock = std::chrono::steady_clock;
    for (;;) {
        int32_t begun = document.generationsBegun;
        if (document.generationsDone == begun) {
            BeginGeneration();
            if (document.generationsBegun == begun)
                break;
        }
        int64_t before = SelectBuffer(NEXT)->count;
        TIX timer;
        timer.Reset();
        timer.Run(true);
        stepTimer = framed ? &timer : nullptr;
        auto start = Clock::now();
        GrowStep();
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        stepTimer = nullptr;
        int64_t made = SelectBuffer(NEXT)->count - before;
        run.children += made;
        run.seconds += seconds;
        ++run.frames;
        if (seconds * 1000 > run.slowestFrameMs)
            run.slowestFrameMs = seconds * 1000;
        if (PartCapacity(NEXT) == maxItems) {
            run.lastChildren += made;
            run.lastSeconds += seconds;
        }
    }
    return run;
}

void Print(const char* name, const Run& run)
{
    std::printf("%-22s %10lld children in %7.3f s: %6.2f M children/s; 2^24 generation %6.2f M/s; "
                "%d calls, slowest %.2f ms\n",
                name, static_cast<long long>(run.children), run.seconds, run.children / run.seconds / 1e6,
                run.lastChildren / run.lastSeconds / 1e6, run.frames, run.slowestFrameMs);
}

} // namespace

int main()
{
    NullEngine nullEngine;
    gfxInstall(&nullEngine);
    engine = gfxCreate(GFX_VERSION);
    registry = new KIVO();
    for (int i = 0; i < 12; ++i)
        registry->AddGraphics("picture", 0, 0, 0, 1, 1, 0, 0, 0);

    Print("20 ms frames", Grow(true));
    Print("no frame budget", Grow(false));

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MB (parts: 24 bytes; 2^24 + 2^23 parts = 576 MB)\n",
                usage.ru_maxrss / 1024.0);

    delete registry;
    registry = nullptr;
    ResetFractalGlobals();
    engine->Release();
    gfxUninstall(&nullEngine);
    return 0;
}
