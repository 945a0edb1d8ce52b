#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Interface version that gfxCreate accepts.
constexpr int GFX_VERSION = 0x160;

// Engine handles; 0 means none.
using HTEXTURE = uint32_t;
using HTARGET = uint32_t;
using HEFFECT = uint32_t;
using HCHANNEL = uint32_t;

// Blend modes of a quad.
constexpr int BLEND_ADDITIVE = 0;
constexpr int BLEND_ALPHA = 2;

// Key codes (Windows virtual-key codes).
constexpr int KEY_LBUTTON = 1;
constexpr int KEY_RBUTTON = 2;
constexpr int KEY_TAB = 9;
constexpr int KEY_CTRL = 17;
constexpr int KEY_SPACE = 32;
constexpr int KEY_A = 65;
constexpr int KEY_B = 66;
constexpr int KEY_I = 73;
constexpr int KEY_N = 78;
constexpr int KEY_X = 88;

// One vertex: position in pixels (y down), depth, ARGB colour, texture coordinates 0..1.
struct gfxVertex {
    float x, y;
    float z;
    uint32_t col;
    float tx, ty;
};

// Corners top-left, top-right, bottom-right, bottom-left; texture; blend mode.
struct gfxQuad {
    gfxVertex v[4];
    HTEXTURE tex;
    int32_t blend;
};

using gfxCallback = bool (*)();

// State ids, grouped by the type of value they take.
enum gfxFuncState { STATE_FRAMEFUNC = 1, STATE_RENDERFUNC = 2 };
enum gfxStringState { STATE_TITLE = 7 };
enum gfxIntState { STATE_SCREENWIDTH = 8, STATE_SCREENHEIGHT = 9, STATE_SCREENBPP = 10, STATE_FPS = 23 };
enum gfxBoolState {
    STATE_WINDOWED = 11,
    STATE_ZBUFFER = 12,
    STATE_TEXTUREFILTER = 13,
    STATE_USESOUND = 18,
    STATE_HIDEMOUSE = 24,
    STATE_SHOWSPLASH = 25,
};

// Message box styles and answers.
constexpr int MB_BUTTONS_OK = 0;
constexpr int MB_BUTTONS_YESNO = 4;
constexpr int MB_ICON_ERROR = 0x10;
constexpr int MB_SYSTEM_MODAL = 0x1000;
constexpr int ANSWER_OK = 1;
constexpr int ANSWER_YES = 6;
constexpr int ANSWER_NO = 7;

// One entry of a file search.
struct gfxFileEntry {
    std::string name;
    bool isDirectory;
};

// The engine: window, frame loop, drawing, input, timing, sound and resources.
// Reference counted: gfxCreate takes a reference, Release gives it back, and the
// engine lives while any reference does.
class Engine {
public:
    virtual ~Engine() = default;

    void AddRef() { ++refs; }
    void Release();
    int RefCount() const { return refs; }

    virtual bool System_Initiate() = 0;
    virtual void System_Shutdown() = 0;
    // Runs the frame loop until the frame function returns true or the window closes.
    virtual bool System_Start() = 0;
    virtual const char* System_GetErrorMessage() = 0;
    virtual void System_Log(const char* format, ...) = 0;
    virtual void System_SetState(gfxFuncState state, gfxCallback value) = 0;
    virtual void System_SetState(gfxStringState state, const char* value) = 0;
    virtual void System_SetState(gfxIntState state, int value) = 0;
    virtual void System_SetState(gfxBoolState state, bool value) = 0;
    // A modal message box; returns ANSWER_*. Where none can be shown: ANSWER_NO.
    virtual int System_MessageBox(const char* text, const char* caption, int style) = 0;
    virtual void System_GetDesktopSize(int* width, int* height) = 0;

    // File bytes by name (backslashes allowed): packs in attach order, then the
    // working folder. Null if absent; give the bytes back with Resource_Free.
    virtual void* Resource_Load(const char* name, uint32_t* size) = 0;
    virtual void Resource_Free(void* data) = 0;
    virtual bool Resource_AttachPack(const char* pack, const char* password = nullptr) = 0;
    // Entries of the real working folder matching "folder\*.ext" (case-insensitive
    // extension), folders flagged, in case-insensitive name order.
    virtual std::vector<gfxFileEntry> Resource_FindFiles(const char* pattern) = 0;

    virtual float Timer_GetDelta() = 0;

    virtual HEFFECT Effect_Load(const char* name, uint32_t size = 0) = 0;
    virtual HCHANNEL Effect_PlayEx(HEFFECT effect, int volume = 100, int pan = 0, float pitch = 1.0f,
                                   bool loop = false) = 0;
    virtual bool Channel_IsPlaying(HCHANNEL channel) = 0;
    virtual void Channel_Stop(HCHANNEL channel) = 0;

    virtual void Input_GetMousePos(float* x, float* y) = 0;
    virtual int Input_GetMouseWheel() = 0;
    virtual bool Input_IsMouseOver() = 0;
    virtual bool Input_GetKeyState(int key) = 0;

    // target 0 = the screen.
    virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
    virtual void Gfx_EndScene() = 0;
    virtual void Gfx_Clear(uint32_t color) = 0;
    virtual void Gfx_RenderQuad(const gfxQuad* quad) = 0;
    virtual void Gfx_SetClipping(int x = 0, int y = 0, int w = 0, int h = 0) = 0;
    // Later drawing of the scene is scaled by (hscale, vscale) about the top-left corner.
    virtual void Gfx_SetTransform(float x = 0, float y = 0, float dx = 0, float dy = 0, float rot = 0, float hscale = 0,
                                  float vscale = 0) = 0;

    virtual HTARGET Target_Create(int width, int height, bool zbuffer) = 0;
    virtual void Target_Free(HTARGET target) = 0;
    // A texture that shows the target upright.
    virtual HTEXTURE Target_GetTexture(HTARGET target) = 0;
    // The target's pixels, upright, 4 bytes RGBA per pixel, rows from the top.
    virtual bool Target_ReadPixels(HTARGET target, std::vector<uint8_t>* rgba, int* width, int* height) = 0;

    virtual HTEXTURE Texture_Load(const char* name, uint32_t size = 0, bool mipmap = false) = 0;
    virtual void Texture_Free(HTEXTURE texture) = 0;
    // imageSize true: the size of the loaded image; false: of the texture holding it.
    virtual int Texture_GetWidth(HTEXTURE texture, bool imageSize = false) = 0;
    virtual int Texture_GetHeight(HTEXTURE texture, bool imageSize = false) = 0;

protected:
    // Called when the last reference is given back.
    virtual void OnLastRelease() = 0;

private:
    int refs = 0;
};

// Takes a reference to the one engine, creating the real one when none exists.
// Gives null for any other interface version.
Engine* gfxCreate(int version);

// Makes gfxCreate hand out this engine (a test double) until it is uninstalled.
void gfxInstall(Engine* engine);
void gfxUninstall(Engine* engine);
