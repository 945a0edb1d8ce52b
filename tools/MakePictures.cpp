// vornaly_make_pictures OUTDIR [--preview PREVIEWDIR]
// Writes every picture into OUTDIR. With --preview it also writes, into PREVIEWDIR, a contact
// sheet (each picture tinted on a dark ground, large and small) and a scatter of many small,
// turned, tinted copies composited the way the program draws them, for looking at the set.

#include "tools/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <stb_image_write.h>

namespace {

struct Rgb {
    float r, g, b;
};

struct Canvas {
    int width, height;
    std::vector<Rgb> pixels;
    Canvas(int w, int h, Rgb ground) : width(w), height(h), pixels(static_cast<size_t>(w) * h, ground) {}

    bool Write(const std::string& path) const
    {
        std::vector<uint8_t> rgb(pixels.size() * 3);
        for (size_t i = 0; i < pixels.size(); ++i) {
            rgb[i * 3 + 0] = static_cast<uint8_t>(std::clamp(pixels[i].r, 0.0f, 1.0f) * 255.0f + 0.5f);
            rgb[i * 3 + 1] = static_cast<uint8_t>(std::clamp(pixels[i].g, 0.0f, 1.0f) * 255.0f + 0.5f);
            rgb[i * 3 + 2] = static_cast<uint8_t>(std::clamp(pixels[i].b, 0.0f, 1.0f) * 255.0f + 0.5f);
        }
        return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) == 0;
    }
};

// Box-filtered mipmap chain of a picture's alpha, as the GPU would build it.
struct MipChain {
    struct Level {
        int width, height;
        std::vector<float> alpha;
        float At(int x, int y) const
        {
            if (x < 0 || y < 0 || x >= width || y >= height)
                return 0.0f;
            return alpha[static_cast<size_t>(y) * width + x];
        }
        float Bilinear(float x, float y) const
        {
            x -= 0.5f;
            y -= 0.5f;
            int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
            float fx = x - x0, fy = y - y0;
            float top = At(x0, y0) * (1 - fx) + At(x0 + 1, y0) * fx;
            float bottom = At(x0, y0 + 1) * (1 - fx) + At(x0 + 1, y0 + 1) * fx;
            return top * (1 - fy) + bottom * fy;
        }
    };
    std::vector<Level> levels;

    explicit MipChain(const Picture& picture)
    {
        Level base{picture.width, picture.height, {}};
        for (uint8_t a : picture.alpha)
            base.alpha.push_back(a / 255.0f);
        levels.push_back(base);
        while (levels.back().width > 1 || levels.back().height > 1) {
            const Level& prev = levels.back();
            Level next{std::max(1, prev.width / 2), std::max(1, prev.height / 2), {}};
            next.alpha.resize(static_cast<size_t>(next.width) * next.height);
            for (int y = 0; y < next.height; ++y)
                for (int x = 0; x < next.width; ++x)
                    next.alpha[static_cast<size_t>(y) * next.width + x] =
                        0.25f * (prev.At(2 * x, 2 * y) + prev.At(2 * x + 1, 2 * y) + prev.At(2 * x, 2 * y + 1) +
                                 prev.At(2 * x + 1, 2 * y + 1));
            levels.push_back(std::move(next));
        }
    }
};

// Draws one copy centred at (cx, cy), turned by angle, scaled by scale, tinted by colour;
// additive when `additive`, alpha-blended otherwise.
void Draw(Canvas& canvas, const Picture& picture, const MipChain& mips, float cx, float cy, float angle, float scale,
          Rgb colour, bool additive)
{
    float texelsPerPixel = 1.0f / scale;
    int level = std::clamp(static_cast<int>(std::floor(std::log2(std::max(texelsPerPixel, 1.0f)))), 0,
                           static_cast<int>(mips.levels.size()) - 1);
    const MipChain::Level& mip = mips.levels[level];
    float levelScale = static_cast<float>(mip.width) / picture.width;
    float reach = 0.5f * scale * std::hypot(static_cast<float>(picture.width), static_cast<float>(picture.height));
    int x0 = std::max(0, static_cast<int>(cx - reach)), x1 = std::min(canvas.width - 1, static_cast<int>(cx + reach));
    int y0 = std::max(0, static_cast<int>(cy - reach)), y1 = std::min(canvas.height - 1, static_cast<int>(cy + reach));
    float c = std::cos(angle), s = std::sin(angle);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float lx = (dx * c + dy * s) / scale + picture.width * 0.5f;
            float ly = (-dx * s + dy * c) / scale + picture.height * 0.5f;
            float a = mip.Bilinear(lx * levelScale, ly * levelScale);
            if (a <= 0.0f)
                continue;
            Rgb& p = canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
            if (additive) {
                p.r += colour.r * a;
                p.g += colour.g * a;
                p.b += colour.b * a;
            } else {
                p.r = p.r * (1 - a) + colour.r * a;
                p.g = p.g * (1 - a) + colour.g * a;
                p.b = p.b * (1 - a) + colour.b * a;
            }
        }
    }
    // The frame buffer holds 8 bits per channel, so additive light saturates at every draw.
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            Rgb& p = canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
            p = {std::min(p.r, 1.0f), std::min(p.g, 1.0f), std::min(p.b, 1.0f)};
        }
}

