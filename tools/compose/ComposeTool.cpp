// vornaly-render: composes as the program does, without a window, writes the
// composition's figures as JSON and draws its last generation as a PNG.

#include <cstdio>
#include <ctime>
#include <string>

#include "app/App.h"
#include "fractal/FractalReset.h"
#include "fractal/RandomStreams.h"
#include "registry/KIVO.h"
#include "tools/compose/ComposeOptions.h"
#include "tools/compose/Composition.h"
#include "tools/compose/NullEngine.h"
#include "tools/compose/PictureRenderer.h"

int main(int argc, char** argv)
{
    ComposeOptions options;
    std::string error;
    if (!options.Parse(argc, argv, &error)) {
        std::fprintf(stderr, "vornaly-render: %s\n", error.c_str());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(ComposeOptions::Usage(), stdout);
        return 0;
    }
    bool writeJson = options.haveJson || options.outPath.empty();
    bool toStdout = options.jsonPath == "-";
    FILE* out = !writeJson ? nullptr : toStdout ? stdout : std::fopen(options.jsonPath.c_str(), "w");
    if (writeJson && !out) {
        std::fprintf(stderr, "vornaly-render: cannot write '%s'\n", options.jsonPath.c_str());
        return 2;
    }

    NullEngine nullEngine;
    gfxInstall(&nullEngine);
    engine = gfxCreate(GFX_VERSION);
    SeedRuntimeRandom(options.haveRuntimeSeed ? options.runtimeSeed : static_cast<uint32_t>(std::time(nullptr)));

    Composition composition;
    composition.Compose(options, &nullEngine);
    bool written = true;
    if (writeJson) {
        composition.WriteJson(out, options.writeParts);
        written = std::fflush(out) == 0 && !std::ferror(out);
        if (!toStdout)
            written = std::fclose(out) == 0 && written;
    }

    delete registry;
    registry = nullptr;
    engine->Release();
    engine = nullptr;
    gfxUninstall(&nullEngine);

    // The growth is done; the real engine draws what NEXT holds.
    std::string drawError;
    bool drawn = options.outPath.empty() ||
                 PictureRenderer::DrawToPng(options.outPath, options.width, options.height, &drawError);
    ResetFractalGlobals();
    if (!drawn) {
        std::fprintf(stderr, "vornaly-render: %s\n", drawError.c_str());
        return 1;
    }

    if (!written) {
        std::fprintf(stderr, "vornaly-render: writing '%s' failed\n", options.jsonPath.c_str());
        return 1;
    }
    if (composition.outOfMemory) {
        std::fprintf(stderr, "vornaly-render: growth stopped: not enough memory for the next generation\n");
        return 1;
    }
    return 0;
}
