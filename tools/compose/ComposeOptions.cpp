#include "tools/compose/ComposeOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A whole decimal number within [low, high], nothing before or after it.
bool ReadNumber(const std::string& text, long long low, long long high, long long* value)
{
    if (text.empty() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *value = v;
    return true;
}

} // namespace

const char* ComposeOptions::Usage()
{
    return "usage: vornaly-render [--seeds T,M,P] [--seed N] [--picture-count N] [--generations G]\n"
           "                      [--json FILE|-] [--parts] [--out FILE.png] [--size WxH]\n";
}

bool ComposeOptions::Parse(int argc, const char* const* argv, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--parts") {
            writeParts = true;
            continue;
        }
        if (option == "--help" || option == "-h") {
            showHelp = true;
            continue;
        }
        bool takesValue = option == "--seeds" || option == "--seed" || option == "--picture-count" ||
                          option == "--generations" || option == "--json" || option == "--out" || option == "--size";
        if (!takesValue) {
            *error = "unknown option '" + option + "'";
            return false;
        }
        if (i + 1 >= argc) {
            *error = option + " needs a value";
            return false;
        }
        std::string value = argv[++i];
        long long number = 0;
        if (option == "--seeds") {
            std::vector<std::string> pieces;
            size_t start = 0;
            for (size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1)
                pieces.push_back(value.substr(start, comma - start));
            pieces.push_back(value.substr(start));
            long long seeds[3] = {0, 0, 0};
            bool good = pieces.size() == 3;
            for (size_t k = 0; good && k < 3; ++k)
                good = ReadNumber(pieces[k], 1, 2147483647, &seeds[k]);
            if (!good) {
                *error = "--seeds needs three whole numbers 1..2147483647 separated by commas, not '" + value + "'";
                return false;
            }
            haveStreamSeeds = true;
            streamSeeds = {static_cast<int32_t>(seeds[0]), static_cast<int32_t>(seeds[1]),
                           static_cast<int32_t>(seeds[2])};
        } else if (option == "--seed") {
            if (!ReadNumber(value, 0, 4294967295LL, &number)) {
                *error = "--seed needs a whole number 0..4294967295, not '" + value + "'";
                return false;
            }
            haveRuntimeSeed = true;
            runtimeSeed = static_cast<uint32_t>(number);
        } else if (option == "--picture-count") {
            if (!ReadNumber(value, 0, 1000000, &number)) {
                *error = "--picture-count needs a whole number 0..1000000, not '" + value + "'";
                return false;
            }
            havePictureCount = true;
            pictureCount = static_cast<int32_t>(number);
        } else if (option == "--generations") {
            if (!ReadNumber(value, 0, 1000000, &number)) {
                *error = "--generations needs a whole number 0..1000000, not '" + value + "'";
                return false;
            }
            haveGenerations = true;
            generations = static_cast<int32_t>(number);
        } else if (option == "--out") {
            if (value.empty()) {
                *error = "--out needs a file name";
                return false;
            }
            outPath = value;
        } else if (option == "--size") {
            // "960x960"; the multiplication sign of "960×960" is accepted as well.
            size_t cross = value.find('x');
            size_t crossLength = 1;
            if (cross == std::string::npos) {
                cross = value.find("\xC3\x97");
                crossLength = 2;
            }
            long long w = 0, h = 0;
            if (cross == std::string::npos || !ReadNumber(value.substr(0, cross), 16, 8192, &w) ||
                !ReadNumber(value.substr(cross + crossLength), 16, 8192, &h)) {
                *error = "--size needs WIDTHxHEIGHT, each 16..8192, not '" + value + "'";
                return false;
            }
            width = static_cast<int32_t>(w);
            height = static_cast<int32_t>(h);
        } else {
            if (value.empty()) {
                *error = "--json needs a file name or -";
                return false;
            }
            haveJson = true;
            jsonPath = value;
        }
    }
    return true;
}
