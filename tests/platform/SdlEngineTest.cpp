#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/Engine.h"
#include "platform/SdlEngine.h"
#include "tests/platform/OffscreenGl.h"

#include <stb/stb_image_write.h>

namespace fs = std::filesystem;

namespace {

// One real engine with its window for the whole test program: creating windows
// and GL contexts over and over is slow.
class RealEngine : public ::testing::Environment {
public:
    static SdlEngine* engine;

    void SetUp() override
    {
        // Always offscreen (EGL), so the tests run the same with or without X.
        PrepareOffscreenGl();
        Engine* created = gfxCreate(GFX_VERSION);
        engine = dynamic_cast<SdlEngine*>(created);
        ASSERT_NE(engine, nullptr);
        engine->System_SetState(STATE_TITLE, "Vornaly test");
        engine->System_SetState(STATE_WINDOWED, true);
        engine->System_SetState(STATE_SCREENWIDTH, 64);
        engine->System_SetState(STATE_SCREENHEIGHT, 48);
        engine->System_SetState(STATE_FPS, 50);
        ASSERT_TRUE(engine->System_Initiate()) << engine->System_GetErrorMessage();
    }

    void TearDown() override
    {
        if (!engine)
            return;
        engine->System_Shutdown();
        engine->Release();
        engine = nullptr;
    }
};

SdlEngine* RealEngine::engine = nullptr;
const auto* const registered = ::testing::AddGlobalTestEnvironment(new RealEngine);

struct Pixel {
    int r, g, b, a;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

// Each channel within tolerance of the expected value.
::testing::AssertionResult Near(const Pixel& actual, const Pixel& expected, int tolerance = 2)
{
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance && std::abs(actual.a - expected.a) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << actual << ", expected " << expected;
}

gfxQuad MakeQuad(float x, float y, float w, float h, uint32_t color, int blend, HTEXTURE texture = 0)
{
    gfxQuad quad{};
    quad.v[0] = {x, y, 0.5f, color, 0, 0};
    quad.v[1] = {x + w, y, 0.5f, color, 1, 0};
    quad.v[2] = {x + w, y + h, 0.5f, color, 1, 1};
    quad.v[3] = {x, y + h, 0.5f, color, 0, 1};
    quad.tex = texture;
    quad.blend = blend;
    return quad;
}

// A temporary working folder, entered for the test and left afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "vornaly_platform_XXXXXX").string();
        path = mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
        previous = fs::current_path();
        if (!path.empty())
            fs::current_path(path);
    }
    ~TempFolder()
    {
        fs::current_path(previous);
        std::error_code error;
        if (!path.empty())
            fs::remove_all(path, error);
    }
    void Write(const std::string& name, const std::string& content) const
    {
        fs::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << content;
    }
    // Writes an RGBA image as PNG.
    void WritePng(const std::string& name, int w, int h, const std::vector<uint8_t>& rgba) const
    {
        ASSERT_TRUE(stbi_write_png((path / name).c_str(), w, h, 4, rgba.data(), w * 4));
    }

    fs::path path;

private:
    fs::path previous;
};

// Drawing into one fresh 64 x 64 render target.
class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = RealEngine::engine;
        ASSERT_NE(engine, nullptr);
        target = engine->Target_Create(kSize, kSize, false);
        ASSERT_NE(target, 0u);
    }
    void TearDown() override
    {
        if (engine)
            engine->Target_Free(target);
    }

    Pixel At(HTARGET from, int x, int y)
    {
        std::vector<uint8_t> rgba;
        int w = 0, h = 0;
        EXPECT_TRUE(engine->Target_ReadPixels(from, &rgba, &w, &h));
        if (x < 0 || y < 0 || x >= w || y >= h)
            return {-1, -1, -1, -1};
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    Pixel At(int x, int y) { return At(target, x, y); }

    void Draw(const gfxQuad& quad) { engine->Gfx_RenderQuad(&quad); }

    static constexpr int kSize = 64;
    SdlEngine* engine = nullptr;
    HTARGET target = 0;
};

