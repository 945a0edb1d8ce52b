#include "registry/KIVO_GRAPHICS.h"

#include "render/gfxSprite.h"

KIVO_GRAPHICS::KIVO_GRAPHICS(const char* name, HTEXTURE texture, float x, float y, float width, float height,
                             KIVO* owner, float minWidth, float minHeight, int32_t number)
    : name(name ? name : ""), number(number), sprite(new gfxSprite(texture, x, y, width, height)), width(width),
      height(height), owner(owner)
{
    sprite->SetColor(0xFFFFFFFF, -1);
    sprite->SetBlendMode(BLEND_ALPHA);
    if (minWidth > this->width)
        this->width = minWidth;
    if (minHeight > this->height)
        this->height = minHeight;
}

KIVO_GRAPHICS::~KIVO_GRAPHICS()
{
    delete sprite;
}
