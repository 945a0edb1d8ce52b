#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One generated picture: white everywhere, its shape carried by the alpha channel only,
// so that a vertex colour tints it. The outermost pixels are always fully transparent.
struct Picture {
    // File name in pix/, lower case, with the .png suffix.
    std::string name;
    // What the shape is, for listings.
    std::string description;
    int width = 0;
    int height = 0;
    // width * height coverage values, row by row from the top.
    std::vector<uint8_t> alpha;
};

// Every picture the program ships, always in the same order and with the same bytes.
std::vector<Picture> MakePictures();

// Writes the picture as an RGBA PNG with RGB 255 everywhere; true when writing failed.
bool WritePicturePng(const Picture& picture, const std::string& path);
