#pragma once

#include <cstdint>

#include "platform/Engine.h"

// A rectangle cut from a texture, drawn as one quad through the engine.
// The sprite never owns its texture. Each sprite holds one engine reference from
// construction to destruction; all sprites share one engine pointer.
// Drawing allocates nothing: it writes the quad's positions in place and makes one call.
class gfxSprite {
public:
    // texture may be 0: texture coordinates then equal the pixel rectangle.
    gfxSprite(HTEXTURE texture, float texX, float texY, float width, float height);
    ~gfxSprite();
    gfxSprite(const gfxSprite&) = delete;
    gfxSprite& operator=(const gfxSprite&) = delete;

    // Unturned and unscaled, the hot spot at (x, y).
    void Render(float x, float y);
    // The hot spot at (x, y), turned by angle (radians, clockwise on screen) and scaled
    // about the hot spot; a scaleY of 0 stands for scaleX.
    void RenderTransformed(float x, float y, float angle, float scaleX, float scaleY = 0);

    // Keeps the same pixel rectangle on the new texture.
    void SetTexture(HTEXTURE texture);
    HTEXTURE GetTexture() const { return quad.tex; }
    // vertex -1 colours all four corners, 0..3 one of them (top-left, top-right,
    // bottom-right, bottom-left); any other index is ignored.
    void SetColor(uint32_t color, int vertex = -1);
    void SetBlendMode(int blend) { quad.blend = blend; }
    void SetHotSpot(float x, float y)
    {
        hotX = x;
        hotY = y;
    }
    float GetWidth() const { return width; }

    // The engine pointer shared by every sprite.
    static Engine* gfx;

    gfxQuad quad;
    // Source rectangle in texture pixels; width and height are also the drawn size at scale 1.
    float texX, texY;
    float width, height;
    // Size of the texture as the engine holds it (1 without texture), by which the
    // texture coordinates are normalised.
    float texWidth, texHeight;
    // The point placed at the drawing position and the centre of turning and scaling,
    // in pixels from the rectangle's top-left corner.
    float hotX, hotY;

private:
    static void TextureSize(HTEXTURE texture, float* width, float* height);
    // Corners of an unturned rectangle, in the vertex order top-left, top-right,
    // bottom-right, bottom-left.
    void PlaceRectangle(float x1, float y1, float x2, float y2);
    // Texture coordinates of the corners, in the same order.
    void MapTexture(float left, float top, float right, float bottom);
};
