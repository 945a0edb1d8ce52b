#include "platform/SdlEngine.h"

#include <SDL.h>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <epoxy/gl.h>
#include <thread>

#include <stb/stb_image.h>

#include "platform/FileSearch.h"
#include "platform/QuadBatch.h"
#include "platform/ResourcePacks.h"
#include "platform/SoundBank.h"

namespace {

// Desktop size reported when the video driver has no display to measure.
constexpr int kFallbackDesktopWidth = 1920;
constexpr int kFallbackDesktopHeight = 1080;

struct KeyName {
    SDL_Keycode sdl;
    int virtualKey;
};

// SDL keys that have a Windows virtual-key code besides letters and digits.
constexpr KeyName kKeys[] = {
    {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},       {SDLK_RETURN, 13}, {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},    {SDLK_LALT, 18},     {SDLK_RALT, 18},   {SDLK_PAUSE, 19},  {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},   {SDLK_PAGEDOWN, 34}, {SDLK_END, 35},    {SDLK_HOME, 36},   {SDLK_LEFT, 37},   {SDLK_UP, 38},
    {SDLK_RIGHT, 39},    {SDLK_DOWN, 40},     {SDLK_INSERT, 45}, {SDLK_DELETE, 46}, {SDLK_F1, 112},    {SDLK_F2, 113},
    {SDLK_F3, 114},      {SDLK_F4, 115},      {SDLK_F5, 116},    {SDLK_F6, 117},    {SDLK_F7, 118},    {SDLK_F8, 119},
    {SDLK_F9, 120},      {SDLK_F10, 121},     {SDLK_F11, 122},   {SDLK_F12, 123},
};

// Windows virtual-key code of an SDL key, 0 for keys without one.
int VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    for (const KeyName& k : kKeys)
        if (k.sdl == key)
            return k.virtualKey;
    return 0;
}

SDL_Keycode SdlKeyOf(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return SDLK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return SDLK_0 + (virtualKey - '0');
    for (const KeyName& k : kKeys)
        if (k.virtualKey == virtualKey)
            return k.sdl;
    return SDLK_UNKNOWN;
}

int VirtualKeyOfButton(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return KEY_LBUTTON;
    case SDL_BUTTON_RIGHT:
        return KEY_RBUTTON;
    case SDL_BUTTON_MIDDLE:
        return 4;
    default:
        return 0;
    }
}

Uint8 ButtonOfVirtualKey(int key)
{
    switch (key) {
    case KEY_LBUTTON:
        return SDL_BUTTON_LEFT;
    case KEY_RBUTTON:
        return SDL_BUTTON_RIGHT;
    case 4:
        return SDL_BUTTON_MIDDLE;
    default:
        return 0;
    }
}

} // namespace

Engine* CreateSdlEngine()
{
    return new SdlEngine();
}

SdlEngine::SdlEngine()
    : batch(std::make_unique<QuadBatch>()), packs(std::make_unique<ResourcePacks>()),
      sounds(std::make_unique<SoundBank>())
{
}

SdlEngine::~SdlEngine()
{
    System_Shutdown();
    sounds.reset();
    packs.reset();
    SDL_Quit();
}

void SdlEngine::OnLastRelease()
{
    delete this;
}

bool SdlEngine::Fail(const std::string& message)
{
    errorMessage = message;
    System_Log("%s", message.c_str());
    return false;
}

bool SdlEngine::OpenVideo()
{
    if (!videoOpen)
        videoOpen = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    return videoOpen;
}

// ---- system ----

