#include "platform/Engine.h"

#include "platform/SdlEngine.h"

namespace {
Engine* current = nullptr;
bool installed = false;
} // namespace

void Engine::Release()
{
    if (refs <= 0)
        return;
    if (--refs == 0) {
        if (current == this && !installed)
            current = nullptr;
        OnLastRelease();
    }
}

Engine* gfxCreate(int version)
{
    if (version != GFX_VERSION)
        return nullptr;
    if (!current)
        current = CreateSdlEngine();
    current->AddRef();
    return current;
}

void gfxInstall(Engine* engine)
{
    current = engine;
    installed = engine != nullptr;
}

void gfxUninstall(Engine* engine)
{
    if (current == engine) {
        current = nullptr;
        installed = false;
    }
}
