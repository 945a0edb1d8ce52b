#include "app/ResourceLoading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/App.h"
#include "registry/KIVO.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

#include <stb/stb_image_write.h>

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh temporary working folder with the globals that loading
// touches set up: the fake engine, an empty registry, no fonts, no effects.
class LoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = fs::current_path();
        char pattern[] = "/tmp/vornaly-loading-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        fs::current_path(folder);
        engine = &fake;
        registry = new KIVO;
        ClearEffects();
    }
    void TearDown() override
    {
        delete bigFont;
        delete smallFont;
        bigFont = smallFont = nullptr;
        delete registry;
        registry = nullptr;
        engine = nullptr;
        ClearEffects();
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    static void ClearEffects()
    {
        effectColors = effectIteration = 0;
        for (HEFFECT& effect : effectCompositions)
            effect = 0;
    }
    static void WritePng(const std::string& path, int width, int height)
    {
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0x80);
        ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0) << path;
    }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::vector<std::string> RegisteredNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < registry->GraphicsCount(); ++i)
            names.push_back(registry->GetGraphics(i)->name);
        return names;
    }

    FakeEngine fake;
    fs::path previous;
    fs::path folder;
};

TEST_F(LoadingTest, PicturesAreRegisteredInSearchOrderWithAlternatingBlend)
{
    fake.powerOfTwoTextures = true;
    fs::create_directory("pix");
    WritePng("pix/r.png", 7, 7);
    WritePng("pix/Q.png", 33, 20);
    WritePng("pix/p.png", 10, 6);
    WriteFile("pix/notes.txt", "not a picture");
    registry->AddGraphics("earlier", 0, 0, 0, 1, 1, 0, 0, 5);

    ASSERT_FALSE(LoadGraphics());
    ASSERT_EQ(RegisteredNames(), (std::vector<std::string>{"earlier", "p.png", "Q.png", "r.png"}));

    struct Expect {
        int number;
        int blend;
        float width, height, hotX, hotY;
        int texWidth, texHeight;
    };
    const Expect expected[] = {
        {6, BLEND_ADDITIVE, 10, 6, 5, 3, 16, 8},
        {7, BLEND_ALPHA, 33, 20, 16, 10, 64, 32},
        {8, BLEND_ADDITIVE, 7, 7, 3, 3, 8, 8},
    };
    for (int i = 0; i < 3; ++i) {
        const Expect& e = expected[i];
        KIVO_GRAPHICS* picture = registry->GetGraphics(i + 1);
        SCOPED_TRACE(picture->name);
        gfxSprite* sprite = picture->sprite;
        EXPECT_EQ(picture->number, e.number);
        EXPECT_EQ(sprite->quad.blend, e.blend);
        EXPECT_EQ(sprite->texX, 0.0f);
        EXPECT_EQ(sprite->texY, 0.0f);
        EXPECT_EQ(sprite->width, e.width);
        EXPECT_EQ(sprite->height, e.height);
        EXPECT_EQ(sprite->hotX, e.hotX);
        EXPECT_EQ(sprite->hotY, e.hotY);
        EXPECT_EQ(sprite->texWidth, float(e.texWidth));
        EXPECT_EQ(sprite->texHeight, float(e.texHeight));
        EXPECT_FLOAT_EQ(sprite->quad.v[2].tx, e.width / e.texWidth);
        EXPECT_FLOAT_EQ(sprite->quad.v[2].ty, e.height / e.texHeight);
        for (const gfxVertex& v : sprite->quad.v)
            EXPECT_EQ(v.col, 0xFFFFFFFFu);
        const FakeEngine::Texture& texture = fake.textures.at(sprite->GetTexture());
        EXPECT_EQ(texture.name, "pix\\" + picture->name);
        EXPECT_TRUE(texture.mipmap);
    }
}

TEST_F(LoadingTest, FolderNamedLikeAPictureIsSkippedButCounted)
{
    fs::create_directories("pix/b.png");
    WritePng("pix/a.png", 4, 4);
    WritePng("pix/c.png", 4, 4);
    WritePng("pix/d.png", 4, 4);
    ASSERT_FALSE(LoadGraphics());
    ASSERT_EQ(RegisteredNames(), (std::vector<std::string>{"a.png", "c.png", "d.png"}));
    EXPECT_EQ(registry->GetGraphics(0)->sprite->quad.blend, BLEND_ADDITIVE);
    EXPECT_EQ(registry->GetGraphics(1)->sprite->quad.blend, BLEND_ADDITIVE);
    EXPECT_EQ(registry->GetGraphics(2)->sprite->quad.blend, BLEND_ALPHA);
}