Rgb RandomColour(std::mt19937& rng)
{
    std::uniform_int_distribution<int> channel(40, 255);
    return {channel(rng) / 255.0f, channel(rng) / 255.0f, channel(rng) / 255.0f};
}

bool WritePreview(const std::vector<Picture>& pictures, const std::string& dir)
{
    std::vector<MipChain> mips;
    for (const Picture& p : pictures)
        mips.emplace_back(p);
    std::mt19937 rng(12345);

    // Contact sheet: each picture at full size, then at 32, 16 and 8 pixels, in a tint of its own.
    const int cell = 272, columns = 4;
    int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    Canvas sheet(cell * columns, cell * rows, {0.06f, 0.06f, 0.08f});
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Picture& p = pictures[i];
        float ox = static_cast<float>((i % columns) * cell), oy = static_cast<float>((i / columns) * cell);
        Rgb tint = RandomColour(rng);
        Draw(sheet, p, mips[i], ox + 128, oy + 128, 0.0f, 1.0f, tint, i % 2 == 0);
        float small[] = {32.0f, 16.0f, 8.0f};
        for (int k = 0; k < 3; ++k) {
            float scale = small[k] / std::max(p.width, p.height);
            Draw(sheet, p, mips[i], ox + 262 - 0.5f * small[k], oy + 20 + 50.0f * k, 0.3f * k, scale, tint, i % 2 == 0);
        }
    }
    bool failed = sheet.Write(dir + "/contact.png");

    // Scatter: many copies of 2 to 30 pixels, half of them additive, in a random palette.
    Canvas scatter(800, 800, {0.0f, 0.0f, 0.0f});
    // A smooth palette like the program's: channels wander slowly over the indices.
    std::vector<Rgb> palette;
    for (int i = 0; i < 256; ++i) {
        float t = i / 256.0f * 6.2832f;
        palette.push_back(
            {0.6f + 0.4f * std::sin(t), 0.55f + 0.4f * std::sin(2 * t + 2.0f), 0.6f + 0.4f * std::sin(3 * t + 4.0f)});
    }
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int n = 0; n < 9000; ++n) {
        size_t i = rng() % pictures.size();
        const Picture& p = pictures[i];
        // Copies swirl round the centre in arms so that overlap looks like a composition.
        float t = unit(rng);
        float arm = static_cast<float>(rng() % 5);
        float radius = 380.0f * std::sqrt(t);
        float theta = arm * 1.2566f + t * 7.0f + 0.25f * (unit(rng) - 0.5f);
        float size = 2.0f + 28.0f * unit(rng) * unit(rng);
        Draw(scatter, p, mips[i], 400 + radius * std::cos(theta), 400 + radius * std::sin(theta), unit(rng) * 6.2832f,
             size / std::max(p.width, p.height), palette[static_cast<size_t>(t * 255) % 256], i % 2 == 0);
    }
    failed |= scatter.Write(dir + "/scatter.png");

    // The middle of the scatter blown up four times, to judge single small copies.
    Canvas zoom(800, 800, {0.0f, 0.0f, 0.0f});
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x)
            zoom.pixels[static_cast<size_t>(y) * 800 + x] =
                scatter.pixels[static_cast<size_t>(y / 4 + 200) * 800 + x / 4 + 450];
    failed |= zoom.Write(dir + "/zoom.png");
    return failed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0)) {
        std::fprintf(stderr, "usage: %s OUTDIR [--preview PREVIEWDIR]\n", argv[0]);
        return 2;
    }
    std::vector<Picture> pictures = MakePictures();
    for (const Picture& p : pictures) {
        std::string path = std::string(argv[1]) + "/" + p.name;
        if (WritePicturePng(p, path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (argc == 4 && WritePreview(pictures, argv[3])) {
        std::fprintf(stderr, "cannot write the preview into %s\n", argv[3]);
        return 1;
    }
    return 0;
}
