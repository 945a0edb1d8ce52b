#include "app/App.h"

#include <algorithm>
#include <cmath>

Engine* engine = nullptr;
double baseWidth = 960.0;
double baseHeight = 960.0;
double windowScale = 1.0;
const double fitMargin = 100.0;
const int framesPerSecond = 50;
const double framePeriod = 1.0 / framesPerSecond;
const double keyDelay = 0.35 / framePeriod;
const char* const productName = "Vornaly";
const char* const makerAddress = "vornaly.art";

HTARGET renderTarget = 0;
gfxSprite* targetSprite = nullptr;
KIVO* registry = nullptr;
gfxFont* bigFont = nullptr;
gfxFont* smallFont = nullptr;
HEFFECT effectColors = 0;
HEFFECT effectIteration = 0;
HEFFECT effectCompositions[6] = {};

double WindowScale()
{
    int width = 0, height = 0;
    engine->System_GetDesktopSize(&width, &height);
    double m = std::max(600, std::min(width, height));
    double u = m - 60.0;
    if (u >= baseHeight)
        return 1.0;
    return std::floor(u / baseHeight * 8.0) * 0.125;
}