TEST_F(Drawing, NewTargetIsTransparentAndReadsUpright)
{
    EXPECT_TRUE(Near(At(5, 5), {0, 0, 0, 0}));
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    // Red across the top rows only: y grows downwards.
    Draw(MakeQuad(0, 0, kSize, 8, 0xFFFF0000, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(30, 2), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(At(30, kSize - 2), {0, 0, 0, 0}));
}

TEST_F(Drawing, TargetKeepsItsPixelsAcrossScenes)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    Draw(MakeQuad(2, 2, 4, 4, 0xFFFF0000, BLEND_ALPHA));
    engine->Gfx_EndScene();
    // Another scene in between, on the screen.
    ASSERT_TRUE(engine->Gfx_BeginScene(0));
    engine->Gfx_Clear(0xFF0000FF);
    engine->Gfx_EndScene();
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    Draw(MakeQuad(20, 20, 4, 4, 0xFF00FF00, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(3, 3), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(At(21, 21), {0, 255, 0, 255}));
    EXPECT_TRUE(Near(At(40, 40), {0, 0, 0, 0}));
}

struct BlendCase {
    const char* name;
    uint32_t clear;
    uint32_t color;
    int blend;
    Pixel expected;
};

void PrintTo(const BlendCase& c, std::ostream* out)
{
    *out << c.name;
}

class Blending : public Drawing, public ::testing::WithParamInterface<BlendCase> {};

// Destinations hold colours premultiplied by alpha; additive light adds colour and no
// coverage, so it leaves the destination's alpha as it was.
INSTANTIATE_TEST_SUITE_P(
    Modes, Blending,
    ::testing::Values(BlendCase{"AlphaOverOpaque", 0xFF0000FF, 0x80FF0000, BLEND_ALPHA, {128, 0, 127, 255}},
                      BlendCase{"AlphaOverTransparent", 0, 0x80FF0000, BLEND_ALPHA, {128, 0, 0, 128}},
                      BlendCase{"OpaqueAlphaReplaces", 0xFF204060, 0xFF00FF00, BLEND_ALPHA, {0, 255, 0, 255}},
                      BlendCase{"AdditiveWeightedByAlpha", 0xFF202020, 0x80FF0000, BLEND_ADDITIVE, {160, 32, 32, 255}},
                      BlendCase{"AdditiveOntoTransparent", 0, 0x40FFFFFF, BLEND_ADDITIVE, {64, 64, 64, 0}},
                      BlendCase{"AdditiveSaturates", 0xFFC0C0C0, 0xFFFFFFFF, BLEND_ADDITIVE, {255, 255, 255, 255}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(Blending, GivesExpectedPixel)
{
    const BlendCase& c = GetParam();
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(c.clear);
    Draw(MakeQuad(8, 8, 16, 16, c.color, c.blend));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(15, 15), c.expected));
}

TEST_F(Drawing, AdditiveQuadsAccumulate)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    for (int i = 0; i < 4; ++i)
        Draw(MakeQuad(8, 8, 16, 16, 0x40FF8000, BLEND_ADDITIVE));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(15, 15), {255, 128, 0, 0}, 4));
}

TEST_F(Drawing, VertexColourMultipliesTexel)
{
    TempFolder folder;
    std::vector<uint8_t> rgba(4 * 4 * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = 200;
        rgba[i + 1] = 100;
        rgba[i + 2] = 40;
        rgba[i + 3] = 255;
    }
    folder.WritePng("solid.png", 4, 4, rgba);
    HTEXTURE texture = engine->Texture_Load("solid.png", 0, false);
    ASSERT_NE(texture, 0u);
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0xFF000000);
    Draw(MakeQuad(0, 0, 16, 16, 0xFF808080, BLEND_ALPHA, texture));
    Draw(MakeQuad(16, 0, 16, 16, 0x80FFFFFF, BLEND_ALPHA, texture));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(8, 8), {100, 50, 20, 255}));
    EXPECT_TRUE(Near(At(24, 8), {100, 50, 20, 255}));
    engine->Texture_Free(texture);
}

