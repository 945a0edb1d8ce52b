// vornaly_make_font FONTFILE PIXELSIZE DESCRIPTION BITMAP
// Rasterises bytes 32..126 of FONTFILE at PIXELSIZE into the white atlas BITMAP (a PNG) and
// writes the font description DESCRIPTION that names it by its file name alone, since the
// bitmap stands in the same folder as the description.
// With --preview PREVIEW it also sets sample lines the way the program's reader does (each
// rectangle at pen + pre, pen advanced by pre + w + post) on a dark ground, with the baselines
// marked, for looking at the result.

#include "tools/FontAtlas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <stb_image_write.h>

namespace {

bool WritePreview(const FontAtlas& atlas, const std::string& path)
{
    const char* lines[] = {"Vornaly", "The quick brown fox jumps over the lazy dog.",
                           "Javelin, Tyf_ fj gjpqy \"AV\" Wa To Yo 0123456789", "!#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz"};
    const int width = 960, margin = 8;
    int height = margin * 2 + atlas.lineHeight * 5;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 24);
    const FontAtlas::Glyph* table[256] = {};
    for (const FontAtlas::Glyph& g : atlas.glyphs)
        table[g.code] = &g;
    for (int line = 0; line < 5; ++line) {
        int top = margin + line * atlas.lineHeight;
        for (int x = 0; x < width; ++x)
            rgb[(static_cast<size_t>(top + atlas.ascent) * width + x) * 3 + 0] = 110;
        int pen = margin;
        for (const char* c = lines[line]; *c; ++c) {
            const FontAtlas::Glyph* g = table[static_cast<unsigned char>(*c)];
            if (!g)
                continue;
            pen += g->pre;
            for (int y = 0; y < g->h; ++y)
                for (int x = 0; x < g->w; ++x) {
                    int px = pen + x, py = top + y;
                    if (px < 0 || px >= width || py >= height)
                        continue;
                    int a = atlas.alpha[static_cast<size_t>(g->y + y) * atlas.width + g->x + x];
                    for (int k = 0; k < 3; ++k) {
                        uint8_t& d = rgb[(static_cast<size_t>(py) * width + px) * 3 + k];
                        d = static_cast<uint8_t>((d * (255 - a) + 255 * a) / 255);
                    }
                }
            pen += g->w + g->post;
        }
    }
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && !(argc == 7 && std::strcmp(argv[5], "--preview") == 0)) {
        std::fprintf(stderr, "usage: %s FONTFILE PIXELSIZE DESCRIPTION BITMAP [--preview PREVIEW]\n", argv[0]);
        return 2;
    }
    int pixelSize = std::atoi(argv[2]);
    if (pixelSize < 4 || pixelSize > 256) {
        std::fprintf(stderr, "pixel size %s out of range 4..256\n", argv[2]);
        return 2;
    }
    FontAtlas atlas;
    std::string error;
    if (atlas.Build(argv[1], pixelSize, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::string bitmapPath = argv[4];
    size_t slash = bitmapPath.find_last_of('/');
    std::string bitmapName = slash == std::string::npos ? bitmapPath : bitmapPath.substr(slash + 1);
    if (atlas.WritePng(bitmapPath)) {
        std::fprintf(stderr, "cannot write %s\n", bitmapPath.c_str());
        return 1;
    }
    std::ofstream description(argv[3], std::ios::binary);
    description << atlas.Description(bitmapName);
    if (!description.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    if (argc == 7 && WritePreview(atlas, argv[6])) {
        std::fprintf(stderr, "cannot write %s\n", argv[6]);
        return 1;
    }
    return 0;
}
