#pragma once

#include <cstdint>

// A colour of four floats, each meant in 0..1.
class ColorRGBA {
public:
    float r, g, b, a;

    ColorRGBA(float r, float g, float b, float a) : r(r), g(g), b(b), a(a) {}

    // The engine's 32-bit ARGB colour; each channel times 255, cut toward zero.
    uint32_t ToARGB() const;
};
