#include "fractal/SPRITE.h"

#include <cstdlib>

#include "app/App.h"
#include "fractal/FrameHandler.h"
#include "fractal/PartBuffers.h"
#include "registry/KIVO.h"

SPRITE document;
HCHANNEL soundChannel = 0;
int32_t lastSounds[3] = {-1, -1, -1};

namespace {

constexpr double twoPi = 6.283185307179586;

} // namespace

void SPRITE::DeleteAt(int32_t position)
{
    if (position < 0 || position >= static_cast<int32_t>(objects.size()))
        return;
    objects.erase(objects.begin() + position);
}

void SPRITE::Clear()
{
    while (!objects.empty())
        DeleteAt(0);
}

void SPRITE::Generate(uint8_t flags)
{
    ReseedStreams();
    Renew(flags);
}

void SPRITE::Generate(uint8_t flags, const StreamSeeds& seeds)
{
    ReseedStreams(seeds);
    Renew(flags);
}

void SPRITE::Renew(uint8_t flags)
{
    if (flags & GEN_TRANSFORMS) {
        BuildTransforms();
        MutateTransforms();
    }
    if (flags & GEN_PALETTE)
        BuildPalette();
    if (flags & GEN_RESET) {
        generationsDone = 0;
        generationsBegun = 0;
        autoLimit = 20000;
        zoom = WindowScale() * 0.5;
        panX = panY = 0;
        bufferSelector = 0;
        stepCursor = 0;
        renderCursor = 0;
        partScale = 1.0;
        autoMode = 1;
    }
    // The first generation: one part per transform, at twice its scale.
    if (AllocateBuffer(NEXT, transformCount)) {
        for (int32_t i = 0; i < transformCount; ++i) {
            const PART& t = transforms[i];
            AppendPart(NEXT, t.x, t.y, t.picture, t.angle, t.scale * 2.0f, 0);
        }
    } else {
        ClearBuffer(NEXT);
    }
    if (flags & GEN_TRANSFORMS)
        PlayCompositionSound();
}

void SPRITE::BuildTransforms()
{
    int32_t pictures = registry ? registry->GraphicsCount() : 0;
    for (PART& t : transforms)
        t.picture = -1;
    transformCount = RandomDraw(transformStream, 3) + 2;
    for (int32_t i = 0; i < transformCount; ++i) {
        PART& t = transforms[i];
        t.picture = pictures <= 1 ? 0 : RandomDraw(transformStream, pictures - 1);
        t.x = static_cast<float>(RandomDraw(transformStream, 900) - 450);
        t.y = static_cast<float>(RandomDraw(transformStream, 900) - 450);
        int32_t division;
        if (RandomDraw(transformStream, 3) != 0)
            division = RandomDraw(transformStream, 14) + 2;
        else
            division = RandomDraw(transformStream, 1) == 0 ? 32 : 64;
        int32_t k = RandomDraw(transformStream, division - 1);
        t.angle = static_cast<float>(k * twoPi / division);
        t.scale = static_cast<float>(RandomDraw(transformStream, 15) * 0.01 + 0.5);
        t.color = 0;
    }
}

void SPRITE::MutateTransforms()
{
    int32_t mutations = RandomDraw(mutationStream, 6);
    for (int32_t m = 0; m < mutations; ++m) {
        int32_t target = RandomDraw(mutationStream, transformCount - 1);
        int32_t source = RandomDraw(mutationStream, transformCount - 1);
        if (target == source)
            continue;
        PART& to = transforms[target];
        const PART& from = transforms[source];
        switch (RandomDraw(mutationStream, 8)) {
        case 0:
            to.picture = from.picture;
            break;
        case 1:
            to.x = from.x;
            break;
        case 2:
            to.y = from.y;
            break;
        case 3:
            to.angle = from.angle;
            break;
        case 4:
            to.scale = from.scale;
            break;
        case 5:
            to.x = -from.x;
            break;
        case 6:
            to.y = -from.y;
            break;
        case 7:
            to.angle = -from.angle;
            break;
        default:
            to.x = 2.0f * from.x;
            break;
        }
    }
}

void SPRITE::BuildPalette()
{
    int32_t value[3];
    int32_t step[3];
    for (int32_t& v : value)
        v = RandomDraw(paletteStream, 255);
    // Too slow a walk would give a nearly flat palette.
    do {
        for (int32_t& s : step)
            s = RandomDraw(paletteStream, 48) - 24;
    } while (std::abs(step[0]) + std::abs(step[1]) + std::abs(step[2]) < 24);
    WalkPalette(palette, value, step);
    paletteShift = 0;
}

void SPRITE::WalkPalette(PALETTE_ENTRY (&palette)[256], int32_t (&value)[3], int32_t (&step)[3])
{
    for (PALETTE_ENTRY& entry : palette) {
        for (int c = 0; c < 3; ++c) {
            value[c] += step[c];
            if (value[c] < 40) {
                value[c] = 80 - value[c];
                step[c] = -step[c];
            }
            if (value[c] > 255) {
                value[c] = 510 - value[c];
                step[c] = -step[c];
            }
        }
        entry.r = value[0];
        entry.g = value[1];
        entry.b = value[2];
    }
}

void SPRITE::PlayCompositionSound()
{
    if (!engine)
        return;
    if (engine->Channel_IsPlaying(soundChannel))
        engine->Channel_Stop(soundChannel);
    int32_t pick = lastSounds[0];
    do {
        pick = RuntimeRandom(6);
    } while (pick == lastSounds[0] || pick == lastSounds[1] || pick == lastSounds[2]);
    soundChannel = engine->Effect_PlayEx(effectCompositions[pick], 80, 0, 1.0f, false);
    lastSounds[2] = lastSounds[1];
    lastSounds[1] = lastSounds[0];
    lastSounds[0] = pick;
}

void ResetScene()
{
    if (registry)
        registry->RemoveAllObjects(false);
    document.Clear();
    frameTime = 0;
    nextKeyTime = 0;
    infoUntil = 0;
}
