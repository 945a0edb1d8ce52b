#include "fractal/FrameHandler.h"

#include "app/App.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "fractal/ViewControl.h"
#include "support/TIX.h"

double frameTime = 0;
double nextKeyTime = 0;
double infoUntil = 0;
TIX* stepTimer = nullptr;

namespace {

bool KeyCommand(int key)
{
    return nextKeyTime < frameTime && engine->Input_GetKeyState(key);
}

// Runs at most one key command; true when X asks to end the loop.
bool RunKeyCommands()
{
    if (KeyCommand(KEY_X))
        return true;
    if (KeyCommand(KEY_N)) {
        ResetScene();
        document.Generate(GEN_ALL);
    } else if (KeyCommand(KEY_A)) {
        document.autoMode = 1;
    } else if (KeyCommand(KEY_SPACE)) {
        renderCursor = 0;
        int32_t step = engine->Input_GetKeyState(KEY_CTRL) ? -1 : 1;
        document.paletteShift = (document.paletteShift + step + 256) % 256;
    } else if (KeyCommand(KEY_B)) {
        ResetScene();
        document.Generate(GEN_PALETTE);
        document.autoMode = 0;
        engine->Effect_PlayEx(effectColors, 70, 0, 1.0f, false);
    } else {
        return false;
    }
    nextKeyTime = frameTime + keyDelay;
    return false;
}

} // namespace

bool UpdateFrame()
{
    float dt = engine->Timer_GetDelta();
    TIX timer;
    timer.Reset();
    timer.Run(true);
    stepTimer = &timer;

    float mx = 0, my = 0;
    engine->Input_GetMousePos(&mx, &my);
    mx = static_cast<float>(mx / windowScale);
    my = static_cast<float>(my / windowScale);
    ControlView(mx, my);

    if (RunKeyCommands()) {
        stepTimer = nullptr;
        return true;
    }

    BeginGeneration();
    GrowStep();
    AutoFit();
    stepTimer = nullptr;

    frameTime = frameTime + dt / framePeriod;
    return false;
}