// A faint additive glow in a target must reach the screen at its own value: the
// target holds premultiplied colours and is presented with premultiplied blending.
TEST_F(Drawing, PresentedTargetKeepsFaintGlow)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    Draw(MakeQuad(0, 0, kSize, kSize, 0x20FFFFFF, BLEND_ADDITIVE));
    Draw(MakeQuad(0, 0, 8, 8, 0xFF40C0FF, BLEND_ALPHA));
    engine->Gfx_EndScene();
    Pixel glow = At(30, 30);
    // Additive light brings colour but no coverage: the target keeps its alpha.
    ASSERT_TRUE(Near(glow, {32, 32, 32, 0}));

    HTARGET other = engine->Target_Create(kSize, kSize, false);
    ASSERT_NE(other, 0u);
    for (HTARGET shown : {HTARGET{0}, other}) {
        SCOPED_TRACE(shown ? "into a target" : "onto the screen");
        ASSERT_TRUE(engine->Gfx_BeginScene(shown));
        engine->Gfx_Clear(0xFF000000);
        Draw(MakeQuad(0, 0, kSize, kSize, 0xFFFFFFFF, BLEND_ALPHA, engine->Target_GetTexture(target)));
        engine->Gfx_EndScene();
        EXPECT_TRUE(Near(At(shown, 30, 30), {glow.r, glow.g, glow.b, 255}, 1));
        // The target's texture shows it upright: its top-left corner stays top-left.
        EXPECT_TRUE(Near(At(shown, 3, 3), {64, 192, 255, 255}, 1));
        EXPECT_TRUE(Near(At(shown, 3, 40), {32, 32, 32, 255}, 1));
    }
    engine->Target_Free(other);
}

TEST_F(Drawing, TransformScalesAboutTopLeftUntilNextScene)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    engine->Gfx_SetTransform(0, 0, 0, 0, 0, 0.5f, 0.5f);
    Draw(MakeQuad(0, 0, kSize, kSize, 0xFFFFFFFF, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(30, 30), {255, 255, 255, 255}));
    EXPECT_TRUE(Near(At(34, 34), {0, 0, 0, 0}));
    EXPECT_TRUE(Near(At(34, 10), {0, 0, 0, 0}));

    // A new scene starts untransformed.
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    Draw(MakeQuad(40, 40, 8, 8, 0xFFFF0000, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(44, 44), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(At(22, 22), {255, 255, 255, 255}));
}

TEST_F(Drawing, ZeroScalesMeanUntransformed)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    engine->Gfx_SetTransform(0, 0, 0, 0, 0, 0.25f, 0.25f);
    engine->Gfx_SetTransform(0, 0, 0, 0, 0, 0, 0);
    Draw(MakeQuad(40, 40, 8, 8, 0xFFFF0000, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(44, 44), {255, 0, 0, 255}));
}

TEST_F(Drawing, ClippingLimitsDrawingUntilNextScene)
{
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    engine->Gfx_SetClipping(8, 4, 16, 12);
    Draw(MakeQuad(0, 0, kSize, kSize, 0xFFFFFFFF, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(8, 4), {255, 255, 255, 255}));
    EXPECT_TRUE(Near(At(23, 15), {255, 255, 255, 255}));
    for (auto [x, y] : {std::pair{7, 10}, {24, 10}, {12, 3}, {12, 16}, {50, 50}})
        EXPECT_TRUE(Near(At(x, y), {0, 0, 0, 0})) << x << ", " << y;

    // Clipping of size 0 is the whole target again; a new scene resets it too.
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_SetClipping(0, 0, 4, 4);
    engine->Gfx_SetClipping(0, 0, 0, 0);
    Draw(MakeQuad(40, 40, 8, 8, 0xFFFF0000, BLEND_ALPHA));
    engine->Gfx_EndScene();
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    Draw(MakeQuad(50, 2, 4, 4, 0xFF00FF00, BLEND_ALPHA));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(44, 44), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(At(52, 4), {0, 255, 0, 255}));
}

