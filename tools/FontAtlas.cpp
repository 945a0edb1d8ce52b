#include "tools/FontAtlas.h"

#include <algorithm>
#include <cstdio>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stb_image_write.h>

namespace {

constexpr int FIRST_CODE = 32;
constexpr int LAST_CODE = 126;
// Transparent pixels between two glyph rectangles, and between a rectangle and the atlas edge.
constexpr int GAP = 2;
constexpr int EDGE = 1;

struct RasterGlyph {
    int code = 0;
    int width = 0, rows = 0;
    int left = 0, top = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

int NextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p *= 2;
    return p;
}

// Shelf packing of equally high rectangles; returns the height used, or -1 if one is wider
// than the atlas.
int Pack(const std::vector<RasterGlyph>& raster, int atlasWidth, int lineHeight, std::vector<FontAtlas::Glyph>* out)
{
    int x = EDGE, y = EDGE;
    for (const RasterGlyph& g : raster) {
        if (EDGE + g.width + EDGE > atlasWidth)
            return -1;
        if (x + g.width + EDGE > atlasWidth) {
            x = EDGE;
            y += lineHeight + GAP;
        }
        if (out) {
            FontAtlas::Glyph glyph;
            glyph.code = g.code;
            glyph.x = g.width > 0 ? x : 0;
            glyph.y = y;
            glyph.w = g.width;
            glyph.h = lineHeight;
            glyph.pre = g.left;
            glyph.post = g.advance - g.left - g.width;
            out->push_back(glyph);
        }
        if (g.width > 0)
            x += g.width + GAP;
    }
    return y + lineHeight + EDGE;
}

} // namespace

bool FontAtlas::Build(const std::string& fontPath, int pixelSize, std::string& error)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "cannot start FreeType";
        return true;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        error = "cannot open " + fontPath;
        FT_Done_FreeType(library);
        return true;
    }
    bool failed = false;
    std::vector<RasterGlyph> raster;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        error = "cannot set the size " + std::to_string(pixelSize);
        failed = true;
    }
    for (int code = FIRST_CODE; code <= LAST_CODE && !failed; ++code) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
            error = "cannot render the character " + std::to_string(code);
            failed = true;
            break;
        }
        FT_GlyphSlot slot = face->glyph;
        if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && slot->bitmap.width > 0) {
            error = "unexpected pixel mode";
            failed = true;
            break;
        }
        RasterGlyph g;
        g.code = code;
        g.width = static_cast<int>(slot->bitmap.width);
        g.rows = static_cast<int>(slot->bitmap.rows);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
        for (int row = 0; row < g.rows; ++row)
            for (int col = 0; col < g.width; ++col)
                g.coverage[static_cast<size_t>(row) * g.width + col] =
                    slot->bitmap.buffer[row * slot->bitmap.pitch + col];
        // A glyph without ink keeps its advance but takes no room in the atlas.
        if (std::all_of(g.coverage.begin(), g.coverage.end(), [](uint8_t a) { return a == 0; })) {
            g.width = 0;
            g.rows = 0;
            g.coverage.clear();
        }
        raster.push_back(std::move(g));
    }
    int ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    int descender = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    if (failed)
        return true;

    // The line spans ascender to descender; a glyph reaching beyond them widens it rather
    // than being cut.
    ascent = ascender;
    int descent = descender;
    for (const RasterGlyph& g : raster) {
        if (g.width == 0)
            continue;
        ascent = std::max(ascent, g.top);
        descent = std::max(descent, g.rows - g.top);
    }
    lineHeight = ascent + descent;

    // The smallest power-of-two atlas, preferring the squarer one on a tie.
    int bestWidth = 0, bestHeight = 0;
    for (int w = 64; w <= 4096; w *= 2) {
        int used = Pack(raster, w, lineHeight, nullptr);
        if (used < 0)
            continue;
        int h = NextPowerOfTwo(used);
        long area = static_cast<long>(w) * h, bestArea = static_cast<long>(bestWidth) * bestHeight;
        if (bestWidth == 0 || area < bestArea ||
            (area == bestArea && std::max(w, h) < std::max(bestWidth, bestHeight))) {
            bestWidth = w;
            bestHeight = h;
        }
    }
    if (bestWidth == 0) {
        error = "the glyphs do not fit any atlas";
        return true;
    }
    width = bestWidth;
    height = bestHeight;
    glyphs.clear();
    Pack(raster, width, lineHeight, &glyphs);
    alpha.assign(static_cast<size_t>(width) * height, 0);
    for (size_t i = 0; i < raster.size(); ++i) {
        const RasterGlyph& g = raster[i];
        const Glyph& rect = glyphs[i];
        int top = rect.y + ascent - g.top;
        for (int row = 0; row < g.rows; ++row)
            for (int col = 0; col < g.width; ++col)
                alpha[static_cast<size_t>(top + row) * width + rect.x + col] =
                    g.coverage[static_cast<size_t>(row) * g.width + col];
    }
    return false;
}

std::string FontAtlas::Description(const std::string& bitmapName) const
{
    std::string text = "[GFXFONT]\n";
    char line[160];
    std::snprintf(line, sizeof line, "; DejaVu Sans, line height %d, baseline %d below the top of each glyph\n",
                  lineHeight, ascent);
    text += line;
    text += "Bitmap=" + bitmapName + "\n";
    for (const Glyph& g : glyphs) {
        // The space and the quotation mark are written in hexadecimal, every other glyph quoted.
        if (g.code == ' ' || g.code == '"')
            std::snprintf(line, sizeof line, "Char=%02X,%d,%d,%d,%d,%d,%d\n", g.code, g.x, g.y, g.w, g.h, g.pre,
                          g.post);
        else
            std::snprintf(line, sizeof line, "Char=\"%c\",%d,%d,%d,%d,%d,%d\n", g.code, g.x, g.y, g.w, g.h, g.pre,
                          g.post);
        text += line;
    }
    return text;
}

bool FontAtlas::WritePng(const std::string& path) const
{
    std::vector<uint8_t> rgba(alpha.size() * 4);
    for (size_t i = 0; i < alpha.size(); ++i) {
        rgba[i * 4 + 0] = 255;
        rgba[i * 4 + 1] = 255;
        rgba[i * 4 + 2] = 255;
        rgba[i * 4 + 3] = alpha[i];
    }
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) == 0;
}
