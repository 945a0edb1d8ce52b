#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/App.h"
#include "fractal/FractalReset.h"
#include "fractal/FrameHandler.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "fractal/ViewControl.h"
#include "registry/KIVO.h"
#include "render/ColorRGBA.h"
#include "render/RenderFrame.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

namespace {

// A font whose every printable byte is a 4 x 8 glyph on no texture, so that each byte
// of a drawn text is one quad.
std::string TinyFont()
{
    std::string description = "[GFXFONT]\n";
    for (int code = 32; code < 127; ++code) {
        char line[64];
        std::snprintf(line, sizeof line, "Char=%x,0,0,4,8,0,0\n", code);
        description += line;
    }
    return description;
}

// Two pictures, a 960 x 960 target, both fonts, and a palette where entry i is (i, 2i, 3i)
// cut to 255.
class RenderFrameTest : public ::testing::Test {
protected:
    FakeEngine fake;

    void SetUp() override
    {
        ResetFractalGlobals();
        engine = gfxCreate(GFX_VERSION);
        baseWidth = baseHeight = 960.0;
        windowScale = 1.0;
        fake.files["font.fnt"] = TinyFont();
        registry = new KIVO();
        registry->AddGraphics("a.png", 0, 0, 0, 16, 16, 0, 0, 0);
        registry->AddGraphics("b.png", 0, 0, 0, 8, 8, 0, 0, 0);
        bigFont = new gfxFont("font.fnt");
        smallFont = new gfxFont("font.fnt");
        renderTarget = engine->Target_Create(960, 960, false);
        targetSprite = new gfxSprite(engine->Target_GetTexture(renderTarget), 0, 0, 960, 960);
        document.zoom = 1.0;
        document.partScale = 1.0;
        document.transformCount = 2;
        for (int i = 0; i < 256; ++i)
            document.palette[i] = {std::min(i, 255), std::min(2 * i, 255), std::min(3 * i, 255)};
    }

    void TearDown() override
    {
        delete targetSprite;
        delete smallFont;
        delete bigFont;
        delete registry;
        targetSprite = nullptr;
        smallFont = bigFont = nullptr;
        registry = nullptr;
        ResetFractalGlobals();
        engine->Release();
        engine = nullptr;
    }

    // NEXT holds n parts of picture 0 with colours 0, 1, 2, ...
    void FillNext(int n, int capacity = -1)
    {
        AllocateBuffer(NEXT, capacity < 0 ? n : capacity);
        for (int i = 0; i < n; ++i)
            AppendPart(NEXT, static_cast<float>(i), 0.0f, 0, 0.0f, 1.0f, i % 256);
    }

    size_t PartsDrawn() const { return fake.QuadsInto(renderTarget).size(); }

    size_t TargetClears() const
    {
        size_t n = 0;
        for (const auto& clear : fake.clears)
            n += clear.target == renderTarget;
        return n;
    }

    // Quads of the screen scene other than the target itself: the overlays' glyphs.
    size_t GlyphsOnScreen() const { return fake.QuadsInto(0).size() - 1; }
};

} // namespace

TEST(ColorRGBATest, ChannelsAreCutTowardZero)
{
    EXPECT_EQ(ColorRGBA(1.0f, 0.5f, 0.25f, 1.0f).ToARGB(), 0xFFFF7F3Fu);
    EXPECT_EQ(ColorRGBA(0, 0, 0, 0).ToARGB(), 0u);
    EXPECT_EQ(ColorRGBA(200 / 255.0f, 100 / 255.0f, 50 / 255.0f, 1.0f).ToARGB(), 0xFFC86432u);
}

TEST_F(RenderFrameTest, DrawsEveryPartWithItsPaletteColourWhenTimeAllows)
{
    FillNext(3);
    document.palette[2] = {200, 100, 50};
    registry->originX = 100;
    registry->originY = 50;
    document.partScale = 2.0;
    EXPECT_FALSE(RenderFrame());
    auto quads = fake.QuadsInto(renderTarget);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(renderCursor, 3);
    EXPECT_EQ(quads[2].quad.v[0].col, 0xFFC86432u);
    EXPECT_EQ(quads[2].quad.v[3].col, 0xFFC86432u);
    // Part 2 sits at x 2 + origin 100; the 16-pixel picture with hot spot 0 doubled.
    EXPECT_FLOAT_EQ(quads[2].quad.v[0].x, 102.0f);
    EXPECT_FLOAT_EQ(quads[2].quad.v[0].y, 50.0f);
    EXPECT_FLOAT_EQ(quads[2].quad.v[2].x, 134.0f);
    EXPECT_EQ(quads[0].scale, 1.0f) << "drawn at the document's zoom";
    EXPECT_EQ(quads[0].clipW, 960);
}

TEST_F(RenderFrameTest, BudgetStopsDrawingButNeverBeforeOnePart)
{
    FillNext(5);
    // Every read of the clock passes 40 ms: the budget is spent after each part.
    fake.clockStep = 40000;
    RenderFrame();
    EXPECT_EQ(PartsDrawn(), 1u);
    EXPECT_EQ(renderCursor, 1);
    RenderFrame();
    EXPECT_EQ(renderCursor, 2);
    fake.clockStep = 0;
    RenderFrame();
    EXPECT_EQ(renderCursor, 5);
    EXPECT_EQ(TargetClears(), 1u) << "only the frame that started from part 0 clears";
}