TEST_F(Drawing, QuadsShareDrawCallsAcrossBlendModesAndUpToEightTextures)
{
    TempFolder folder;
    folder.WritePng("white.png", 2, 2, std::vector<uint8_t>(2 * 2 * 4, 255));
    std::vector<HTEXTURE> textures;
    for (int i = 0; i < 9; ++i)
        textures.push_back(engine->Texture_Load("white.png", 0, true));

    // Parts alternate pictures and blend modes; eight pictures still make one batch.
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0);
    uint64_t before = engine->DrawCalls();
    for (int i = 0; i < 500; ++i)
        Draw(MakeQuad(static_cast<float>(i % 60), static_cast<float>(i / 10), 2, 2, 0x10FFFFFF,
                      i % 2 ? BLEND_ALPHA : BLEND_ADDITIVE, textures[i % 8]));
    engine->Gfx_EndScene();
    EXPECT_EQ(engine->DrawCalls() - before, 1u);

    // A ninth texture needs a slot that the batch no longer has.
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    before = engine->DrawCalls();
    for (int i = 0; i < 9; ++i)
        Draw(MakeQuad(0, 0, 2, 2, 0x10FFFFFF, BLEND_ADDITIVE, textures[i]));
    engine->Gfx_EndScene();
    EXPECT_EQ(engine->DrawCalls() - before, 2u);
    for (HTEXTURE texture : textures)
        engine->Texture_Free(texture);
}

// Filling costs by the pixel: quads that each cover a whole large target go out a few
// at a time, so a budget checked between quads sees the work.
TEST_F(Drawing, BatchesOfLargeQuadsAreSentEarly)
{
    HTARGET large = engine->Target_Create(1024, 1024, false);
    ASSERT_NE(large, 0u);
    ASSERT_TRUE(engine->Gfx_BeginScene(large));
    uint64_t before = engine->DrawCalls();
    // Each quad covers the whole megapixel target: every second one sends the batch.
    for (int i = 0; i < 7; ++i)
        Draw(MakeQuad(-100, -100, 2000, 2000, 0x10FFFFFF, BLEND_ADDITIVE));
    EXPECT_EQ(engine->DrawCalls() - before, 3u);
    engine->Gfx_EndScene();
    EXPECT_EQ(engine->DrawCalls() - before, 4u);
    engine->Target_Free(large);
}

