#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fractal/PALETTE_ENTRY.h"
#include "fractal/PART.h"
#include "fractal/RandomStreams.h"

class ComposeOptions;
class NullEngine;

// One composition as vornaly-render makes and reports it: composed by the program's own
// Generate with all flags and grown by its own generation step, without frame budget.
class Composition {
public:
    // The figures of one complete generation, as NEXT holds them.
    struct Generation {
        int32_t parts;
        float minX, maxX, minY, maxY;
        float minScale, maxScale;
        // The document's partScale once the generation is complete.
        double partScale;
    };

    StreamSeeds seeds = {0, 0, 0};
    int32_t pictureCount = 0;
    int32_t transformCount = 0;
    PART transforms[5] = {};
    PALETTE_ENTRY palette[256] = {};
    // Index 0 is the first generation that Generate places.
    std::vector<Generation> generations;
    // Growth ended because a generation's array could not be allocated.
    bool outOfMemory = false;

    // Composes and grows with the given options. Needs `engine` to be nullEngine; creates
    // the global registry with pictureCount pictures (or those of pix/) and leaves it,
    // the document and the part buffers in place for WriteJson.
    void Compose(const ComposeOptions& options, NullEngine* nullEngine);

    // One JSON object; with parts, every part of the last generation (the NEXT buffer).
    void WriteJson(FILE* out, bool withParts) const;
};
