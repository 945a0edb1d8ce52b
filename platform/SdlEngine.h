#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <memory>
#include <string>

#include "platform/Engine.h"

struct SDL_Window;
class QuadBatch;
class ResourcePacks;
class SoundBank;

// The real engine on SDL2, OpenGL 3.3 core, SDL2_mixer and PhysicsFS. It deletes
// itself when its last reference is given back.
Engine* CreateSdlEngine();

// The engine behind CreateSdlEngine. Textures are kept premultiplied by alpha, and so
// are render targets: drawing a target's texture with alpha blending reproduces its
// pixels exactly. Target_ReadPixels returns those premultiplied pixels.
class SdlEngine : public Engine {
public:
    SdlEngine();
    ~SdlEngine() override;

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

    // A nonzero size means name points at that many bytes of sound file in memory.
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
    // Target 0 reads the screen's back buffer.
    bool Target_ReadPixels(HTARGET target, std::vector<uint8_t>* rgba, int* width, int* height) override;

    // A nonzero size means name points at that many bytes of image file in memory.
    HTEXTURE Texture_Load(const char* name, uint32_t size, bool mipmap) override;
    void Texture_Free(HTEXTURE texture) override;
    int Texture_GetWidth(HTEXTURE texture, bool imageSize) override;
    int Texture_GetHeight(HTEXTURE texture, bool imageSize) override;

    // The input step of every frame: drains SDL's event queue into the key, mouse
    // and wheel state the Input_ operations report until the next call. False when
    // the user asked to close the window.
    bool PumpEvents();
    // Queues a key or button (virtual-key code) event, or wheel motion, as the
    // system would; the next PumpEvents sees it.
    void PushKeyEvent(int key, bool down);
    void PushWheelEvent(int steps);
    // Queues the request to close the window that the window system sends.
    void PushQuitEvent();
    // GL draw calls issued so far (for checks that quads are batched).
    uint64_t DrawCalls() const;

protected:
    void OnLastRelease() override;

private:
    struct Texture {
        unsigned id = 0;
        int width = 0, height = 0;
        // The render target showing through this texture; 0 for a loaded image.
        HTARGET target = 0;
    };
    struct Target {
        unsigned framebuffer = 0;
        HTEXTURE texture = 0;
        int width = 0, height = 0;
    };

    bool Fail(const std::string& message);
    void FreeGraphics();
    bool LoadBytes(const char* name, uint32_t size, std::vector<uint8_t>* bytes);
    // Size of the current destination in its own pixels, and in GL pixels.
    void SceneSize(int* width, int* height, int* glWidth, int* glHeight) const;
    void ApplyClipping();
    bool OpenVideo();

    // States set before System_Initiate.
    gfxCallback frameFunc = nullptr;
    gfxCallback renderFunc = nullptr;
    std::string title = "Vornaly";
    int screenWidth = 800, screenHeight = 600;
    bool windowed = true;
    int framesPerSecond = 0;

    std::string errorMessage;
    bool videoOpen = false;
    SDL_Window* window = nullptr;
    void* glContext = nullptr;
    std::unique_ptr<QuadBatch> batch;
    std::unique_ptr<ResourcePacks> packs;
    std::unique_ptr<SoundBank> sounds;

    uint32_t nextHandle = 1;
    // Looked up once per quad drawn.
    std::unordered_map<HTEXTURE, Texture> textures;
    std::unordered_map<HTARGET, Target> targets;

    // Scene state.
    bool inScene = false;
    HTARGET sceneTarget = 0;
    bool screenDrawn = false;
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;

    // Input state; key codes index the arrays.
    std::array<bool, 256> keysHeld{};
    std::array<bool, 256> keysPressed{};
    std::array<bool, 256> keysLatched{};
    // Left and right Shift, Ctrl and Alt, each pair behind one key code.
    std::array<bool, 6> modifierSides{};
    float mouseX = 0, mouseY = 0;
    bool mouseOver = false;
    int wheelPending = 0;
    int wheel = 0;

    float delta = 0;
};
