#include "render/RenderFrame.h"

#include <cstdio>

#include "app/App.h"
#include "fractal/FrameHandler.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "fractal/ViewControl.h"
#include "registry/KIVO.h"
#include "registry/KIVO_GRAPHICS.h"
#include "render/ColorRGBA.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "support/TIX.h"

float dragAnchorX = 0.0f;
float dragAnchorY = 0.0f;

// Passed to the fonts as a format: it must hold no per cent sign.
const char* const helpText = "Vornaly - grown by its makers from a handful of small pictures\n"
                             "\n"
                             "\n"
                             "_____ Control _____\n"
                             "N - New screen\n"
                             "B - New colors\n"
                             "MouseWheel - Zoom screen\n"
                             "MouseRightButton+Move - Position\n"
                             "MouseWheel+CTRL - Zoom parts\n"
                             "Tab - Next iteration\n"
                             "A - Auto mode on\n"
                             "I - Info\n"
                             "X - Exits application\n"
                             "\n"
                             "\n"
                             "Thank you for\n"
                             "\n"
                             "SDL2 and OpenGL - window, input and graphics\n"
                             "SDL2_mixer - sound\n"
                             "SoX - the synthesised sounds\n"
                             "The Vornaly team - theme, development and design\n"
                             "\n"
                             "Vornaly 2026";

namespace {

constexpr double drawBudgetMs = 30.0;
constexpr int maxParts = 16777216;

// Draws parts of NEXT from renderCursor on until all are drawn or the budget is spent;
// at least one part per call while parts remain.
void DrawParts(TIX& watch)
{
    PART_BUFFER* next = SelectBuffer(NEXT);
    const float partScale = static_cast<float>(document.partScale);
    while (renderCursor < next->count) {
        const PART& part = ItemAt(next, renderCursor);
        KIVO_GRAPHICS* picture = registry->GetGraphics(part.picture);
        if (picture) {
            const PALETTE_ENTRY& entry = document.palette[part.color];
            ColorRGBA color(entry.r / 255.0f, entry.g / 255.0f, entry.b / 255.0f, 1.0f);
            picture->sprite->SetColor(color.ToARGB(), -1);
            picture->sprite->RenderTransformed(part.x + registry->originX, part.y + registry->originY, part.angle,
                                               part.scale * partScale, 0);
        }
        ++renderCursor;
        if (renderCursor >= next->count)
            break;
        watch.Run(false);
        if (watch.Elapsed(1) > drawBudgetMs)
            break;
    }
}

// Draws a text centred on x with a one-pixel dark shadow above-left and below-right.
void DrawShadowed(gfxFont* font, float x, float y, const char* text, uint32_t color)
{
    font->SetScale(1.0f);
    font->SetColor(0xFF000000);
    font->RenderFormatted(x + 1, y + 1, 2, text);
    font->RenderFormatted(x - 1, y - 1, 2, text);
    font->SetColor(color);
    font->RenderFormatted(x, y, 2, text);
}

} // namespace

bool RenderFrame()
{
    TIX watch;
    float mouseX = 0, mouseY = 0;
    engine->Input_GetMousePos(&mouseX, &mouseY);
    mouseX = static_cast<float>(mouseX / windowScale);
    mouseY = static_cast<float>(mouseY / windowScale);
    watch.Reset();
    watch.Run(true);

    targetSprite->SetTexture(engine->Target_GetTexture(renderTarget));

    const int clipWidth = static_cast<int>(baseWidth);
    const int clipHeight = static_cast<int>(baseHeight);
    const float zoom = static_cast<float>(document.zoom);
    engine->Gfx_BeginScene(renderTarget);
    engine->Gfx_SetTransform(0, 0, 0, 0, 0, zoom, zoom);
    if (renderCursor <= 0)
        engine->Gfx_Clear(0);
    engine->Gfx_SetClipping(0, 0, clipWidth, clipHeight);
    if (!engine->Input_GetKeyState(KEY_RBUTTON))
        DrawParts(watch);
    engine->Gfx_EndScene();

    engine->Gfx_BeginScene(0);
    // The screen holds the logical screen at window scale; a 960 x 960 window needs none.
    if (windowScale != 1.0)
        engine->Gfx_SetTransform(0, 0, 0, 0, 0, static_cast<float>(windowScale), static_cast<float>(windowScale));
    engine->Gfx_Clear(0);
    engine->Gfx_SetClipping(0, 0, clipWidth, clipHeight);
    if (dragging) {
        targetSprite->Render(static_cast<float>(lastMouseX) - dragAnchorX,
                             static_cast<float>(lastMouseY) - dragAnchorY);
    } else {
        targetSprite->Render(0, 0);
        dragAnchorX = mouseX;
        dragAnchorY = mouseY;
    }

    const float x0 = static_cast<float>(baseWidth * 0.5);
    if (engine->Input_GetKeyState(KEY_LBUTTON)) {
        DrawShadowed(bigFont, x0, 180, productName, 0xFFFFFF20);
        DrawShadowed(smallFont, x0, 220, helpText, 0xFFFFFF20);
    }

    PART_BUFFER* next = SelectBuffer(NEXT);
    if (engine->Input_GetKeyState(KEY_TAB) || engine->Input_GetKeyState(KEY_I) || next->capacity > renderCursor)
        infoUntil = frameTime + 5 * keyDelay;

    if (infoUntil > frameTime) {
        char text[64];
        int capacity = PartCapacity(NEXT);
        bool atLimit = static_cast<int64_t>(next->capacity) * document.transformCount > maxParts;
        std::snprintf(text, sizeof text, atLimit ? "Number of parts: %ld (max items)" : "Number of parts: %ld",
                      static_cast<long>(capacity));
        DrawShadowed(smallFont, x0, 50, text, 0xFFFFFFFF);
    }
    engine->Gfx_EndScene();
    return false;
}