// Quads in different pictures and modes keep their own texels and blending in one batch.
TEST_F(Drawing, MixedBatchKeepsEachQuadsTextureAndMode)
{
    TempFolder folder;
    std::vector<uint8_t> red(4 * 4 * 4), blue(4 * 4 * 4);
    for (size_t i = 0; i < red.size(); i += 4) {
        red[i] = 255, red[i + 3] = 255;
        blue[i + 2] = 255, blue[i + 3] = 255;
    }
    folder.WritePng("red.png", 4, 4, red);
    folder.WritePng("blue.png", 4, 4, blue);
    HTEXTURE redTexture = engine->Texture_Load("red.png", 0, false);
    HTEXTURE blueTexture = engine->Texture_Load("blue.png", 0, false);
    ASSERT_TRUE(engine->Gfx_BeginScene(target));
    engine->Gfx_Clear(0xFF000000);
    Draw(MakeQuad(0, 0, 16, 16, 0xFFFFFFFF, BLEND_ALPHA, redTexture));
    Draw(MakeQuad(8, 0, 16, 16, 0x80FFFFFF, BLEND_ADDITIVE, blueTexture));
    Draw(MakeQuad(40, 0, 16, 16, 0x80FFFFFF, BLEND_ALPHA, blueTexture));
    engine->Gfx_EndScene();
    EXPECT_TRUE(Near(At(4, 4), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(At(12, 4), {255, 0, 128, 255}));
    EXPECT_TRUE(Near(At(44, 4), {0, 0, 128, 255}));
    engine->Texture_Free(redTexture);
    engine->Texture_Free(blueTexture);
}

// A picture whose centre is empty but half of whose area is white: drawn one pixel
// large with mipmaps it averages to half brightness; without, it samples its centre.
TEST_F(Drawing, MipmappedTextureDrawnTinyAveragesItsPicture)
{
    TempFolder folder;
    const int n = 64;
    // Empty pixels are transparent white, as image editors often save them: their
    // colour must not leak into the average.
    std::vector<uint8_t> rgba(static_cast<size_t>(n) * n * 4, 255);
    for (int y = 0; y < n; ++y)
        for (int x = n / 4; x < n * 3 / 4; ++x)
            rgba[(static_cast<size_t>(y) * n + x) * 4 + 3] = 0;
    folder.WritePng("bars.png", n, n, rgba);
    struct Case {
        bool mipmap;
        Pixel expected;
        int tolerance;
    };
    for (Case c : {Case{true, {128, 128, 128, 255}, 12}, Case{false, {0, 0, 0, 255}, 2}}) {
        SCOPED_TRACE(c.mipmap ? "mipmapped" : "plain");
        HTEXTURE texture = engine->Texture_Load("bars.png", 0, c.mipmap);
        ASSERT_NE(texture, 0u);
        ASSERT_TRUE(engine->Gfx_BeginScene(target));
        engine->Gfx_Clear(0xFF000000);
        Draw(MakeQuad(10, 10, 1, 1, 0xFFFFFFFF, BLEND_ADDITIVE, texture));
        engine->Gfx_EndScene();
        EXPECT_TRUE(Near(At(10, 10), c.expected, c.tolerance));
        engine->Texture_Free(texture);
    }
}

TEST_F(Drawing, TextureLoadReportsSizeAndRefusesBadFiles)
{
    TempFolder folder;
    folder.WritePng("wide.png", 12, 5, std::vector<uint8_t>(12 * 5 * 4, 255));
    folder.Write("broken.png", "\x89PNG\r\n\x1a\n not really");
    HTEXTURE texture = engine->Texture_Load("wide.png", 0, true);
    ASSERT_NE(texture, 0u);
    for (bool imageSize : {true, false}) {
        EXPECT_EQ(engine->Texture_GetWidth(texture, imageSize), 12);
        EXPECT_EQ(engine->Texture_GetHeight(texture, imageSize), 5);
    }
    engine->Texture_Free(texture);
    EXPECT_EQ(engine->Texture_GetWidth(texture, false), 0);
    EXPECT_EQ(engine->Texture_Load("missing.png", 0, false), 0u);
    EXPECT_EQ(engine->Texture_Load("broken.png", 0, false), 0u);
}

// ---- resources ----

class Resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = RealEngine::engine;
        ASSERT_NE(engine, nullptr);
        ASSERT_FALSE(folder.path.empty());
    }

    // Zips a folder of the working folder into a pack and removes the folder.
    void MakePack(const std::string& pack, const std::string& dir)
    {
        std::string command = "cmake -E tar cf " + pack + " --format=zip " + dir;
        ASSERT_EQ(std::system(command.c_str()), 0);
        fs::remove_all(folder.path / dir);
    }

    std::string Load(const char* name)
    {
        uint32_t size = 12345;
        void* data = engine->Resource_Load(name, &size);
        if (!data) {
            EXPECT_EQ(size, 0u);
            return "<none>";
        }
        std::string bytes(static_cast<const char*>(data), size);
        engine->Resource_Free(data);
        return bytes;
    }

    TempFolder folder;
    SdlEngine* engine = nullptr;
};

TEST_F(Resources, BackslashedNameIsFoundInPackBeforeWorkingFolder)
{
    folder.Write("res1/art/font.fnt", "from the first pack");
    MakePack("First.paq", "res1");
    folder.Write("res1/art/font.fnt", "from the second pack");
    folder.Write("res1/art/second.txt", "second only");
    MakePack("Second.paq", "res1");
    folder.Write("res1/art/font.fnt", "from the folder");
    folder.Write("res1/art/loose.txt", "loose");

    EXPECT_TRUE(engine->Resource_AttachPack("First.paq", nullptr));
    EXPECT_TRUE(engine->Resource_AttachPack("Second.paq", nullptr));
    EXPECT_EQ(Load("res1\\art\\font.fnt"), "from the first pack");
    EXPECT_EQ(Load("res1\\art\\second.txt"), "second only");
    EXPECT_EQ(Load("res1\\art\\loose.txt"), "loose");
    EXPECT_EQ(Load("res1/art/loose.txt"), "loose");
}

