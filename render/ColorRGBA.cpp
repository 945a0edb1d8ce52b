#include "render/ColorRGBA.h"

uint32_t ColorRGBA::ToARGB() const
{
    auto channel = [](float value) { return static_cast<uint32_t>(static_cast<int32_t>(value * 255.0f)) & 0xFF; };
    return (channel(a) << 24) + (channel(r) << 16) + (channel(g) << 8) + channel(b);
}
