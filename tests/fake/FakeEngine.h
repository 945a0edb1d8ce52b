#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Engine.h"

// A recording engine for tests. Constructing one installs it, so gfxCreate hands it
// out, and makes it the clock of every stopwatch; destroying it undoes both.
// Input, clock, desktop and answers are scripted through the public fields; every
// effect the program has on the engine is recorded in them too.
class FakeEngine : public Engine {
public:
    struct Quad {
        gfxQuad quad;
        HTARGET target;
        float scale;
        int clipX, clipY, clipW, clipH;
    };
    struct Clear {
        HTARGET target;
        uint32_t color;
    };
    struct Sound {
        HEFFECT effect;
        int volume;
        HCHANNEL channel;
    };
    struct MessageBox {
        std::string text;
        std::string caption;
        int style;
    };
    struct Texture {
        std::string name;
        int imageWidth, imageHeight;
        int width, height;
        bool mipmap;
        bool freed;
    };

    FakeEngine();
    ~FakeEngine() override;

    // --- scripted ---
    std::set<int> keys;
    float mouseX = 0, mouseY = 0;
    int wheel = 0;
    bool mouseOver = true;
    float delta = 0.02f;
    int desktopWidth = 1920, desktopHeight = 1080;
    int messageBoxAnswer = ANSWER_NO;
    bool initiateFails = false;
    std::string errorMessage = "No display.";
    // Files by name (slashes or backslashes); looked up before the real working folder.
    std::map<std::string, std::string> files;
    // Packs that attach; others are refused.
    std::set<std::string> packsAvailable = {"Graphics.paq", "Sound.paq"};
    // Scripted result of the file search; unset: the real working folder is searched.
    bool scriptedSearch = false;
    std::vector<gfxFileEntry> searchResult;
    // Textures are made at least this large, as engines with power-of-two textures do.
    bool powerOfTwoTextures = false;
    // Stopwatch clock in microseconds, advanced by clockStep at every read.
    int64_t clockMicros = 0;
    int64_t clockStep = 0;
    // Called before each frame of System_Start with the frame's number from 0.
    std::function<void(int)> beforeFrame;
    // System_Start stops after this many frames even if the frame function never ends it.
    int maxFrames = 1000;

    // --- recorded ---
    // Every operation that changes something, in order, as short texts ("Initiate", ...).
    std::vector<std::string> calls;
    std::map<int, int> intStates;
    std::map<int, bool> boolStates;
    std::map<int, std::string> stringStates;
    gfxCallback frameFunc = nullptr, renderFunc = nullptr;
    std::vector<Quad> quads;
    std::vector<Clear> clears;
    std::vector<Sound> sounds;
    std::set<HCHANNEL> playing;
    std::vector<HCHANNEL> stopped;
    std::vector<std::string> logLines;
    std::vector<MessageBox> messageBoxes;
    std::vector<std::string> attachedPacks;
    std::map<HTEXTURE, Texture> textures;
    std::map<HEFFECT, std::string> effects;
    int framesRun = 0;
    HTARGET currentTarget = 0;
    bool inScene = false;
    float transformScale = 1.0f;

    // Texture handle of a render target.
    HTEXTURE TargetTexture(HTARGET target) const;
    // Quads drawn into one target (0: the screen).
    std::vector<Quad> QuadsInto(HTARGET target) const;

    bool System_Initiate() override;
    void System_Shutdown() override;
    bool System_Start() override;
    const char* System_GetErrorMessage() override;
    void System_Log(const char* format, ...) override;
    void System_SetState(gfxFuncState state, gfxCallback value) override;
    void System_SetState(gfxStringState state, const char* value) override;
    void System_SetState(gfxIntState state, int value) override;
    void System_SetState(gfxBoolState state, bool value) override;
    int System_MessageBox(const char* text, const char* caption, int style) override;
    void System_GetDesktopSize(int* width, int* height) override;

    void* Resource_Load(const char* name, uint32_t* size) override;
    void Resource_Free(void* data) override;
    bool Resource_AttachPack(const char* pack, const char* password) override;
    std::vector<gfxFileEntry> Resource_FindFiles(const char* pattern) override;

    float Timer_GetDelta() override;

    HEFFECT Effect_Load(const char* name, uint32_t size) override;
    HCHANNEL Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) override;
    bool Channel_IsPlaying(HCHANNEL channel) override;
    void Channel_Stop(HCHANNEL channel) override;

    void Input_GetMousePos(float* x, float* y) override;
    int Input_GetMouseWheel() override;
    bool Input_IsMouseOver() override;
    bool Input_GetKeyState(int key) override;

    bool Gfx_BeginScene(HTARGET target) override;
    void Gfx_EndScene() override;
    void Gfx_Clear(uint32_t color) override;
    void Gfx_RenderQuad(const gfxQuad* quad) override;
    void Gfx_SetClipping(int x, int y, int w, int h) override;
    void Gfx_SetTransform(float x, float y, float dx, float dy, float rot, float hscale, float vscale) override;

    HTARGET Target_Create(int width, int height, bool zbuffer) override;
    void Target_Free(HTARGET target) override;
    HTEXTURE Target_GetTexture(HTARGET target) override;
    bool Target_ReadPixels(HTARGET target, std::vector<uint8_t>* rgba, int* width, int* height) override;

    HTEXTURE Texture_Load(const char* name, uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE texture) override;
    int Texture_GetWidth(HTEXTURE texture, bool imageSize) override;
    int Texture_GetHeight(HTEXTURE texture, bool imageSize) override;

protected:
    void OnLastRelease() override {}

private:
    bool ReadFile(const char* name, std::string* bytes) const;

    uint32_t nextHandle = 1;
    std::map<HTARGET, HTEXTURE> targets;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
};
