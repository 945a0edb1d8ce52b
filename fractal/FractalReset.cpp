#include "fractal/FractalReset.h"

#include "fractal/FrameHandler.h"
#include "fractal/PartBuffers.h"
#include "fractal/RandomStreams.h"
#include "fractal/SPRITE.h"
#include "fractal/ViewControl.h"

void ResetFractalGlobals()
{
    transformStream = mutationStream = paletteStream = 0;
    lastStreamSeeds = {0, 0, 0};

    SPRITE& doc = document;
    doc.Clear();
    doc.transformCount = 0;
    for (PART& t : doc.transforms)
        t = PART{};
    doc.partScale = 0;
    doc.generationsDone = doc.generationsBegun = 0;
    doc.autoLimit = 0;
    for (PALETTE_ENTRY& entry : doc.palette)
        entry = PALETTE_ENTRY{};
    doc.paletteShift = 0;
    doc.zoom = doc.panX = doc.panY = 0;
    doc.autoMode = 0;

    bufferSelector = 0;
    ClearBuffer(CURRENT);
    ClearBuffer(NEXT);
    stepCursor = 0;
    renderCursor = 0;
    partAllocationLimit = -1;

    soundChannel = 0;
    lastSounds[0] = lastSounds[1] = lastSounds[2] = -1;

    frameTime = nextKeyTime = infoUntil = 0;
    stepTimer = nullptr;

    dragging = 0;
    lastMouseX = lastMouseY = 0;
}
