// Drawing speed of the renderer with the real engine on an offscreen context: parts
// per second drawn into the 960 x 960 target for real compositions of 2^16 and 2^20
// parts at the part size auto mode gives, and the longest frame (frame handler, render
// handler and present) while a 2^20-part generation grows and draws, and again after
// new colours restart the growth from the first generation.
// Run from the run folder (it needs pix/ and the packs): build/run.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/App.h"
#include "app/ResourceLoading.h"
#include "fractal/FractalReset.h"
#include "fractal/FrameHandler.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "registry/KIVO.h"
#include "render/RenderFrame.h"
#include "render/gfxSprite.h"
#include "tools/compose/PictureRenderer.h"

namespace {

using Clock = std::chrono::steady_clock;

// A two-transform composition grown until NEXT holds `parts` parts, without budget.
void GrowTo(int32_t parts)
{
    ResetScene();
    document.Generate(GEN_ALL, {4, 1, 1});
    document.autoLimit = maxItems + 1;
    while (PartCapacity(NEXT) < parts) {
        BeginGeneration();
        GrowStep();
    }
}

// Draws all of NEXT from its first part, frame by frame as the program does.
void DrawAll(int* frames, double* seconds)
{
    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    renderCursor = 0;
    *frames = 0;
    auto start = Clock::now();
    do {
        RenderFrame();
        ++*frames;
    } while (renderCursor < SelectBuffer(NEXT)->count);
    // Reading back waits for the drawing to finish.
    engine->Target_ReadPixels(renderTarget, &pixels, &w, &h);
    *seconds = std::chrono::duration<double>(Clock::now() - start).count();
}

Clock::time_point lastFrame;
double longestFrameMs = 0;
int framesRun = 0;

// Frame function of the growing run: the program's own, plus the interval since the
// previous frame began, which holds the handlers, the present and the wait.
bool TimedUpdate()
{
    auto now = Clock::now();
    if (framesRun++ > 0)
        longestFrameMs = std::max(longestFrameMs, std::chrono::duration<double, std::milli>(now - lastFrame).count());
    lastFrame = now;
    UpdateFrame();
    bool grown = document.generationsDone == document.generationsBegun && PartCapacity(NEXT) >= (1 << 20);
    return grown && renderCursor >= SelectBuffer(NEXT)->count;
}

// Runs the program's frame loop until the 2^20-part generation is grown and drawn.
void RunLoop(const char* name)
{
    framesRun = 0;
    longestFrameMs = 0;
    auto start = Clock::now();
    engine->System_Start();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %d frames in %.2f s, longest frame %.1f ms; peak memory %ld MB\n", name, framesRun, seconds,
                longestFrameMs, usage.ru_maxrss / 1024);
}

} // namespace

int main()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    engine = gfxCreate(GFX_VERSION);
    engine->System_SetState(STATE_TITLE, "bench_render");
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREENWIDTH, 960);
    engine->System_SetState(STATE_SCREENHEIGHT, 960);
    engine->System_SetState(STATE_FPS, framesPerSecond);
    engine->System_SetState(STATE_FRAMEFUNC, TimedUpdate);
    engine->System_SetState(STATE_RENDERFUNC, RenderFrame);
    if (!engine->System_Initiate()) {
        std::fprintf(stderr, "bench_render: %s\n", engine->System_GetErrorMessage());
        return 1;
    }
    registry = new KIVO();
    engine->Resource_AttachPack("Graphics.paq");
    engine->Resource_AttachPack("Sound.paq");
    if (LoadGraphics() || LoadSounds() || registry->GraphicsCount() == 0) {
        std::fprintf(stderr, "bench_render: run it from the run folder (pictures, fonts and sounds)\n");
        return 1;
    }
    renderTarget = engine->Target_Create(960, 960, false);
    targetSprite = new gfxSprite(engine->Target_GetTexture(renderTarget), 0, 0, 960, 960);

    for (int32_t parts : {1 << 16, 1 << 20}) {
        GrowTo(parts);
        PictureRenderer::FitView(960, 960);
        int frames = 0;
        double seconds = 0;
        DrawAll(&frames, &seconds);
        std::printf("draw %8d parts: %6.3f s in %4d frames, %7.0f parts/s (part scale %.3f, zoom %.3f)\n", parts,
                    seconds, frames, parts / seconds, document.partScale, document.zoom);
    }

    // The program's own loop: a 2^19-part composition on screen, then the next
    // generation begins by itself, grows within the budget and is drawn.
    GrowTo(1 << 19);
    PictureRenderer::FitView(960, 960);
    renderCursor = SelectBuffer(NEXT)->count;
    // The 2^20-part generation begins by itself; the one after it would wait for Tab.
    document.autoLimit = 1 << 20;
    frameTime = 100;
    nextKeyTime = 0;
    RunLoop("grow and draw 2^20 parts in the frame loop");

    // New colours (B): growth starts again from the first generation, whose few parts
    // are drawn at the grown generation's part size, each covering the screen.
    ResetScene();
    document.Generate(GEN_PALETTE);
    document.autoMode = 0;
    frameTime = 100;
    nextKeyTime = 0;
    RunLoop("new colours, regrown to 2^20 parts");

    engine->System_Shutdown();
    return 0;
}
