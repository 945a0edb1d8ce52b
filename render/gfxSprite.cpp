#include "render/gfxSprite.h"

#include <cmath>

Engine* gfxSprite::gfx = nullptr;

// The size by which texture coordinates are normalised: the texture as the engine holds
// it, or 1 x 1 without texture. A size the engine does not know (0) also counts as 1, so
// that a stale handle cannot turn the coordinates into infinities.
void gfxSprite::TextureSize(HTEXTURE texture, float* width, float* height)
{
    int w = texture ? gfx->Texture_GetWidth(texture, false) : 0;
    int h = texture ? gfx->Texture_GetHeight(texture, false) : 0;
    *width = w > 0 ? static_cast<float>(w) : 1.0f;
    *height = h > 0 ? static_cast<float>(h) : 1.0f;
}

gfxSprite::gfxSprite(HTEXTURE texture, float texX, float texY, float width, float height)
    : texX(texX), texY(texY), width(width), height(height), texWidth(1.0f), texHeight(1.0f), hotX(0), hotY(0)
{
    gfx = gfxCreate(GFX_VERSION);
    TextureSize(texture, &texWidth, &texHeight);
    for (gfxVertex& v : quad.v) {
        v.x = 0;
        v.y = 0;
        v.z = 0.5f;
        v.col = 0xFFFFFFFF;
    }
    MapTexture(texX / texWidth, texY / texHeight, (texX + width) / texWidth, (texY + height) / texHeight);
    quad.tex = texture;
    quad.blend = BLEND_ALPHA;
}

gfxSprite::~gfxSprite()
{
    gfx->Release();
}

void gfxSprite::PlaceRectangle(float x1, float y1, float x2, float y2)
{
    quad.v[0].x = x1;
    quad.v[0].y = y1;
    quad.v[1].x = x2;
    quad.v[1].y = y1;
    quad.v[2].x = x2;
    quad.v[2].y = y2;
    quad.v[3].x = x1;
    quad.v[3].y = y2;
}

void gfxSprite::MapTexture(float left, float top, float right, float bottom)
{
    quad.v[0].tx = left;
    quad.v[0].ty = top;
    quad.v[1].tx = right;
    quad.v[1].ty = top;
    quad.v[2].tx = right;
    quad.v[2].ty = bottom;
    quad.v[3].tx = left;
    quad.v[3].ty = bottom;
}

void gfxSprite::Render(float x, float y)
{
    PlaceRectangle(x - hotX, y - hotY, x + width - hotX, y + height - hotY);
    gfx->Gfx_RenderQuad(&quad);
}

void gfxSprite::RenderTransformed(float x, float y, float angle, float scaleX, float scaleY)
{
    if (scaleY == 0)
        scaleY = scaleX;
    float a1 = -hotX * scaleX;
    float b1 = -hotY * scaleY;
    float a2 = (width - hotX) * scaleX;
    float b2 = (height - hotY) * scaleY;
    if (angle != 0) {
        float cosA = static_cast<float>(std::cos(static_cast<double>(angle)));
        float sinA = static_cast<float>(std::sin(static_cast<double>(angle)));
        quad.v[0].x = a1 * cosA - b1 * sinA + x;
        quad.v[0].y = a1 * sinA + b1 * cosA + y;
        quad.v[1].x = a2 * cosA - b1 * sinA + x;
        quad.v[1].y = a2 * sinA + b1 * cosA + y;
        quad.v[2].x = a2 * cosA - b2 * sinA + x;
        quad.v[2].y = a2 * sinA + b2 * cosA + y;
        quad.v[3].x = a1 * cosA - b2 * sinA + x;
        quad.v[3].y = a1 * sinA + b2 * cosA + y;
    } else {
        PlaceRectangle(a1 + x, b1 + y, a2 + x, b2 + y);
    }
    gfx->Gfx_RenderQuad(&quad);
}

void gfxSprite::SetTexture(HTEXTURE texture)
{
    quad.tex = texture;
    float newWidth, newHeight;
    TextureSize(texture, &newWidth, &newHeight);
    if (newWidth == texWidth && newHeight == texHeight)
        return;
    // Back to pixels with the old size, then normalised by the new one.
    float p1 = quad.v[0].tx * texWidth;
    float q1 = quad.v[0].ty * texHeight;
    float p2 = quad.v[2].tx * texWidth;
    float q2 = quad.v[2].ty * texHeight;
    texWidth = newWidth;
    texHeight = newHeight;
    MapTexture(p1 / texWidth, q1 / texHeight, p2 / texWidth, q2 / texHeight);
}

void gfxSprite::SetColor(uint32_t color, int vertex)
{
    if (vertex == -1) {
        for (gfxVertex& v : quad.v)
            v.col = color;
    } else if (vertex >= 0 && vertex < 4) {
        quad.v[vertex].col = color;
    }
}
