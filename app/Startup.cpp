#include "app/Startup.h"

#include <ctime>
#include <string>

#include "app/App.h"
#include "app/ResourceLoading.h"
#include "fractal/FrameHandler.h"
#include "fractal/RandomStreams.h"
#include "fractal/SPRITE.h"
#include "registry/KIVO.h"
#include "render/RenderFrame.h"
#include "render/gfxSprite.h"

namespace {

// Every failure before the frame loop shows one box and goes straight to shutdown.
void ShowError(const char* text, int style)
{
    engine->System_MessageBox(text, "Error", MB_BUTTONS_OK | style);
}

bool StartUp()
{
    std::string title = std::string(productName) + " - " + makerAddress;
    engine->System_SetState(STATE_FRAMEFUNC, UpdateFrame);
    engine->System_SetState(STATE_RENDERFUNC, RenderFrame);
    engine->System_SetState(STATE_TITLE, title.c_str());

    if (engine->System_MessageBox("Run full screen?", productName, MB_BUTTONS_YESNO) == ANSWER_YES) {
        int width = 0, height = 0;
        engine->System_GetDesktopSize(&width, &height);
        baseWidth = width;
        baseHeight = height;
        engine->System_SetState(STATE_WINDOWED, false);
        engine->System_SetState(STATE_SCREENWIDTH, static_cast<int>(baseWidth));
        engine->System_SetState(STATE_SCREENHEIGHT, static_cast<int>(baseHeight));
        windowScale = 1.0;
    } else {
        engine->System_SetState(STATE_WINDOWED, true);
        engine->System_SetState(STATE_SCREENWIDTH, static_cast<int>(baseWidth * windowScale));
        engine->System_SetState(STATE_SCREENHEIGHT, static_cast<int>(baseHeight * windowScale));
    }

    engine->System_SetState(STATE_SCREENBPP, 32);
    engine->System_SetState(STATE_USESOUND, true);
    engine->System_SetState(STATE_SHOWSPLASH, false);
    engine->System_SetState(STATE_ZBUFFER, false);
    engine->System_SetState(STATE_FPS, framesPerSecond);
    engine->System_SetState(STATE_HIDEMOUSE, true);
    engine->System_SetState(STATE_TEXTUREFILTER, true);

    if (!engine->System_Initiate()) {
        ShowError(engine->System_GetErrorMessage(), MB_ICON_ERROR | MB_SYSTEM_MODAL);
        return false;
    }

    registry = new KIVO();
    registry->reducedRemoval = true;

    engine->Resource_AttachPack("Graphics.paq");
    if (LoadGraphics()) {
        ShowError("Can't load graphics.", MB_ICON_ERROR);
        return false;
    }
    engine->Resource_AttachPack("Sound.paq");
    if (LoadSounds()) {
        ShowError("Can't load sounds.", MB_ICON_ERROR);
        return false;
    }

    renderTarget = engine->Target_Create(static_cast<int>(baseWidth), static_cast<int>(baseHeight), false);
    targetSprite = new gfxSprite(engine->Target_GetTexture(renderTarget), 0, 0, static_cast<float>(baseWidth),
                                 static_cast<float>(baseHeight));

    ResetScene();
    document.Generate(GEN_ALL);
    return true;
}

} // namespace

int RunProgram()
{
    SeedRuntimeRandom(static_cast<uint32_t>(std::time(nullptr)));
    engine = gfxCreate(GFX_VERSION);
    if (!engine)
        return 0;
    windowScale = WindowScale();

    if (StartUp())
        engine->System_Start();

    engine->System_Shutdown();
    engine->Release();
    engine = nullptr;
    return 0;
}
