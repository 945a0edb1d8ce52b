#pragma once

#include <cstdint>
#include <string>

#include "platform/Engine.h"
#include "registry/KIVO_COLLISIONCIRCLE.h"
#include "registry/KIVO_NODEPOINT.h"

class gfxSprite;
class KIVO;

// One picture of the registry: its name, its number and its own sprite over the
// picture's rectangle of a texture. The entry owns the sprite, not the texture.
class KIVO_GRAPHICS {
public:
    // The sprite gets the rectangle (x, y, width, height) of texture, colour 0xFFFFFFFF
    // and blend mode 2. width and height become the larger of the given size and the
    // minimum; a minimum that is not a number leaves the given size.
    KIVO_GRAPHICS(const char* name, HTEXTURE texture, float x, float y, float width, float height, KIVO* owner,
                  float minWidth, float minHeight, int32_t number);
    ~KIVO_GRAPHICS();
    KIVO_GRAPHICS(const KIVO_GRAPHICS&) = delete;
    KIVO_GRAPHICS& operator=(const KIVO_GRAPHICS&) = delete;

    std::string name;
    int32_t number;
    gfxSprite* sprite;
    KIVO_COLLISIONCIRCLE collisionCircles;
    KIVO_NODEPOINT nodePoints;
    float width;
    float height;
    KIVO* owner;
    std::string text;
};
