#include "tools/compose/Composition.h"

#include <cmath>

#include "app/App.h"
#include "fractal/FrameHandler.h"
#include "fractal/GenerationStep.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "platform/FileSearch.h"
#include "registry/KIVO.h"
#include "tools/compose/ComposeOptions.h"
#include "tools/compose/NullEngine.h"

namespace {

Composition::Generation Figures()
{
    const PART_BUFFER* next = SelectBuffer(NEXT);
    return {next->count, next->minX,     next->maxX,     next->minY,
            next->maxY,  next->minScale, next->maxScale, document.partScale};
}

// %.9g, or null for a value that JSON cannot hold.
void WriteNumber(FILE* out, double value)
{
    if (std::isfinite(value))
        std::fprintf(out, "%.9g", value);
    else
        std::fputs("null", out);
}

// x, y, angle and scale of a part or transform, as "key": value pairs or as bare values.
void WritePlacement(FILE* out, const PART& part, bool named)
{
    const std::pair<const char*, float> fields[] = {
        {"x", part.x}, {"y", part.y}, {"angle", part.angle}, {"scale", part.scale}};
    bool first = true;
    for (const auto& [name, value] : fields) {
        if (!first)
            std::fputs(", ", out);
        if (named)
            std::fprintf(out, "\"%s\": ", name);
        WriteNumber(out, value);
        first = false;
    }
}

} // namespace

void Composition::Compose(const ComposeOptions& options, NullEngine* nullEngine)
{
    std::vector<std::string> names;
    if (options.havePictureCount) {
        for (int32_t i = 0; i < options.pictureCount; ++i)
            names.push_back("pix\\picture" + std::to_string(i) + ".png");
    } else {
        for (const gfxFileEntry& entry : FindFiles("pix\\*.png"))
            if (!entry.isDirectory)
                names.push_back("pix\\" + entry.name);
    }
    registry = new KIVO();
    registry->reducedRemoval = true;
    for (const std::string& name : names)
        registry->AddGraphics(name.c_str(), 0, 0, 0, 1, 1, 0, 0, 0);
    pictureCount = registry->GraphicsCount();

    ResetScene();
    if (options.haveStreamSeeds)
        document.Generate(GEN_ALL, options.streamSeeds);
    else
        document.Generate(GEN_ALL);
    seeds = lastStreamSeeds;
    transformCount = document.transformCount;
    for (int i = 0; i < 5; ++i)
        transforms[i] = document.transforms[i];
    for (int i = 0; i < 256; ++i)
        palette[i] = document.palette[i];
    generations.push_back(Figures());

    for (int32_t steps = 0;; ++steps) {
        bool large = PartCapacity(NEXT) >= document.autoLimit;
        if (options.haveGenerations ? steps >= options.generations : large)
            break;
        // Past the automatic limit the program grows only on Tab, once the key delay has
        // passed; the generation then begins exactly as it would on screen.
        nullEngine->tabHeld = large;
        frameTime = nextKeyTime + 1.0;
        int32_t begun = document.generationsBegun;
        BeginGeneration();
        nullEngine->tabHeld = false;
        if (document.generationsBegun == begun) {
            outOfMemory = static_cast<int64_t>(PartCapacity(NEXT)) * document.transformCount <= maxItems;
            break;
        }
        // Without a frame stopwatch the step grows the whole generation.
        GrowStep();
        generations.push_back(Figures());
    }
}

void Composition::WriteJson(FILE* out, bool withParts) const
{
    std::fprintf(out, "{\n  \"seeds\": {\"transform\": %d, \"mutation\": %d, \"palette\": %d},\n", seeds.transform,
                 seeds.mutation, seeds.palette);
    std::fprintf(out, "  \"pictureCount\": %d,\n  \"transformCount\": %d,\n  \"transforms\": [", pictureCount,
                 transformCount);
    for (int32_t i = 0; i < transformCount; ++i) {
        const PART& t = transforms[i];
        std::fprintf(out, "%s\n    {\"picture\": %d, ", i ? "," : "", t.picture);
        WritePlacement(out, t, true);
        std::fputs("}", out);
    }
    std::fputs("\n  ],\n  \"palette\": [", out);
    for (int i = 0; i < 256; ++i)
        std::fprintf(out, "%s[%d, %d, %d]", i % 8 ? ", " : (i ? ",\n    " : "\n    "), palette[i].r, palette[i].g,
                     palette[i].b);
    std::fputs("\n  ],\n  \"generations\": [", out);
    for (size_t i = 0; i < generations.size(); ++i) {
        const Generation& g = generations[i];
        std::fprintf(out, "%s\n    {\"parts\": %d", i ? "," : "", g.parts);
        const std::pair<const char*, double> fields[] = {
            {"minX", g.minX},         {"maxX", g.maxX},         {"minY", g.minY},           {"maxY", g.maxY},
            {"minScale", g.minScale}, {"maxScale", g.maxScale}, {"partScale", g.partScale},
        };
        for (const auto& [name, value] : fields) {
            std::fprintf(out, ", \"%s\": ", name);
            WriteNumber(out, value);
        }
        std::fputs("}", out);
    }
    std::fputs("\n  ]", out);
    if (withParts) {
        std::fputs(",\n  \"parts\": [", out);
        const PART_BUFFER* next = SelectBuffer(NEXT);
        for (int32_t i = 0; i < next->count; ++i) {
            const PART& p = next->items[i];
            std::fprintf(out, "%s\n    [%d, ", i ? "," : "", p.picture);
            WritePlacement(out, p, false);
            std::fprintf(out, ", %d]", p.color);
        }
        std::fputs("\n  ]", out);
    }
    std::fputs("\n}\n", out);
}
