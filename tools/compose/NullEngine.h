#pragma once

#include "platform/Engine.h"

// An engine without window, sound or input, for composing without a display: every
// operation does nothing and reports success or emptiness. The Tab key can be held on
// its behalf, so that the generation step begins generations past its automatic limit.
class NullEngine : public Engine {
public:
    bool tabHeld = false;

    bool System_Initiate() override { return true; }
    void System_Shutdown() override {}
    bool System_Start() override { return true; }
    const char* System_GetErrorMessage() override { return ""; }
    void System_Log(const char*, ...) override {}
    void System_SetState(gfxFuncState, gfxCallback) override {}
    void System_SetState(gfxStringState, const char*) override {}
    void System_SetState(gfxIntState, int) override {}
    void System_SetState(gfxBoolState, bool) override {}
    int System_MessageBox(const char*, const char*, int) override { return ANSWER_NO; }
    // A 960 x 960 window at scale 1.0, as on any desktop of 1080 lines or more.
    void System_GetDesktopSize(int* width, int* height) override
    {
        *width = 1920;
        *height = 1080;
    }

    void* Resource_Load(const char*, uint32_t* size) override
    {
        if (size)
            *size = 0;
        return nullptr;
    }
    void Resource_Free(void*) override {}
    bool Resource_AttachPack(const char*, const char*) override { return false; }
    std::vector<gfxFileEntry> Resource_FindFiles(const char*) override { return {}; }

    float Timer_GetDelta() override { return 0.02f; }

    HEFFECT Effect_Load(const char*, uint32_t) override { return 0; }
    HCHANNEL Effect_PlayEx(HEFFECT, int, int, float, bool) override { return 0; }
    bool Channel_IsPlaying(HCHANNEL) override { return false; }
    void Channel_Stop(HCHANNEL) override {}

    void Input_GetMousePos(float* x, float* y) override { *x = *y = 0; }
    int Input_GetMouseWheel() override { return 0; }
    bool Input_IsMouseOver() override { return false; }
    bool Input_GetKeyState(int key) override { return key == KEY_TAB && tabHeld; }

    bool Gfx_BeginScene(HTARGET) override { return false; }
    void Gfx_EndScene() override {}
    void Gfx_Clear(uint32_t) override {}
    void Gfx_RenderQuad(const gfxQuad*) override {}
    void Gfx_SetClipping(int, int, int, int) override {}
    void Gfx_SetTransform(float, float, float, float, float, float, float) override {}

    HTARGET Target_Create(int, int, bool) override { return 0; }
    void Target_Free(HTARGET) override {}
    HTEXTURE Target_GetTexture(HTARGET) override { return 0; }
    bool Target_ReadPixels(HTARGET, std::vector<uint8_t>*, int*, int*) override { return false; }

    HTEXTURE Texture_Load(const char*, uint32_t, bool) override { return 0; }
    void Texture_Free(HTEXTURE) override {}
    int Texture_GetWidth(HTEXTURE, bool) override { return 0; }
    int Texture_GetHeight(HTEXTURE, bool) override { return 0; }

protected:
    void OnLastRelease() override {}
};
