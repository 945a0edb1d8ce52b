// Feeds arbitrary bytes to the font description reader as the file
// "fuzz\font.fnt", then draws and measures some text with whatever font came of it.
// The bitmap "font.png" is served as a small PNG so that glyphs can get a texture.

#include <cstddef>
#include <cstdint>
#include <string>

#include "render/gfxFont.h"
#include "tests/fake/FakeEngine.h"

#include <stb/stb_image_write.h>

namespace {

std::string TinyPng()
{
    const unsigned char pixels[4 * 4 * 4] = {};
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
        },
        &bytes, 4, 4, 4, pixels, 16);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string png = TinyPng();
    FakeEngine fake;
    fake.files["fuzz\\font.fnt"] = std::string(reinterpret_cast<const char*>(data), size);
    fake.files["fuzz\\font.png"] = png;
    {
        gfxFont font("fuzz\\font.fnt");
        font.SetColor(0xFF808080);
        font.SetScale(1.5f);
        font.Render(100, 100, 2, "Vornaly \"fuzz\"\n\xFF\r?");
        font.RenderFormatted(0, 0, 1, "%d parts", 12345);
        (void)font.GetStringWidth("AbC");
    }
    // Every glyph and the font gave their engine references back.
    if (fake.RefCount() != 0)
        __builtin_trap();
    return 0;
}
