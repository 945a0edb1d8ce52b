#pragma once

#include <string>

// Draws the last generation of the grown composition (the NEXT buffer) with the
// program's own renderer and sprites into an offscreen target over black, and writes
// it as a PNG. The view is fitted directly: the bounding box of the parts' positions
// centred, the zoom chosen so that it fills the picture less the fit margin, the part
// size as auto mode gives it.
class PictureRenderer {
public:
    // Needs no window: uses SDL's offscreen video driver unless one is chosen already.
    // Starts the real engine, loads the pictures of pix/ and the packs of the working
    // folder, draws and shuts down. Returns false with a one-line message on failure.
    static bool DrawToPng(const std::string& path, int width, int height, std::string* error);

    // The view that auto mode would settle on for NEXT in a width x height target,
    // reached at once: part size, zoom, pan and the registry's origin.
    static void FitView(int width, int height);
};
