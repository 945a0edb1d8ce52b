#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A bitmap font rasterised from an outline font: a white atlas whose alpha is the glyph
// coverage, and one glyph per byte 32..126.
//
// Every glyph rectangle is lineHeight pixels high, from the font's ascender to its descender,
// with the glyph's baseline `ascent` pixels below the rectangle's top; its width is exactly the
// glyph bitmap's width (0 for blank glyphs), pre is the horizontal bearing and post the rest of
// the advance, so a reader that draws each rectangle at pen + pre and then advances by
// pre + w + post sets text on one baseline. Rectangles are at least 2 pixels apart and 1 pixel
// from the atlas edge, so filtering never bleeds one glyph into another.
struct FontAtlas {
    // One glyph in the units of its Char line: the rectangle in the atlas and the advances
    // before and after it, all in pixels.
    struct Glyph {
        int code = 0;
        int x = 0, y = 0, w = 0, h = 0;
        int pre = 0, post = 0;
    };

    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;
    int lineHeight = 0;
    int ascent = 0;
    std::vector<Glyph> glyphs;

    // Builds the atlas of the font file at the given pixel size with light hinting;
    // true when the font cannot be read. `error` then says why.
    bool Build(const std::string& fontPath, int pixelSize, std::string& error);

    // The font description: "[GFXFONT]", the Bitmap line naming bitmapName, one Char line a glyph.
    std::string Description(const std::string& bitmapName) const;

    // Writes the atlas as an RGBA PNG with RGB 255 everywhere; true when writing failed.
    bool WritePng(const std::string& path) const;
};
