// Quads per second that the real engine draws into a 960 x 960 render target:
// turned, additive, mipmapped quads from 1 to 32 pixels, the way the renderer draws
// parts. Every measurement ends with a read-back of the target, so the GPU work is
// inside it.
//
//   SDL_VIDEODRIVER=offscreen bench_engine_quads [--png picture.png]
//
// --png also writes a picture of turned additive quads drawn through the engine.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/Engine.h"

#include <stb/stb_image_write.h>

namespace {

constexpr int kTargetSize = 960;
constexpr double kSecondsPerBand = 0.6;

// A soft white disc on transparency, like the program's pictures, with a notch
// cut out of its top-right so that a mirrored or upside-down draw shows.
std::vector<uint8_t> MakePicturePng()
{
    const int n = 128;
    std::vector<uint8_t> rgba(static_cast<size_t>(n) * n * 4);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            double dx = (x + 0.5) / n - 0.5, dy = (y + 0.5) / n - 0.5;
            double r = std::sqrt(dx * dx + dy * dy) * 2.0;
            double alpha = r >= 1.0 ? 0.0 : std::pow(1.0 - r, 0.7);
            if (dx > 0.1 && dy < -0.1)
                alpha = 0.0;
            uint8_t* p = &rgba[(static_cast<size_t>(y) * n + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<uint8_t>(alpha * 255.0 + 0.5);
        }
    }
    std::vector<uint8_t> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<uint8_t>*>(context);
            out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        },
        &png, n, n, 4, rgba.data(), n * 4);
    return png;
}

// A quad of the whole texture, size px large, centred at (x, y) and turned by angle.
gfxQuad TurnedQuad(HTEXTURE texture, float x, float y, float size, float angle, uint32_t color, int blend)
{
    gfxQuad quad{};
    const float c = std::cos(angle), s = std::sin(angle), h = size / 2;
    const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        float a = corners[i][0], b = corners[i][1];
        quad.v[i] = {a * c - b * s + x, a * s + b * c + y, 0.5f, color, uv[i][0], uv[i][1]};
    }
    quad.tex = texture;
    quad.blend = blend;
    return quad;
}

std::vector<gfxQuad> MakeQuads(HTEXTURE texture, int count, float minSize, float maxSize, std::mt19937* random)
{
    std::uniform_real_distribution<float> position(0, kTargetSize), angle(0, 6.2831853f), unit(0, 1);
    std::uniform_int_distribution<uint32_t> channel(40, 255);
    std::vector<gfxQuad> quads;
    quads.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        float size = minSize + (maxSize - minSize) * unit(*random);
        uint32_t color = 0xFF000000 | channel(*random) << 16 | channel(*random) << 8 | channel(*random);
        quads.push_back(
            TurnedQuad(texture, position(*random), position(*random), size, angle(*random), color, BLEND_ADDITIVE));
    }
    return quads;
}