bool SdlEngine::System_Initiate()
{
    if (window)
        return true;
    if (!OpenVideo())
        return Fail(std::string("Can't start the video system: ") + SDL_GetError());

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL;
    int width = screenWidth, height = screenHeight;
    if (!windowed) {
        System_GetDesktopSize(&width, &height);
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    if (width <= 0 || height <= 0)
        return Fail("The window size is not valid.");
    window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window)
        return Fail(std::string("Can't create the window: ") + SDL_GetError());
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) {
        std::string message = std::string("Can't create an OpenGL 3.3 context: ") + SDL_GetError();
        System_Shutdown();
        return Fail(message);
    }
    SDL_GL_MakeCurrent(window, glContext);
    // Frames are paced by our own timer; waiting for the display as well would
    // make a 50 fps loop stumble on a 60 Hz screen.
    SDL_GL_SetSwapInterval(0);

    std::string error;
    if (!batch->Create(&error)) {
        System_Shutdown();
        return Fail(error);
    }
    int mx = 0, my = 0;
    SDL_GetMouseState(&mx, &my);
    mouseX = static_cast<float>(mx);
    mouseY = static_cast<float>(my);
    mouseOver = SDL_GetMouseFocus() == window;
    keysHeld.fill(false);
    keysPressed.fill(false);
    keysLatched.fill(false);
    modifierSides.fill(false);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void SdlEngine::FreeGraphics()
{
    if (!glContext)
        return;
    SDL_GL_MakeCurrent(window, glContext);
    batch->Destroy();
    for (auto& [handle, texture] : textures)
        glDeleteTextures(1, &texture.id);
    for (auto& [handle, target] : targets)
        glDeleteFramebuffers(1, &target.framebuffer);
    textures.clear();
    targets.clear();
    inScene = false;
}

void SdlEngine::System_Shutdown()
{
    FreeGraphics();
    if (glContext)
        SDL_GL_DeleteContext(glContext);
    glContext = nullptr;
    if (window)
        SDL_DestroyWindow(window);
    window = nullptr;
    sounds->Close();
}

bool SdlEngine::System_Start()
{
    if (!window) {
        errorMessage = "System_Initiate has not succeeded.";
        return false;
    }
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(framesPerSecond > 0 ? 1.0 / framesPerSecond : 0.0));
    auto next = Clock::now();
    auto previous = next;
    bool first = true;
    for (;;) {
        auto frameStart = Clock::now();
        if (period.count() > 0) {
            while (frameStart < next) {
                std::this_thread::sleep_for(next - frameStart);
                frameStart = Clock::now();
            }
            // A frame that ran long is not made up for by a burst of short ones.
            if (frameStart - next > period)
                next = frameStart;
            next += period;
        }
        delta = first ? 0.0f : std::chrono::duration<float>(frameStart - previous).count();
        previous = frameStart;
        first = false;

        if (!PumpEvents())
            break;
        screenDrawn = false;
        if (frameFunc && frameFunc())
            break;
        if (renderFunc)
            renderFunc();
        if (screenDrawn && window)
            SDL_GL_SwapWindow(window);
    }
    return true;
}

const char* SdlEngine::System_GetErrorMessage()
{
    return errorMessage.c_str();
}

void SdlEngine::System_Log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

void SdlEngine::System_SetState(gfxFuncState state, gfxCallback value)
{
    if (state == STATE_FRAMEFUNC)
        frameFunc = value;
    else if (state == STATE_RENDERFUNC)
        renderFunc = value;
}

void SdlEngine::System_SetState(gfxStringState state, const char* value)
{
    if (state == STATE_TITLE) {
        title = value ? value : "";
        if (window)
            SDL_SetWindowTitle(window, title.c_str());
    }
}

void SdlEngine::System_SetState(gfxIntState state, int value)
{
    if (state == STATE_SCREENWIDTH)
        screenWidth = value;
    else if (state == STATE_SCREENHEIGHT)
        screenHeight = value;
    else if (state == STATE_FPS)
        framesPerSecond = value;
}

// Only the window mode matters here. The pointer stays visible whatever
// STATE_HIDEMOUSE says: the program draws no pointer of its own, and the user
// zooms and pans with the mouse.
void SdlEngine::System_SetState(gfxBoolState state, bool value)
{
    if (state == STATE_WINDOWED)
        windowed = value;
}

