#pragma once

#include "platform/Engine.h"

class gfxSprite;
class gfxFont;
class KIVO;

// Application-wide state, one instance each, alive for the whole process.

// The program's engine reference, taken by start-up.
extern Engine* engine;

// Logical screen: the size of the render target and the unit of all view and overlay
// arithmetic. 960 x 960 in a window; the desktop size in full screen.
extern double baseWidth;
extern double baseHeight;
// Window pixels per logical unit: a multiple of 1/8 in 0.5..1.0 in a window, 1.0 full screen.
extern double windowScale;
// Margin of the automatic view fitting.
extern const double fitMargin;
extern const int framesPerSecond;
// Seconds per frame unit.
extern const double framePeriod;
// The key repeat delay, 0.35 s in frame units.
extern const double keyDelay;
extern const char* const productName;
extern const char* const makerAddress;

extern HTARGET renderTarget;
extern gfxSprite* targetSprite;
// The picture registry, created by start-up and never destroyed.
extern KIVO* registry;

// The title font and the help and part-count font.
extern gfxFont* bigFont;
extern gfxFont* smallFont;

// "sound\one.mp3": new colours.
extern HEFFECT effectColors;
// "sound\iter.mp3": next generation on Tab.
extern HEFFECT effectIteration;
// "sound\a1.mp3" .. "sound\a6.mp3": one plays for every new composition.
extern HEFFECT effectCompositions[6];

// Window scale for the current desktop size and baseHeight.
double WindowScale();
