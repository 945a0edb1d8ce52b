#include "tests/fake/FakeEngine.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/FileSearch.h"
#include "support/TIX.h"

#include <stb/stb_image.h>

namespace {

FakeEngine* clockOwner = nullptr;

int64_t FakeTicks()
{
    if (!clockOwner)
        return 0;
    int64_t now = clockOwner->clockMicros;
    clockOwner->clockMicros += clockOwner->clockStep;
    return now;
}

int PowerOfTwo(int n)
{
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

} // namespace

FakeEngine::FakeEngine()
{
    gfxInstall(this);
    clockOwner = this;
    TIX::SetCounter(FakeTicks, 1000000);
}

FakeEngine::~FakeEngine()
{
    gfxUninstall(this);
    if (clockOwner == this) {
        clockOwner = nullptr;
        TIX::SetCounter(nullptr, 0);
    }
}

HTEXTURE FakeEngine::TargetTexture(HTARGET target) const
{
    auto it = targets.find(target);
    return it == targets.end() ? 0 : it->second;
}

std::vector<FakeEngine::Quad> FakeEngine::QuadsInto(HTARGET target) const
{
    std::vector<Quad> result;
    for (const Quad& q : quads)
        if (q.target == target)
            result.push_back(q);
    return result;
}

bool FakeEngine::System_Initiate()
{
    calls.push_back("Initiate");
    return !initiateFails;
}

void FakeEngine::System_Shutdown()
{
    calls.push_back("Shutdown");
}

bool FakeEngine::System_Start()
{
    calls.push_back("Start");
    for (int frame = 0; frame < maxFrames; ++frame) {
        if (beforeFrame)
            beforeFrame(frame);
        ++framesRun;
        bool stop = frameFunc && frameFunc();
        if (renderFunc && !stop)
            renderFunc();
        wheel = 0;
        if (stop)
            break;
    }
    return true;
}

const char* FakeEngine::System_GetErrorMessage()
{
    return errorMessage.c_str();
}

void FakeEngine::System_Log(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    logLines.push_back(line);
}

void FakeEngine::System_SetState(gfxFuncState state, gfxCallback value)
{
    calls.push_back("SetState " + std::to_string(state));
    if (state == STATE_FRAMEFUNC)
        frameFunc = value;
    else if (state == STATE_RENDERFUNC)
        renderFunc = value;
}

void FakeEngine::System_SetState(gfxStringState state, const char* value)
{
    calls.push_back("SetState " + std::to_string(state));
    stringStates[state] = value ? value : "";
}

void FakeEngine::System_SetState(gfxIntState state, int value)
{
    calls.push_back("SetState " + std::to_string(state));
    intStates[state] = value;
}

void FakeEngine::System_SetState(gfxBoolState state, bool value)
{
    calls.push_back("SetState " + std::to_string(state));
    boolStates[state] = value;
}

int FakeEngine::System_MessageBox(const char* text, const char* caption, int style)
{
    calls.push_back("MessageBox");
    messageBoxes.push_back({text ? text : "", caption ? caption : "", style});
    return messageBoxAnswer;
}

void FakeEngine::System_GetDesktopSize(int* width, int* height)
{
    *width = desktopWidth;
    *height = desktopHeight;
}

bool FakeEngine::ReadFile(const char* name, std::string* bytes) const
{
    std::string path = NormalizePath(name);
    for (const auto& [key, value] : files) {
        if (NormalizePath(key.c_str()) == path) {
            *bytes = value;
            return true;
        }
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    *bytes = content.str();
    return true;
}

void* FakeEngine::Resource_Load(const char* name, uint32_t* size)
{
    std::string bytes;
    if (!ReadFile(name, &bytes)) {
        if (size)
            *size = 0;
        return nullptr;
    }
    void* data = std::malloc(bytes.size() + 1);
    std::memcpy(data, bytes.data(), bytes.size());
    if (size)
        *size = static_cast<uint32_t>(bytes.size());
    return data;
}

void FakeEngine::Resource_Free(void* data)
{
    std::free(data);
}

bool FakeEngine::Resource_AttachPack(const char* pack, const char*)
{
    calls.push_back(std::string("AttachPack ") + pack);
    if (!packsAvailable.count(pack))
        return false;
    attachedPacks.push_back(pack);
    return true;
}

std::vector<gfxFileEntry> FakeEngine::Resource_FindFiles(const char* pattern)
{
    if (scriptedSearch)
        return searchResult;
    return FindFiles(pattern);
}

float FakeEngine::Timer_GetDelta()
{
    return delta;
}

HEFFECT FakeEngine::Effect_Load(const char* name, uint32_t)
{
    std::string bytes;
    if (!ReadFile(name, &bytes) || bytes.empty())
        return 0;
    HEFFECT effect = nextHandle++;
    effects[effect] = name;
    return effect;
}

HCHANNEL FakeEngine::Effect_PlayEx(HEFFECT effect, int volume, int, float, bool)
{
    HCHANNEL channel = nextHandle++;
    sounds.push_back({effect, volume, channel});
    playing.insert(channel);
    return channel;
}

bool FakeEngine::Channel_IsPlaying(HCHANNEL channel)
{
    return playing.count(channel) != 0;
}

void FakeEngine::Channel_Stop(HCHANNEL channel)
{
    stopped.push_back(channel);
    playing.erase(channel);
}

void FakeEngine::Input_GetMousePos(float* x, float* y)
{
    *x = mouseX;
    *y = mouseY;
}

int FakeEngine::Input_GetMouseWheel()
{
    return wheel;
}

bool FakeEngine::Input_IsMouseOver()
{
    return mouseOver;
}

bool FakeEngine::Input_GetKeyState(int key)
{
    return keys.count(key) != 0;
}

bool FakeEngine::Gfx_BeginScene(HTARGET target)
{
    currentTarget = target;
    inScene = true;
    transformScale = 1.0f;
    clipX = clipY = clipW = clipH = 0;
    return true;
}

void FakeEngine::Gfx_EndScene()
{
    inScene = false;
}

void FakeEngine::Gfx_Clear(uint32_t color)
{
    clears.push_back({currentTarget, color});
}

void FakeEngine::Gfx_RenderQuad(const gfxQuad* quad)
{
    quads.push_back({*quad, currentTarget, transformScale, clipX, clipY, clipW, clipH});
}

void FakeEngine::Gfx_SetClipping(int x, int y, int w, int h)
{
    clipX = x;
    clipY = y;
    clipW = w;
    clipH = h;
}

void FakeEngine::Gfx_SetTransform(float, float, float, float, float, float hscale, float)
{
    transformScale = hscale;
}

HTARGET FakeEngine::Target_Create(int width, int height, bool)
{
    calls.push_back("TargetCreate " + std::to_string(width) + "x" + std::to_string(height));
    HTARGET target = nextHandle++;
    HTEXTURE texture = nextHandle++;
    textures[texture] = {"target", width, height, width, height, false, false};
    targets[target] = texture;
    return target;
}

void FakeEngine::Target_Free(HTARGET target)
{
    targets.erase(target);
}

HTEXTURE FakeEngine::Target_GetTexture(HTARGET target)
{
    return TargetTexture(target);
}

bool FakeEngine::Target_ReadPixels(HTARGET, std::vector<uint8_t>*, int*, int*)
{
    return false;
}

HTEXTURE FakeEngine::Texture_Load(const char* name, uint32_t, bool mipmap)
{
    std::string bytes;
    if (!ReadFile(name, &bytes))
        return 0;
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &w, &h,
                               &channels))
        return 0;
    HTEXTURE texture = nextHandle++;
    int tw = powerOfTwoTextures ? PowerOfTwo(w) : w;
    int th = powerOfTwoTextures ? PowerOfTwo(h) : h;
    textures[texture] = {name, w, h, tw, th, mipmap, false};
    return texture;
}

void FakeEngine::Texture_Free(HTEXTURE texture)
{
    auto it = textures.find(texture);
    if (it != textures.end())
        it->second.freed = true;
}

int FakeEngine::Texture_GetWidth(HTEXTURE texture, bool imageSize)
{
    auto it = textures.find(texture);
    if (it == textures.end())
        return 0;
    return imageSize ? it->second.imageWidth : it->second.width;
}

int FakeEngine::Texture_GetHeight(HTEXTURE texture, bool imageSize)
{
    auto it = textures.find(texture);
    if (it == textures.end())
        return 0;
    return imageSize ? it->second.imageHeight : it->second.height;
}
