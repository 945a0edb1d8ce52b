#pragma once

#include <cstdint>
#include <string>

#include "fractal/RandomStreams.h"

// The command line of vornaly-render.
class ComposeOptions {
public:
    // Stream seeds to use instead of drawing them from the runtime generator.
    bool haveStreamSeeds = false;
    StreamSeeds streamSeeds = {0, 0, 0};
    // Seed of the runtime generator; unset: the calendar time.
    bool haveRuntimeSeed = false;
    uint32_t runtimeSeed = 0;
    // Pictures in the registry; unset: the PNG files found in pix/.
    bool havePictureCount = false;
    int32_t pictureCount = 0;
    // Generation steps after the first generation; unset: grow as the program does by
    // itself, until a generation has the automatic limit of parts or more.
    bool haveGenerations = false;
    int32_t generations = 0;
    // Where the JSON goes; "-" is standard output. Without --json the JSON goes to
    // standard output unless a picture is asked for.
    bool haveJson = false;
    std::string jsonPath = "-";
    // The PNG to draw the last generation into, and its size.
    std::string outPath;
    int32_t width = 960;
    int32_t height = 960;
    // Every part of the last generation is written too.
    bool writeParts = false;
    bool showHelp = false;

    // Reads argv[1..argc-1]. On a bad argument returns false with a one-line message.
    bool Parse(int argc, const char* const* argv, std::string* error);

    static const char* Usage();
};