int SdlEngine::System_MessageBox(const char* text, const char* caption, int style)
{
    bool yesNo = (style & 0xF) == MB_BUTTONS_YESNO;
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ANSWER_YES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_NO, "No"},
    };
    const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ANSWER_OK, "OK"},
    };
    SDL_MessageBoxData box{};
    box.flags = ((style & 0xF0) == MB_ICON_ERROR ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION) |
                SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = window;
    box.title = caption ? caption : "";
    box.message = text ? text : "";
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        System_Log("Can't show a message box: %s", SDL_GetError());
        return ANSWER_NO;
    }
    // Closing the box without a button counts as its escape button.
    if (answer < 0)
        return yesNo ? ANSWER_NO : ANSWER_OK;
    return answer;
}

void SdlEngine::System_GetDesktopSize(int* width, int* height)
{
    SDL_DisplayMode mode{};
    if (OpenVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        *width = mode.w;
        *height = mode.h;
    } else {
        *width = kFallbackDesktopWidth;
        *height = kFallbackDesktopHeight;
    }
}

// ---- resources ----

bool SdlEngine::LoadBytes(const char* name, uint32_t size, std::vector<uint8_t>* bytes)
{
    if (!name)
        return false;
    if (size != 0) {
        const uint8_t* data = reinterpret_cast<const uint8_t*>(name);
        bytes->assign(data, data + size);
        return true;
    }
    return packs->Load(name, bytes);
}

void* SdlEngine::Resource_Load(const char* name, uint32_t* size)
{
    std::vector<uint8_t> bytes;
    if (!packs->Load(name, &bytes)) {
        if (size)
            *size = 0;
        return nullptr;
    }
    // One spare byte so that even an empty file gives a valid pointer.
    void* data = std::malloc(bytes.size() + 1);
    if (!data)
        return nullptr;
    if (!bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    if (size)
        *size = static_cast<uint32_t>(bytes.size());
    return data;
}

void SdlEngine::Resource_Free(void* data)
{
    std::free(data);
}

bool SdlEngine::Resource_AttachPack(const char* pack, const char*)
{
    return packs->Attach(pack);
}

std::vector<gfxFileEntry> SdlEngine::Resource_FindFiles(const char* pattern)
{
    return FindFiles(pattern);
}

float SdlEngine::Timer_GetDelta()
{
    return delta;
}

// ---- sound ----

HEFFECT SdlEngine::Effect_Load(const char* name, uint32_t size)
{
    std::vector<uint8_t> bytes;
    if (!LoadBytes(name, size, &bytes))
        return 0;
    return sounds->Load(bytes);
}

HCHANNEL SdlEngine::Effect_PlayEx(HEFFECT effect, int volume, int pan, float, bool loop)
{
    return sounds->Play(effect, volume, pan, loop);
}

bool SdlEngine::Channel_IsPlaying(HCHANNEL channel)
{
    return sounds->IsPlaying(channel);
}

void SdlEngine::Channel_Stop(HCHANNEL channel)
{
    sounds->Stop(channel);
}

// ---- input ----

bool SdlEngine::PumpEvents()
{
    bool open = true;
    keysPressed.fill(false);
    wheelPending = 0;
    SDL_Event event;
    while (videoOpen && SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            open = false;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                open = false;
            else if (event.window.event == SDL_WINDOWEVENT_ENTER)
                mouseOver = true;
            else if (event.window.event == SDL_WINDOWEVENT_LEAVE)
                mouseOver = false;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = VirtualKeyOf(event.key.keysym.sym);
            if (key == 0)
                break;
            bool down = event.type == SDL_KEYDOWN;
            // Ctrl, Shift and Alt are held while either of their two keys is.
            if (key == 16 || key == 17 || key == 18) {
                SDL_Keycode left = key == 16 ? SDLK_LSHIFT : key == 17 ? SDLK_LCTRL : SDLK_LALT;
                size_t side = static_cast<size_t>(key - 16) * 2 + (event.key.keysym.sym == left ? 0 : 1);
                modifierSides[side] = down;
                keysHeld[static_cast<size_t>(key)] = modifierSides[side & ~size_t{1}] || modifierSides[side | 1];
            } else {
                keysHeld[static_cast<size_t>(key)] = down;
            }
            if (down)
                keysPressed[static_cast<size_t>(key)] = true;
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int key = VirtualKeyOfButton(event.button.button);
            if (key) {
                bool down = event.type == SDL_MOUSEBUTTONDOWN;
                keysHeld[static_cast<size_t>(key)] = down;
                if (down)
                    keysPressed[static_cast<size_t>(key)] = true;
            }
            mouseX = static_cast<float>(event.button.x);
            mouseY = static_cast<float>(event.button.y);
            break;
        }
        case SDL_MOUSEMOTION:
            mouseX = static_cast<float>(event.motion.x);
            mouseY = static_cast<float>(event.motion.y);
            break;
        case SDL_MOUSEWHEEL:
            wheelPending += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            break;
        default:
            break;
        }
    }
    // A key pressed and released since the last frame still counts as held in
    // this one, so a short tap between two polls is never lost.
    keysLatched = keysPressed;
    wheel = wheelPending;
    return open;
}