TEST_F(Resources, MissingOrUnsafeNameGivesNull)
{
    folder.Write("inside.txt", "x");
    EXPECT_EQ(Load("inside.txt"), "x");
    EXPECT_EQ(Load("nothing\\here.txt"), "<none>");
    EXPECT_EQ(Load("..\\inside.txt"), "<none>");
    EXPECT_EQ(Load(""), "<none>");
}

TEST_F(Resources, EmptyFileLoadsAsEmpty)
{
    folder.Write("empty.txt", "");
    EXPECT_EQ(Load("empty.txt"), "");
}

TEST_F(Resources, OnlyZipArchivesAttach)
{
    folder.Write("Text.paq", "this is not an archive");
    fs::create_directories(folder.path / "Folder.paq");
    EXPECT_FALSE(engine->Resource_AttachPack("Missing.paq", nullptr));
    EXPECT_FALSE(engine->Resource_AttachPack("Text.paq", nullptr));
    EXPECT_FALSE(engine->Resource_AttachPack("Folder.paq", nullptr));
}

TEST_F(Resources, FindFilesSearchesTheWorkingFolder)
{
    folder.Write("pix/b.PNG", "");
    folder.Write("pix/a.png", "");
    folder.Write("pix/c.txt", "");
    std::vector<gfxFileEntry> found = engine->Resource_FindFiles("pix\\*.png");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "a.png");
    EXPECT_EQ(found[1].name, "b.PNG");
}

// ---- sound ----

class Sound : public Resources {};

TEST_F(Sound, Mp3DecodesAndPlaysOnAChannel)
{
    if (std::system("sox -n tone.mp3 synth 0.3 sine 440 2>/dev/null") != 0)
        GTEST_SKIP() << "sox cannot write MP3 here";
    HEFFECT effect = engine->Effect_Load("tone.mp3", 0);
    ASSERT_NE(effect, 0u);
    HCHANNEL first = engine->Effect_PlayEx(effect, 50, 0, 1.0f, false);
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(engine->Channel_IsPlaying(first));
    engine->Channel_Stop(first);
    EXPECT_FALSE(engine->Channel_IsPlaying(first));

    // A later playback on the same mixer channel is not the first one's.
    HCHANNEL second = engine->Effect_PlayEx(effect, 100, 0, 1.0f, false);
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    engine->Channel_Stop(first);
    EXPECT_FALSE(engine->Channel_IsPlaying(first));
    EXPECT_TRUE(engine->Channel_IsPlaying(second));
    engine->Channel_Stop(second);
}

TEST_F(Sound, MissingOrUndecodableFileGivesNoEffect)
{
    folder.Write("noise.mp3", std::string(4000, 'x'));
    folder.Write("empty.mp3", "");
    EXPECT_EQ(engine->Effect_Load("missing.mp3", 0), 0u);
    EXPECT_EQ(engine->Effect_Load("noise.mp3", 0), 0u);
    EXPECT_EQ(engine->Effect_Load("empty.mp3", 0), 0u);
    EXPECT_EQ(engine->Effect_PlayEx(0, 100, 0, 1.0f, false), 0u);
    EXPECT_FALSE(engine->Channel_IsPlaying(0));
}

// ---- input ----

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = RealEngine::engine;
        ASSERT_NE(engine, nullptr);
        engine->PumpEvents();
    }
    SdlEngine* engine = nullptr;
};

TEST_F(Input, TapBetweenFramesCountsForOneFrame)
{
    for (int key : {KEY_N, KEY_TAB, KEY_SPACE, int{'7'}, KEY_LBUTTON, KEY_RBUTTON}) {
        SCOPED_TRACE(key);
        engine->PushKeyEvent(key, true);
        engine->PushKeyEvent(key, false);
        EXPECT_TRUE(engine->PumpEvents());
        EXPECT_TRUE(engine->Input_GetKeyState(key));
        EXPECT_FALSE(engine->Input_GetKeyState(KEY_X));
        engine->PumpEvents();
        EXPECT_FALSE(engine->Input_GetKeyState(key));
    }
}