TEST_F(LoadingTest, CorruptPictureFailsAndStopsTheSearchThere)
{
    fs::create_directory("pix");
    WritePng("pix/a.png", 4, 4);
    WriteFile("pix/b.png", "this is not a PNG file");
    WritePng("pix/c.png", 4, 4);
    EXPECT_TRUE(LoadGraphics());
    ASSERT_EQ(RegisteredNames(), (std::vector<std::string>{"a.png", "b.png"}));
    EXPECT_NE(registry->GetGraphics(0)->sprite->GetTexture(), 0u);
    EXPECT_EQ(registry->GetGraphics(1)->sprite->GetTexture(), 0u);
    for (const auto& [handle, texture] : fake.textures)
        EXPECT_NE(texture.name, "pix\\c.png");
}

TEST_F(LoadingTest, EmptyOrMissingPictureFolderIsNoFailure)
{
    ASSERT_FALSE(LoadGraphics());
    EXPECT_EQ(registry->GraphicsCount(), 0);
    EXPECT_NE(bigFont, nullptr);
    EXPECT_NE(smallFont, nullptr);

    fs::create_directory("pix");
    WriteFile("pix/readme.txt", "x");
    ASSERT_FALSE(LoadGraphics());
    EXPECT_EQ(registry->GraphicsCount(), 0);
}

TEST_F(LoadingTest, FontsAreReadFromTheirDescriptions)
{
    fs::create_directories("graphics");
    WritePng("graphics/font.png", 32, 32);
    WritePng("graphics/small.png", 16, 16);
    fake.files["graphics\\font.fnt"] = "[GFXFONT]\nBitmap = font.png\nChar = 41,0,0,10,20,0,0\n";
    fake.files["graphics\\fontsmall.fnt"] = "[GFXFONT]\nBitmap = small.png\nChar = 42,0,0,5,9,0,0\n";
    ASSERT_FALSE(LoadGraphics());
    ASSERT_NE(bigFont, nullptr);
    ASSERT_NE(smallFont, nullptr);
    EXPECT_NE(bigFont->glyphs['A'], nullptr);
    EXPECT_EQ(bigFont->lineHeight, 20.0f);
    EXPECT_NE(smallFont->glyphs['B'], nullptr);
    EXPECT_EQ(smallFont->lineHeight, 9.0f);
    EXPECT_EQ(fake.textures.at(smallFont->texture).name, "graphics\\small.png");
}

TEST_F(LoadingTest, MissingFontsStillLoad)
{
    ASSERT_FALSE(LoadGraphics());
    ASSERT_NE(bigFont, nullptr);
    size_t before = fake.quads.size();
    bigFont->Render(0, 0, 2, "Vornaly");
    EXPECT_EQ(fake.quads.size(), before);
}

TEST_F(LoadingTest, LoadingWithoutEngineOrRegistryFails)
{
    delete registry;
    registry = nullptr;
    EXPECT_TRUE(LoadGraphics());
    engine = nullptr;
    EXPECT_TRUE(LoadSounds());
}

TEST_F(LoadingTest, SoundsLoadInOrderUntilOneIsMissing)
{
    const char* names[] = {"sound\\one.mp3", "sound\\iter.mp3", "sound\\a1.mp3", "sound\\a2.mp3",
                           "sound\\a3.mp3",  "sound\\a4.mp3",   "sound\\a5.mp3", "sound\\a6.mp3"};
    HEFFECT* handles[] = {&effectColors,          &effectIteration,       &effectCompositions[0],
                          &effectCompositions[1], &effectCompositions[2], &effectCompositions[3],
                          &effectCompositions[4], &effectCompositions[5]};
    // missing: index of the absent file, 8 for none.
    for (int missing : {8, 1, 0, 7}) {
        SCOPED_TRACE(missing);
        fake.files.clear();
        fake.effects.clear();
        ClearEffects();
        for (int i = 0; i < 8; ++i)
            if (i != missing)
                fake.files[names[i]] = "mp3 bytes";
        EXPECT_EQ(LoadSounds(), missing < 8);
        for (int i = 0; i < 8; ++i) {
            if (i < missing) {
                ASSERT_NE(*handles[i], 0u) << names[i];
                EXPECT_EQ(fake.effects.at(*handles[i]), names[i]);
            } else {
                EXPECT_EQ(*handles[i], 0u) << names[i];
            }
        }
        EXPECT_EQ(fake.effects.size(), size_t(missing));
    }
}

} // namespace
