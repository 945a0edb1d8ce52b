#include "fractal/GenerationStep.h"

#include <cmath>

#include "app/App.h"
#include "fractal/FrameHandler.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "support/TIX.h"

namespace {

constexpr double pi = 3.141592653589793;

} // namespace

float DirectionAngle(float dx, float dy)
{
    float a;
    if (dx == 0.0f)
        a = static_cast<float>(std::atan(static_cast<double>(dy) * 1e38));
    else
        a = static_cast<float>(std::atan(static_cast<double>(dy) / static_cast<double>(dx)));
    if (dx >= 0.0f && dy >= 0.0f)
        return a;
    if (dx < 0.0f && dy >= 0.0f)
        return static_cast<float>(a + pi);
    if (dx < 0.0f)
        return static_cast<float>(a - pi);
    return static_cast<float>(a + 2.0 * pi);
}

void RotateAbout(float& x, float& y, float pivotX, float pivotY, float angle)
{
    float dx = pivotX - x;
    float dy = pivotY - y;
    float r = static_cast<float>(
        std::sqrt(std::fabs(static_cast<double>(dx) * static_cast<double>(dx) + static_cast<double>(dy) * dy)));
    float phi = static_cast<float>(static_cast<double>(DirectionAngle(dx, dy)) + angle);
    x = static_cast<float>(pivotX - std::cos(static_cast<double>(phi)) * r);
    y = static_cast<float>(pivotY - std::sin(static_cast<double>(phi)) * r);
}

void CorrectPartScale()
{
    const PART_BUFFER* next = SelectBuffer(NEXT);
    document.partScale = 1.0;
    // An empty generation has no scale to correct to.
    if (next->count == 0)
        return;
    if (next->maxScale < partScaleTarget)
        document.partScale = partScaleTarget / next->maxScale;
    else if (next->minScale > partScaleTarget)
        document.partScale = partScaleTarget / next->minScale;
}

void BeginGeneration()
{
    SPRITE& doc = document;
    if (doc.generationsDone < doc.generationsBegun)
        return;
    bool tab = engine && engine->Input_GetKeyState(KEY_TAB);
    int32_t newest = PartCapacity(NEXT);
    if (newest >= doc.autoLimit && !(tab && nextKeyTime < frameTime))
        return;
    int64_t size = static_cast<int64_t>(newest) * doc.transformCount;
    if (size <= maxItems) {
        // The array comes first: when it cannot be had the generation is refused as at
        // the size limit, and the picture shown stays as it is.
        PART* items = NewPartArray(static_cast<int32_t>(size));
        if (items) {
            doc.generationsBegun += 1;
            bufferSelector = (bufferSelector + 1) % 2;
            AdoptBuffer(NEXT, items, static_cast<int32_t>(size));
            stepCursor = 0;
            renderCursor = 0;
            if (tab) {
                doc.autoMode = 0;
                engine->Effect_PlayEx(effectIteration, 50, 0, 1.0f, false);
            }
        }
    }
    nextKeyTime = frameTime + keyDelay;
}

void GrowStep()
{
    SPRITE& doc = document;
    if (doc.generationsDone >= doc.generationsBegun)
        return;
    const PART_BUFFER* current = SelectBuffer(CURRENT);
    PART_BUFFER* next = SelectBuffer(NEXT);
    const int32_t parents = current->capacity;
    const int32_t count = doc.transformCount;
    PART rules[5];
    for (int32_t i = 0; i < count; ++i)
        rules[i] = doc.transforms[i];
    for (;;) {
        if (stepCursor < parents) {
            const PART p = current->items[stepCursor];
            for (int32_t i = 0; i < count; ++i) {
                const PART& t = rules[i];
                float angle = p.angle + t.angle;
                float scale = p.scale * t.scale;
                float x = static_cast<float>(static_cast<double>(t.x) * scale + p.x);
                float y = static_cast<float>(static_cast<double>(t.y) * scale + p.y);
                RotateAbout(x, y, p.x, p.y, angle);
                next->Append(x, y, t.picture, angle, scale, (p.color + 2 * i) & 255);
            }
            ++stepCursor;
        }
        if (stepCursor >= parents) {
            if (doc.autoMode != 0)
                CorrectPartScale();
            doc.generationsDone += 1;
            return;
        }
        if (stepTimer) {
            stepTimer->Run(false);
            if (stepTimer->Elapsed(1) > stepBudget)
                return;
        }
    }
}