TEST_F(Input, HeldKeyStaysHeldUntilReleased)
{
    engine->PushKeyEvent(KEY_A, true);
    engine->PumpEvents();
    engine->PumpEvents();
    EXPECT_TRUE(engine->Input_GetKeyState(KEY_A));
    engine->PushKeyEvent(KEY_A, false);
    engine->PumpEvents();
    EXPECT_FALSE(engine->Input_GetKeyState(KEY_A));
}

// Ctrl stands for two SDL keys and is tracked apart from the others.
TEST_F(Input, CtrlIsHeldAndReleased)
{
    engine->PushKeyEvent(KEY_CTRL, true);
    engine->PumpEvents();
    EXPECT_TRUE(engine->Input_GetKeyState(KEY_CTRL));
    engine->PushKeyEvent(KEY_CTRL, false);
    engine->PumpEvents();
    engine->PumpEvents();
    EXPECT_FALSE(engine->Input_GetKeyState(KEY_CTRL));
}

TEST_F(Input, WheelSumsTheMotionSinceThePreviousFrame)
{
    engine->PushWheelEvent(1);
    engine->PushWheelEvent(1);
    engine->PushWheelEvent(-3);
    engine->PumpEvents();
    EXPECT_EQ(engine->Input_GetMouseWheel(), -1);
    engine->PumpEvents();
    EXPECT_EQ(engine->Input_GetMouseWheel(), 0);
}

// ---- frame loop and system ----

int framesSeen = 0;
int rendersSeen = 0;
std::vector<float> deltas;

bool CountingFrame()
{
    deltas.push_back(RealEngine::engine->Timer_GetDelta());
    ++framesSeen;
    // The render function has run once for every earlier frame.
    EXPECT_EQ(rendersSeen, framesSeen - 1);
    return framesSeen == 4;
}

bool CountingRender()
{
    ++rendersSeen;
    SdlEngine* engine = RealEngine::engine;
    engine->Gfx_BeginScene(0);
    engine->Gfx_Clear(0xFF000000);
    engine->Gfx_EndScene();
    return false;
}

TEST(FrameLoop, RunsFrameThenRenderUntilFrameFunctionStops)
{
    SdlEngine* engine = RealEngine::engine;
    ASSERT_NE(engine, nullptr);
    framesSeen = rendersSeen = 0;
    deltas.clear();
    engine->System_SetState(STATE_FRAMEFUNC, CountingFrame);
    engine->System_SetState(STATE_RENDERFUNC, CountingRender);
    EXPECT_TRUE(engine->System_Start());
    engine->System_SetState(STATE_FRAMEFUNC, nullptr);
    engine->System_SetState(STATE_RENDERFUNC, nullptr);
    EXPECT_EQ(framesSeen, 4);
    EXPECT_EQ(rendersSeen, 3);
    ASSERT_EQ(deltas.size(), 4u);
    for (size_t i = 1; i < deltas.size(); ++i)
        EXPECT_GT(deltas[i], 0.0f);
}

bool FrameThatAsksToClose()
{
    if (++framesSeen == 2)
        RealEngine::engine->PushQuitEvent();
    return framesSeen >= 10;
}

TEST(FrameLoop, EndsWhenTheWindowIsClosed)
{
    SdlEngine* engine = RealEngine::engine;
    ASSERT_NE(engine, nullptr);
    framesSeen = 0;
    engine->System_SetState(STATE_FRAMEFUNC, FrameThatAsksToClose);
    EXPECT_TRUE(engine->System_Start());
    engine->System_SetState(STATE_FRAMEFUNC, nullptr);
    EXPECT_EQ(framesSeen, 2);
}

TEST(System, DesktopSizeIsNeverZero)
{
    int width = 0, height = 0;
    RealEngine::engine->System_GetDesktopSize(&width, &height);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
}

TEST(System, MessageBoxWithoutDisplayAnswersNo)
{
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "a real box would wait for an answer";
    EXPECT_EQ(RealEngine::engine->System_MessageBox("Run full screen?", "Vornaly", MB_BUTTONS_YESNO), ANSWER_NO);
}

} // namespace
