#pragma once

#include <cstdint>

// One placed picture; also the record of one transform of the document, where
// picture/x/y/angle/scale are read as a rule and color is unused.
struct PART {
    // Position of the picture in the registry's order of addition.
    int32_t picture;
    // Position in document units.
    float x, y;
    // Radians.
    float angle;
    float scale;
    // Palette index 0..255.
    int32_t color;
};

static_assert(sizeof(PART) == 24, "a part is six 32-bit fields");