void SdlEngine::PushKeyEvent(int key, bool down)
{
    if (!videoOpen)
        return;
    SDL_Event event{};
    if (Uint8 button = ButtonOfVirtualKey(key)) {
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = button;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Sint32>(mouseX);
        event.button.y = static_cast<Sint32>(mouseY);
        event.button.windowID = window ? SDL_GetWindowID(window) : 0;
    } else {
        SDL_Keycode sym = SdlKeyOf(key);
        if (sym == SDLK_UNKNOWN)
            return;
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        event.key.windowID = window ? SDL_GetWindowID(window) : 0;
    }
    SDL_PushEvent(&event);
}

void SdlEngine::PushWheelEvent(int steps)
{
    if (!videoOpen)
        return;
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = steps;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    event.wheel.windowID = window ? SDL_GetWindowID(window) : 0;
    SDL_PushEvent(&event);
}

void SdlEngine::PushQuitEvent()
{
    if (!videoOpen)
        return;
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void SdlEngine::Input_GetMousePos(float* x, float* y)
{
    *x = mouseX;
    *y = mouseY;
}

int SdlEngine::Input_GetMouseWheel()
{
    return wheel;
}

bool SdlEngine::Input_IsMouseOver()
{
    return mouseOver;
}

bool SdlEngine::Input_GetKeyState(int key)
{
    if (key < 0 || key >= static_cast<int>(keysHeld.size()))
        return false;
    return keysHeld[static_cast<size_t>(key)] || keysLatched[static_cast<size_t>(key)];
}

uint64_t SdlEngine::DrawCalls() const
{
    return batch->DrawCalls();
}

// ---- drawing ----

void SdlEngine::SceneSize(int* width, int* height, int* glWidth, int* glHeight) const
{
    if (sceneTarget != 0) {
        auto it = targets.find(sceneTarget);
        *width = *glWidth = it == targets.end() ? 1 : it->second.width;
        *height = *glHeight = it == targets.end() ? 1 : it->second.height;
        return;
    }
    SDL_GetWindowSize(window, width, height);
    SDL_GL_GetDrawableSize(window, glWidth, glHeight);
}

void SdlEngine::ApplyClipping()
{
    if (clipW <= 0 || clipH <= 0) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    int width = 1, height = 1, glWidth = 1, glHeight = 1;
    SceneSize(&width, &height, &glWidth, &glHeight);
    int x0 = std::max(clipX, 0), y0 = std::max(clipY, 0);
    int x1 = std::min(clipX + clipW, width), y1 = std::min(clipY + clipH, height);
    if (x1 < x0)
        x1 = x0;
    if (y1 < y0)
        y1 = y0;
    // GL counts rows from the bottom; the window may have more GL pixels than points.
    double sx = static_cast<double>(glWidth) / width, sy = static_cast<double>(glHeight) / height;
    glScissor(static_cast<GLint>(x0 * sx), static_cast<GLint>((height - y1) * sy), static_cast<GLsizei>((x1 - x0) * sx),
              static_cast<GLsizei>((y1 - y0) * sy));
    glEnable(GL_SCISSOR_TEST);
}

bool SdlEngine::Gfx_BeginScene(HTARGET target)
{
    if (!glContext)
        return false;
    auto it = targets.find(target);
    if (target != 0 && it == targets.end())
        return false;
    batch->Flush();
    sceneTarget = target;
    inScene = true;
    glBindFramebuffer(GL_FRAMEBUFFER, target ? it->second.framebuffer : 0);
    int width = 1, height = 1, glWidth = 1, glHeight = 1;
    SceneSize(&width, &height, &glWidth, &glHeight);
    glViewport(0, 0, glWidth, glHeight);
    batch->SetView(width, height);
    Gfx_SetTransform(0, 0, 0, 0, 0, 1, 1);
    clipX = clipY = clipW = clipH = 0;
    ApplyClipping();
    return true;
}

void SdlEngine::Gfx_EndScene()
{
    if (!inScene)
        return;
    batch->Flush();
    if (sceneTarget == 0)
        screenDrawn = true;
    inScene = false;
}

void SdlEngine::Gfx_Clear(uint32_t color)
{
    if (!inScene)
        return;
    batch->Flush();
    float a = static_cast<float>(color >> 24) / 255.0f;
    float r = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    float g = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    float b = static_cast<float>(color & 0xFF) / 255.0f;
    // The whole destination is cleared, whatever the clipping; kept premultiplied.
    glDisable(GL_SCISSOR_TEST);
    glClearColor(r * a, g * a, b * a, a);
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyClipping();
}

void SdlEngine::Gfx_RenderQuad(const gfxQuad* quad)
{
    if (!inScene || !quad)
        return;
    unsigned id = 0;
    bool flip = false;
    if (quad->tex != 0) {
        auto it = textures.find(quad->tex);
        // An unknown texture, or a target drawn into itself, draws nothing.
        if (it == textures.end() || (it->second.target != 0 && it->second.target == sceneTarget))
            return;
        id = it->second.id;
        flip = it->second.target != 0;
    }
    batch->Add(*quad, id, flip);
}

void SdlEngine::Gfx_SetClipping(int x, int y, int w, int h)
{
    if (!inScene)
        return;
    batch->Flush();
    clipX = x;
    clipY = y;
    clipW = w;
    clipH = h;
    ApplyClipping();
}

void SdlEngine::Gfx_SetTransform(float x, float y, float dx, float dy, float rot, float hscale, float vscale)
{
    // Scaled and turned about (x, y), then moved by (dx, dy); a scale of 0 means 1.
    float sx = hscale == 0 ? 1.0f : hscale;
    float sy = vscale == 0 ? 1.0f : vscale;
    float c = std::cos(rot), s = std::sin(rot);
    float m[6] = {c * sx, -s * sy, 0, s * sx, c * sy, 0};
    m[2] = x + dx - (m[0] * x + m[1] * y);
    m[5] = y + dy - (m[3] * x + m[4] * y);
    batch->SetTransform(m);
}

// ---- render targets ----

HTARGET SdlEngine::Target_Create(int width, int height, bool)
{
    if (!glContext || width <= 0 || height <= 0)
        return 0;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width > maxSize || height > maxSize)
        return 0;
    batch->Flush();
    Texture texture;
    texture.width = width;
    texture.height = height;
    glGenTextures(1, &texture.id);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    Target target;
    target.width = width;
    target.height = height;
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.id, 0);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // Back to the scene being drawn, if any.
    auto current = targets.find(sceneTarget);
    glBindFramebuffer(GL_FRAMEBUFFER, inScene && current != targets.end() ? current->second.framebuffer : 0);
    if (inScene)
        ApplyClipping();
    if (!complete) {
        glDeleteFramebuffers(1, &target.framebuffer);
        glDeleteTextures(1, &texture.id);
        return 0;
    }
    HTARGET handle = nextHandle++;
    target.texture = nextHandle++;
    texture.target = handle;
    textures[target.texture] = texture;
    targets[handle] = target;
    return handle;
}