// Seconds to draw the quads into the target, the read-back included.
double DrawAndFinish(Engine* engine, HTARGET target, const std::vector<gfxQuad>& quads)
{
    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    auto start = std::chrono::steady_clock::now();
    engine->Gfx_BeginScene(target);
    engine->Gfx_Clear(0);
    for (const gfxQuad& quad : quads)
        engine->Gfx_RenderQuad(&quad);
    engine->Gfx_EndScene();
    engine->Target_ReadPixels(target, &pixels, &w, &h);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool WritePicture(Engine* engine, HTARGET target, HTEXTURE texture, const char* path)
{
    std::mt19937 random(7);
    engine->Gfx_BeginScene(target);
    engine->Gfx_Clear(0);
    // Upright check: a red bar along the top edge and a green one down the left.
    gfxQuad bar = TurnedQuad(0, kTargetSize / 2.0f, 8, 16, 0, 0xFFFF0000, BLEND_ALPHA);
    for (gfxVertex& v : bar.v)
        v.x = v.x < kTargetSize / 2.0f ? 0.0f : static_cast<float>(kTargetSize);
    engine->Gfx_RenderQuad(&bar);
    gfxQuad side = TurnedQuad(0, 8, kTargetSize / 2.0f, 16, 0, 0xFF00FF00, BLEND_ALPHA);
    for (gfxVertex& v : side.v)
        v.y = v.y < kTargetSize / 2.0f ? 16.0f : static_cast<float>(kTargetSize);
    engine->Gfx_RenderQuad(&side);
    // A spiral of turned additive pictures growing outwards, then a dust of tiny ones.
    for (int i = 0; i < 400; ++i) {
        float t = i * 0.11f, r = 20.0f + i * 1.0f;
        uint32_t color = (i % 2 ? 0x60FF8040u : 0x604080FFu);
        gfxQuad quad =
            TurnedQuad(texture, 480 + r * std::cos(t), 480 + r * std::sin(t), 8 + i * 0.2f, t, color, BLEND_ADDITIVE);
        engine->Gfx_RenderQuad(&quad);
    }
    for (const gfxQuad& quad : MakeQuads(texture, 20000, 1, 3, &random))
        engine->Gfx_RenderQuad(&quad);
    // The picture itself, large and unturned, at the top left: notch at its top right.
    gfxQuad big = TurnedQuad(texture, 120, 120, 160, 0, 0xFFFFFFFF, BLEND_ALPHA);
    engine->Gfx_RenderQuad(&big);
    engine->Gfx_EndScene();

    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    if (!engine->Target_ReadPixels(target, &pixels, &w, &h))
        return false;
    // Pixels are premultiplied: over black they show as they are.
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    return stbi_write_png(path, w, h, 4, pixels.data(), w * 4) != 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* pngPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            pngPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--png picture.png]\n", argv[0]);
            return 2;
        }
    }
    // Headless by default; a caller may choose another driver.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    Engine* engine = gfxCreate(GFX_VERSION);
    engine->System_SetState(STATE_TITLE, "bench_engine_quads");
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREENWIDTH, 64);
    engine->System_SetState(STATE_SCREENHEIGHT, 64);
    if (!engine->System_Initiate()) {
        std::fprintf(stderr, "engine failed: %s\n", engine->System_GetErrorMessage());
        engine->Release();
        return 1;
    }
    HTARGET target = engine->Target_Create(kTargetSize, kTargetSize, false);
    std::vector<uint8_t> png = MakePicturePng();
    HTEXTURE texture =
        engine->Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size()), true);
    if (!target || !texture) {
        std::fprintf(stderr, "no target or texture\n");
        engine->System_Shutdown();
        engine->Release();
        return 1;
    }

    int status = 0;
    if (pngPath) {
        if (WritePicture(engine, target, texture, pngPath)) {
            std::printf("wrote %s\n", pngPath);
        } else {
            std::fprintf(stderr, "could not write %s\n", pngPath);
            status = 1;
        }
    }

    std::printf("turned additive mipmapped quads into a %dx%d target (GL read-back included)\n", kTargetSize,
                kTargetSize);
    std::printf("%-10s %10s %10s %14s\n", "size px", "quads", "seconds", "quads/s");
    struct Band {
        float minSize, maxSize;
    };
    std::mt19937 random(1);
    for (Band band : {Band{1, 1}, Band{2, 2}, Band{4, 4}, Band{8, 8}, Band{16, 16}, Band{32, 32}, Band{1, 32}}) {
        // Grow the batch until one draw takes long enough to measure.
        int count = 1000;
        double seconds = 0;
        for (;;) {
            std::vector<gfxQuad> quads = MakeQuads(texture, count, band.minSize, band.maxSize, &random);
            DrawAndFinish(engine, target, quads);
            seconds = DrawAndFinish(engine, target, quads);
            if (seconds >= kSecondsPerBand || count >= (1 << 23))
                break;
            count = seconds < kSecondsPerBand / 8 ? count * 8 : count * 2;
        }
        char label[32];
        if (band.minSize == band.maxSize)
            std::snprintf(label, sizeof label, "%g", band.minSize);
        else
            std::snprintf(label, sizeof label, "%g-%g", band.minSize, band.maxSize);
        std::printf("%-10s %10d %10.3f %14.0f\n", label, count, seconds, count / seconds);
        std::fflush(stdout);
    }

    engine->Texture_Free(texture);
    engine->Target_Free(target);
    engine->System_Shutdown();
    engine->Release();
    return status;
}
