// vornaly-render: composes as the program does, without a window, and writes the
// composition's figures as JSON.

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
    bool toStdout = options.jsonPath == "-";
    FILE* out = toStdout ? stdout : std::fopen(options.jsonPath.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "vornaly-render: cannot write '%s'\n", options.jsonPath.c_str());
        return 2;
    }

    NullEngine nullEngine;
    gfxInstall(&nullEngine);
    engine = gfxCreate(GFX_VERSION);
    SeedRuntimeRandom(options.haveRuntimeSeed ? options.runtimeSeed : static_cast<uint32_t>(std::time(nullptr)));

    Composition composition;
    composition.Compose(options, &nullEngine);
    composition.WriteJson(out, options.writeParts);
    bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (!toStdout)
        written = std::fclose(out) == 0 && written;

    delete registry;
    registry = nullptr;
    ResetFractalGlobals();
    engine->Release();
    engine = nullptr;
    gfxUninstall(&nullEngine);

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
