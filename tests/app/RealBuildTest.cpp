#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

#include <stb/stb_image_write.h>

#include "app/App.h"
#include "app/ResourceLoading.h"
#include "platform/FileSearch.h"
#include "registry/KIVO.h"
#include "registry/KIVO_GRAPHICS.h"
#include "render/RenderFrame.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "tests/platform/OffscreenGl.h"

// What the build puts into the run folder, loaded by the real engine from there once
// for all the tests of this program.
class RealBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const std::string failure = Start();
        if (!failure.empty())
            GTEST_FAIL() << failure;
    }

    static bool graphicsFailed;
    static bool soundsFailed;

private:
    // Empty on success, else what went wrong.
    static std::string Start()
    {
        PrepareOffscreenGl();
        if (chdir(VORNALY_RUN_DIR) != 0)
            return std::string("no run folder ") + VORNALY_RUN_DIR;
        engine = gfxCreate(GFX_VERSION);
        engine->System_SetState(STATE_TITLE, "Vornaly real build test");
        engine->System_SetState(STATE_WINDOWED, true);
        engine->System_SetState(STATE_SCREENWIDTH, 64);
        engine->System_SetState(STATE_SCREENHEIGHT, 64);
        if (!engine->System_Initiate())
            return std::string("the engine did not start: ") + engine->System_GetErrorMessage();
        registry = new KIVO();
        engine->Resource_AttachPack("Graphics.paq");
        graphicsFailed = LoadGraphics();
        engine->Resource_AttachPack("Sound.paq");
        soundsFailed = LoadSounds();
        return "";
    }
};

bool RealBuild::graphicsFailed = true;
bool RealBuild::soundsFailed = true;

TEST_F(RealBuild, PacksLoadEveryEffect)
{
    ASSERT_FALSE(graphicsFailed);
    ASSERT_FALSE(soundsFailed);
    EXPECT_NE(effectColors, 0u);
    EXPECT_NE(effectIteration, 0u);
    for (HEFFECT effect : effectCompositions)
        EXPECT_NE(effect, 0u);
}

TEST_F(RealBuild, BothFontsHaveABitmapAndEveryPrintableGlyph)
{
    for (gfxFont* font : {bigFont, smallFont}) {
        ASSERT_NE(font, nullptr);
        EXPECT_NE(font->texture, 0u);
        EXPECT_GT(font->lineHeight, 0.0f);
        for (int code = 32; code <= 126; ++code)
            EXPECT_NE(font->glyphs[code], nullptr) << "byte " << code;
    }
    EXPECT_GT(bigFont->lineHeight, 2 * smallFont->lineHeight);
}

TEST_F(RealBuild, EveryPictureIsRegisteredWithAlternatingBlendModes)
{
    std::vector<gfxFileEntry> files = FindFiles("pix\\*.png");
    ASSERT_GE(files.size(), 12u);
    ASSERT_EQ(registry->GraphicsCount(), static_cast<int>(files.size()));
    for (int i = 0; i < registry->GraphicsCount(); ++i) {
        KIVO_GRAPHICS* picture = registry->GetGraphics(i);
        SCOPED_TRACE(files[i].name);
        EXPECT_EQ(picture->name, files[i].name);
        EXPECT_NE(picture->sprite->GetTexture(), 0u);
        EXPECT_EQ(picture->sprite->quad.blend, i % 2 ? BLEND_ALPHA : BLEND_ADDITIVE);
        EXPECT_GE(picture->sprite->width, 64.0f);
        EXPECT_LE(picture->sprite->width, 256.0f);
        EXPECT_EQ(picture->sprite->hotX, static_cast<float>(static_cast<int>(picture->sprite->width) / 2));
    }
}

// The title and the help text as the overlay draws them, into a target: crisp (full
// coverage in the glyphs' cores), centred, and saved for a person to look at.
TEST_F(RealBuild, TextIsCrispAndCentred)
{
    const int width = 960, height = 700;
    HTARGET target = engine->Target_Create(width, height, false);
    engine->Gfx_BeginScene(target);
    engine->Gfx_Clear(0xFF000000);
    bigFont->SetColor(0xFFFFFF20);
    bigFont->Render(480, 40, 2, productName);
    smallFont->SetColor(0xFFFFFF20);
    smallFont->Render(480, 100, 2, helpText);
    engine->Gfx_EndScene();
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    ASSERT_TRUE(engine->Target_ReadPixels(target, &rgba, &w, &h));
    ASSERT_EQ(w, width);
    stbi_write_png(TEXT_PNG, w, h, 4, rgba.data(), w * 4);

    // Lit columns and the brightest red of the title's band and of one help line.
    auto band = [&](int top, int bottom, int* left, int* right) {
        int brightest = 0;
        *left = width, *right = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x) {
                int red = rgba[(static_cast<size_t>(y) * width + x) * 4];
                brightest = std::max(brightest, red);
                if (red > 128) {
                    *left = std::min(*left, x);
                    *right = std::max(*right, x);
                }
            }
        return brightest;
    };
    int left = 0, right = 0;
    EXPECT_EQ(band(40, 40 + static_cast<int>(bigFont->lineHeight), &left, &right), 255);
    EXPECT_NEAR((left + right) / 2.0, 480.0, 3.0);
    EXPECT_GT(right - left, 100);
    // "_____ Control _____" is the fourth line of the help.
    int line = 100 + 3 * static_cast<int>(smallFont->lineHeight);
    EXPECT_EQ(band(line, line + static_cast<int>(smallFont->lineHeight), &left, &right), 255);
    EXPECT_NEAR((left + right) / 2.0, 480.0, 3.0);
    engine->Target_Free(target);
}