void SdlEngine::Target_Free(HTARGET target)
{
    auto it = targets.find(target);
    if (it == targets.end() || !glContext)
        return;
    batch->Flush();
    if (inScene && sceneTarget == target) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        inScene = false;
    }
    glDeleteFramebuffers(1, &it->second.framebuffer);
    auto texture = textures.find(it->second.texture);
    if (texture != textures.end()) {
        glDeleteTextures(1, &texture->second.id);
        textures.erase(texture);
    }
    targets.erase(it);
}

HTEXTURE SdlEngine::Target_GetTexture(HTARGET target)
{
    auto it = targets.find(target);
    return it == targets.end() ? 0 : it->second.texture;
}

bool SdlEngine::Target_ReadPixels(HTARGET target, std::vector<uint8_t>* rgba, int* width, int* height)
{
    if (!glContext || !rgba)
        return false;
    int w = 0, h = 0;
    GLuint framebuffer = 0;
    if (target == 0) {
        SDL_GL_GetDrawableSize(window, &w, &h);
    } else {
        auto it = targets.find(target);
        if (it == targets.end())
            return false;
        w = it->second.width;
        h = it->second.height;
        framebuffer = it->second.framebuffer;
    }
    batch->Flush();
    const size_t row = static_cast<size_t>(w) * 4;
    std::vector<uint8_t> bottomUp(row * static_cast<size_t>(h));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    auto current = targets.find(sceneTarget);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, inScene && current != targets.end() ? current->second.framebuffer : 0);
    rgba->resize(bottomUp.size());
    for (int y = 0; y < h; ++y)
        std::memcpy(rgba->data() + static_cast<size_t>(y) * row, bottomUp.data() + static_cast<size_t>(h - 1 - y) * row,
                    row);
    if (width)
        *width = w;
    if (height)
        *height = h;
    return true;
}

