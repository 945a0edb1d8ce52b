#pragma once

#include <cstdint>

// One colour of the 256-entry palette; each channel lies in 40..255.
struct PALETTE_ENTRY {
    int32_t r, g, b;
};
