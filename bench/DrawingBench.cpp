// Parts drawn per second through the registry and the sprite (GetGraphics, SetColor,
// RenderTransformed), text drawn per second through the font, and the heap allocations
// made while drawing (expected: none). The engine counts quads and keeps nothing.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "registry/KIVO.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

namespace {

long allocations = 0;

class CountingEngine : public FakeEngine {
public:
    void Gfx_RenderQuad(const gfxQuad* quad) override
    {
        ++drawn;
        checksum += quad->v[2].x;
    }
    long drawn = 0;
    double checksum = 0;
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

int main()
{
    CountingEngine fake;
    KIVO registry;
    for (int i = 0; i < 16; ++i)
        registry.AddGraphics("p.png", 0, 0, 0, 32, 32, 0, 0, 0);

    const int parts = 5000000;
    long before = allocations;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < parts; ++i) {
        KIVO_GRAPHICS* picture = registry.GetGraphics(i % 17);
        if (!picture)
            continue;
        picture->sprite->SetColor(0xFF000000u | static_cast<uint32_t>(i), -1);
        picture->sprite->RenderTransformed(static_cast<float>(i % 960) + registry.originX,
                                           static_cast<float>(i % 701) + registry.originY, 0.001f * (i % 6283), 0.5f);
    }
    double seconds = Seconds(start);
    std::printf("parts: %ld drawn in %.3f s = %.1f M parts/s, %ld allocations while drawing (checksum %.0f)\n",
                fake.drawn, seconds, fake.drawn / seconds / 1e6, allocations - before, fake.checksum);

    // Digits, lower-case letters, the space and the question mark.
    std::string description = "[GFXFONT]\nChar = 3f,0,0,6,8,0,0\nChar = 20,0,0,4,8,0,1\n";
    for (int c = '0'; c <= 'z'; ++c) {
        char line[64];
        std::snprintf(line, sizeof line, "Char = %x,0,0,7,12,0,1\n", c);
        description += line;
    }
    fake.files["bench\\font.fnt"] = description;
    gfxFont font("bench\\font.fnt");
    const int texts = 200000;
    fake.drawn = 0;
    before = allocations;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < texts; ++i)
        font.RenderFormatted(480, 900, 2, "%d parts", i * 37);
    seconds = Seconds(start);
    std::printf("text: %d formatted lines (%ld glyphs) in %.3f s = %.2f M lines/s, %ld allocations while drawing\n",
                texts, fake.drawn, seconds, texts / seconds / 1e6, allocations - before);
    return 0;
}
