#pragma once

// Creates the fonts bigFont and smallFont and registers every picture that the search
// of the working folder finds as "pix\*.png", loading it through the engine. Needs the
// engine and the registry. True when loading failed: a picture whose texture cannot be
// loaded ends the loading there (the pictures registered so far, and that one, stay).
// A missing or malformed font, or a missing pix folder, is not a failure.
bool LoadGraphics();

// Loads the eight sound effects into effectColors, effectIteration and
// effectCompositions. True when one cannot be loaded; the effects after it are not.
bool LoadSounds();
