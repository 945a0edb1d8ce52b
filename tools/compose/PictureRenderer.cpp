#include "tools/compose/PictureRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <stb/stb_image_write.h>

#include "app/App.h"
#include "app/ResourceLoading.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "registry/KIVO.h"
#include "render/RenderFrame.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"

namespace {

bool WritePng(const std::string& path, int width, int height, std::vector<uint8_t>& rgba)
{
    // The target holds colours weighted by their alpha: over black they stand as they are.
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 255;
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

} // namespace

void PictureRenderer::FitView(int width, int height)
{
    const PART_BUFFER* next = SelectBuffer(NEXT);
    CorrectPartScale();
    double spanX = std::fabs(static_cast<double>(next->maxX) - next->minX);
    double spanY = std::fabs(static_cast<double>(next->maxY) - next->minY);
    double zoomX = spanX > 0 ? (width - fitMargin) / spanX : 1.0;
    double zoomY = spanY > 0 ? (height - fitMargin) / spanY : 1.0;
    document.zoom = std::max(1e-6, std::min(zoomX, zoomY));
    document.panX = -(static_cast<double>(next->minX) + next->maxX) * 0.5;
    document.panY = -(static_cast<double>(next->minY) + next->maxY) * 0.5;
    registry->originX = static_cast<float>(baseWidth * 0.5 / document.zoom + document.panX);
    registry->originY = static_cast<float>(baseHeight * 0.5 / document.zoom + document.panY);
}

bool PictureRenderer::DrawToPng(const std::string& path, int width, int height, std::string* error)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    engine = gfxCreate(GFX_VERSION);
    baseWidth = width;
    baseHeight = height;
    windowScale = 1.0;
    engine->System_SetState(STATE_TITLE, "vornaly-render");
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREENWIDTH, width);
    engine->System_SetState(STATE_SCREENHEIGHT, height);
    bool drawn = false;
    if (!engine->System_Initiate()) {
        *error = std::string("the engine did not start: ") + engine->System_GetErrorMessage();
    } else {
        registry = new KIVO();
        registry->reducedRemoval = true;
        engine->Resource_AttachPack("Graphics.paq");
        if (LoadGraphics()) {
            *error = "can't load the pictures of pix/";
        } else {
            renderTarget = engine->Target_Create(width, height, false);
            targetSprite = new gfxSprite(engine->Target_GetTexture(renderTarget), 0, 0, static_cast<float>(width),
                                         static_cast<float>(height));
            FitView(width, height);
            renderCursor = 0;
            const PART_BUFFER* next = SelectBuffer(NEXT);
            do
                RenderFrame();
            while (renderCursor < next->count);

            std::vector<uint8_t> rgba;
            int w = 0, h = 0;
            if (!engine->Target_ReadPixels(renderTarget, &rgba, &w, &h))
                *error = "can't read the picture back";
            else if (!WritePng(path, w, h, rgba))
                *error = "can't write '" + path + "'";
            else
                drawn = true;
            delete targetSprite;
            targetSprite = nullptr;
            engine->Target_Free(renderTarget);
            renderTarget = 0;
        }
        delete bigFont;
        delete smallFont;
        bigFont = smallFont = nullptr;
        delete registry;
        registry = nullptr;
    }
    engine->System_Shutdown();
    engine->Release();
    engine = nullptr;
    return drawn;
}