TEST_F(RenderFrameTest, PartWithUnknownPictureIsSkippedButCounted)
{
    AllocateBuffer(NEXT, 3);
    AppendPart(NEXT, 0, 0, 0, 0, 1, 0);
    AppendPart(NEXT, 0, 0, 7, 0, 1, 0);
    AppendPart(NEXT, 0, 0, -1, 0, 1, 0);
    RenderFrame();
    EXPECT_EQ(renderCursor, 3);
    EXPECT_EQ(PartsDrawn(), 1u);
}

TEST_F(RenderFrameTest, EmptyNextClearsEveryFrameAndDrawsNothing)
{
    AllocateBuffer(NEXT, 4);
    for (int frame = 0; frame < 3; ++frame)
        RenderFrame();
    EXPECT_EQ(TargetClears(), 3u);
    EXPECT_EQ(PartsDrawn(), 0u);
    EXPECT_EQ(renderCursor, 0);
}

TEST_F(RenderFrameTest, RightButtonHeldDrawsNoPartAndShowsTheTargetShifted)
{
    FillNext(4);
    fake.keys = {KEY_RBUTTON};
    fake.mouseX = 30;
    fake.mouseY = 40;
    RenderFrame();
    RenderFrame();
    EXPECT_EQ(PartsDrawn(), 0u);
    EXPECT_EQ(renderCursor, 0);
    EXPECT_EQ(TargetClears(), 2u) << "a cursor at 0 still clears, so the dragged picture is empty";

    // The anchor was taken in the last frame without a drag; the target slides by the
    // mouse's motion since.
    fake.keys.clear();
    RenderFrame();
    dragging = 1;
    lastMouseX = 130;
    lastMouseY = 20;
    fake.quads.clear();
    RenderFrame();
    auto screen = fake.QuadsInto(0);
    ASSERT_GE(screen.size(), 1u);
    EXPECT_FLOAT_EQ(screen[0].quad.v[0].x, 100.0f);
    EXPECT_FLOAT_EQ(screen[0].quad.v[0].y, -20.0f);
    EXPECT_EQ(screen[0].quad.tex, fake.TargetTexture(renderTarget));
}

TEST_F(RenderFrameTest, InformationOverlayShowsWhileTheLeftButtonIsHeld)
{
    FillNext(1);
    RenderFrame();
    frameTime = 1000;
    fake.quads.clear();
    RenderFrame();
    EXPECT_EQ(GlyphsOnScreen(), 0u);

    fake.keys = {KEY_LBUTTON};
    fake.quads.clear();
    RenderFrame();
    size_t helpGlyphs = 0;
    for (const char* c = helpText; *c; ++c)
        helpGlyphs += *c != '\n';
    EXPECT_EQ(GlyphsOnScreen(), 3 * (std::string(productName).size() + helpGlyphs));
    // The last copy of each text is the bright one, over two dark shadows.
    EXPECT_EQ(fake.QuadsInto(0).back().quad.v[0].col, 0xFFFFFF20u);
}

TEST_F(RenderFrameTest, HelpTextHasTwentyThreeLinesAndNoFormatCharacters)
{
    std::string text = helpText;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 22);
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.find('%'), std::string::npos);
    EXPECT_NE(text.find("\n_____ Control _____\nN - New screen\nB - New colors\n"), std::string::npos);
    EXPECT_NE(text.find("\nX - Exits application\n\n\nThank you for\n\n"), std::string::npos);
}

TEST_F(RenderFrameTest, PartCountShowsTheFullSizeWhileTheGenerationIsDrawn)
{
    // 27 parents with 3 transforms: NEXT holds 81 places, 5 made so far.
    document.transformCount = 3;
    FillNext(5, 81);
    RenderFrame();
    EXPECT_DOUBLE_EQ(infoUntil, frameTime + 87.5);
    const std::string text = "Number of parts: 81";
    EXPECT_EQ(GlyphsOnScreen(), 3 * text.size());
    EXPECT_EQ(fake.QuadsInto(0).back().quad.v[0].col, 0xFFFFFFFFu);
}

TEST_F(RenderFrameTest, PartCountStaysFor87AndAHalfFrameUnitsAfterTheKeysAreReleased)
{
    FillNext(2);
    RenderFrame();
    fake.keys = {KEY_I};
    frameTime = 10;
    RenderFrame();
    EXPECT_DOUBLE_EQ(infoUntil, 97.5);
    fake.keys.clear();
    struct Case {
        double time;
        bool shows;
    };
    for (Case c : {Case{50, true}, Case{97.4, true}, Case{97.5, false}, Case{200, false}}) {
        frameTime = c.time;
        fake.quads.clear();
        RenderFrame();
        EXPECT_EQ(GlyphsOnScreen() > 0, c.shows) << "at " << c.time;
    }
}

TEST_F(RenderFrameTest, MaxItemsSuffixExactlyWhereGrowthStops)
{
    struct Case {
        int capacity;
        const char* text;
    };
    const Case cases[] = {{8388608, "Number of parts: 8388608"}, {16777216, "Number of parts: 16777216 (max items)"}};
    for (const Case& c : cases) {
        // Only the capacity counts; the array itself stays small.
        AllocateBuffer(NEXT, 1);
        SelectBuffer(NEXT)->capacity = c.capacity;
        renderCursor = 0;
        fake.keys = {KEY_TAB};
        fake.quads.clear();
        RenderFrame();
        EXPECT_EQ(GlyphsOnScreen(), 3 * std::string(c.text).size()) << c.text;
        SelectBuffer(NEXT)->capacity = 1;
    }
}
