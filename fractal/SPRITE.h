#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fractal/PALETTE_ENTRY.h"
#include "fractal/PART.h"
#include "fractal/RandomStreams.h"
#include "platform/Engine.h"

// Flags of SPRITE::Generate; 127 renews everything.
constexpr uint8_t GEN_TRANSFORMS = 1;
constexpr uint8_t GEN_PALETTE = 2;
constexpr uint8_t GEN_RESET = 8;
constexpr uint8_t GEN_ALL = 127;

// The fractal document: the composition, the growth counters, the palette and the view.
class SPRITE {
public:
    // A named object owned by the document; its deleter frees it with the entry.
    using Object = std::unique_ptr<void, void (*)(void*)>;

    // Named objects owned by the document, unsorted, duplicates accepted.
    std::vector<std::pair<std::string, Object>> objects;
    // 2..5 once generated.
    int32_t transformCount = 0;
    // Entries from transformCount on have picture -1.
    PART transforms[5] = {};
    // Factor on every part's drawn scale.
    double partScale = 0;
    int32_t generationsDone = 0;
    // A generation step is under way while this exceeds generationsDone.
    int32_t generationsBegun = 0;
    // Below this size of the newest generation the next begins by itself.
    int32_t autoLimit = 0;
    PALETTE_ENTRY palette[256] = {};
    // 0..255; stepped by Space, read by no colouring rule.
    int32_t paletteShift = 0;
    double zoom = 0;
    double panX = 0;
    double panY = 0;
    // Non-zero: the view fits itself to the picture.
    int32_t autoMode = 0;

    SPRITE() = default;
    ~SPRITE() { Clear(); }
    SPRITE(const SPRITE&) = delete;
    SPRITE& operator=(const SPRITE&) = delete;

    // Frees the entry's object and deletes the entry; positions out of range are ignored.
    void DeleteAt(int32_t position);
    void Clear();

    // Reseeds the streams from the runtime generator, then renews what the flags say
    // and places the first generation into NEXT.
    void Generate(uint8_t flags);
    // The same with the three stream seeds given instead of drawn.
    void Generate(uint8_t flags, const StreamSeeds& seeds);

    // The palette walk: from the start values, each entry adds the channel's step and
    // reflects at 40 and 255, turning the step round. value and step are updated.
    static void WalkPalette(PALETTE_ENTRY (&palette)[256], int32_t (&value)[3], int32_t (&step)[3]);

private:
    void Renew(uint8_t flags);
    void BuildTransforms();
    void MutateTransforms();
    void BuildPalette();
    void PlayCompositionSound();
};

// The one document of the program.
extern SPRITE document;

// Channel of the last composition sound.
extern HCHANNEL soundChannel;
// The last three composition sounds picked (0..5), most recent first; -1 for none.
extern int32_t lastSounds[3];

// Clears what a new composition replaces: the registry's scene objects, the document's
// objects, and the time base of the frame handler.
void ResetScene();