// ---- textures ----

HTEXTURE SdlEngine::Texture_Load(const char* name, uint32_t size, bool mipmap)
{
    if (!glContext)
        return 0;
    std::vector<uint8_t> bytes;
    if (!LoadBytes(name, size, &bytes) || bytes.empty() || bytes.size() > 0x7fffffff)
        return 0;
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!pixels)
        return 0;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (w <= 0 || h <= 0 || w > maxSize || h > maxSize) {
        stbi_image_free(pixels);
        return 0;
    }
    // Premultiplied texels filter and mipmap without dark or light fringes, and a
    // half-covered texel averages to half the colour.
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    for (size_t i = 0; i < count; ++i) {
        stbi_uc* p = pixels + i * 4;
        unsigned a = p[3];
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<stbi_uc>((p[c] * a + 127) / 255);
    }
    Texture texture;
    texture.width = w;
    texture.height = h;
    glGenTextures(1, &texture.id);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    stbi_image_free(pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (mipmap) {
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    HTEXTURE handle = nextHandle++;
    textures[handle] = texture;
    return handle;
}

void SdlEngine::Texture_Free(HTEXTURE texture)
{
    auto it = textures.find(texture);
    // A target's texture lives and dies with its target.
    if (it == textures.end() || it->second.target != 0 || !glContext)
        return;
    batch->Flush();
    glDeleteTextures(1, &it->second.id);
    textures.erase(it);
}

int SdlEngine::Texture_GetWidth(HTEXTURE texture, bool)
{
    auto it = textures.find(texture);
    return it == textures.end() ? 0 : it->second.width;
}

int SdlEngine::Texture_GetHeight(HTEXTURE texture, bool)
{
    auto it = textures.find(texture);
    return it == textures.end() ? 0 : it->second.height;
}
