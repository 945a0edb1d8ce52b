#include "render/gfxSprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "tests/fake/FakeEngine.h"

namespace {

struct Point {
    float x, y;
};

class SpriteTest : public ::testing::Test {
protected:
    // A texture the engine holds at width x height around an image of imageWidth x imageHeight.
    HTEXTURE MakeTexture(int width, int height, int imageWidth, int imageHeight)
    {
        HTEXTURE handle = nextTexture++;
        fake.textures[handle] = {"t", imageWidth, imageHeight, width, height, false, false};
        return handle;
    }
    // Positions of the last quad the engine drew.
    void ExpectLastQuadAt(const Point (&corners)[4], float tolerance = 0)
    {
        ASSERT_FALSE(fake.quads.empty());
        const gfxQuad& q = fake.quads.back().quad;
        for (int i = 0; i < 4; ++i) {
            if (tolerance == 0) {
                EXPECT_EQ(q.v[i].x, corners[i].x) << "vertex " << i;
                EXPECT_EQ(q.v[i].y, corners[i].y) << "vertex " << i;
            } else {
                EXPECT_NEAR(q.v[i].x, corners[i].x, tolerance) << "vertex " << i;
                EXPECT_NEAR(q.v[i].y, corners[i].y, tolerance) << "vertex " << i;
            }
        }
    }

    FakeEngine fake;
    HTEXTURE nextTexture = 500;
};

struct TexCase {
    const char* name;
    int texWidth, texHeight; // 0: no texture
    float x, y, w, h;
    float left, top, right, bottom;
};

TEST_F(SpriteTest, ConstructionNormalisesTheRectangleByTheTextureSize)
{
    const TexCase cases[] = {
        {"no texture", 0, 0, 3, 4, 40, 20, 3, 4, 43, 24},
        {"64x32", 64, 32, 0, 0, 40, 20, 0, 0, 0.625f, 0.625f},
        {"offset", 64, 64, 16, 32, 16, 16, 0.25f, 0.5f, 0.5f, 0.75f},
        // A 33 x 20 image inside a 64 x 32 power-of-two texture: only the image is covered.
        {"power of two", 64, 32, 0, 0, 33, 20, 0, 0, 33.0f / 64, 20.0f / 32},
    };
    for (const TexCase& c : cases) {
        SCOPED_TRACE(c.name);
        HTEXTURE texture = c.texWidth ? MakeTexture(c.texWidth, c.texHeight, 33, 20) : 0;
        gfxSprite sprite(texture, c.x, c.y, c.w, c.h);
        EXPECT_EQ(sprite.texWidth, c.texWidth ? float(c.texWidth) : 1.0f);
        EXPECT_EQ(sprite.texHeight, c.texHeight ? float(c.texHeight) : 1.0f);
        const float tx[4] = {c.left, c.right, c.right, c.left};
        const float ty[4] = {c.top, c.top, c.bottom, c.bottom};
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(sprite.quad.v[i].tx, tx[i]) << "vertex " << i;
            EXPECT_FLOAT_EQ(sprite.quad.v[i].ty, ty[i]) << "vertex " << i;
            EXPECT_EQ(sprite.quad.v[i].z, 0.5f);
            EXPECT_EQ(sprite.quad.v[i].col, 0xFFFFFFFFu);
        }
        EXPECT_EQ(sprite.quad.tex, texture);
        EXPECT_EQ(sprite.quad.blend, BLEND_ALPHA);
        EXPECT_EQ(sprite.hotX, 0.0f);
        EXPECT_EQ(sprite.hotY, 0.0f);
        EXPECT_EQ(sprite.GetWidth(), c.w);
    }
}

struct DrawCase {
    const char* name;
    float hotX, hotY;
    float x, y, angle, scaleX, scaleY;
    bool transformed;
    Point corners[4];
};

TEST_F(SpriteTest, DrawingPlacesTheCornersAroundTheHotSpot)
{
    const float r2 = std::sqrt(2.0f);
    const DrawCase cases[] = {
        {"render", 5, 5, 10, 20, 0, 0, 0, false, {{5, 15}, {45, 15}, {45, 35}, {5, 35}}},
        {"unit transform equals render", 5, 5, 10, 20, 0, 1, 0, true, {{5, 15}, {45, 15}, {45, 35}, {5, 35}}},
        {"scaleY 0 takes scaleX", 0, 0, 0, 0, 0, 2, 0, true, {{0, 0}, {80, 0}, {80, 40}, {0, 40}}},
        {"separate scales", 0, 0, 1, 1, 0, 0.5f, 3, true, {{1, 1}, {21, 1}, {21, 61}, {1, 61}}},
        {"centred", 20, 10, 100, 100, 0, 1, 0, true, {{80, 90}, {120, 90}, {120, 110}, {80, 110}}},
        // A quarter turn is clockwise on screen (y down): the top edge goes to the right side.
        {"quarter turn about the centre",
         20,
         10,
         100,
         100,
         float(M_PI / 2),
         1,
         0,
         true,
         {{110, 80}, {110, 120}, {90, 120}, {90, 80}}},
        {"eighth turn about the top-left corner",
         0,
         0,
         0,
         0,
         float(M_PI / 4),
         0.5f,
         1,
         true,
         {{0, 0}, {20 / r2, 20 / r2}, {0, 40 / r2}, {-20 / r2, 20 / r2}}},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        gfxSprite sprite(0, 0, 0, 40, 20);
        sprite.SetHotSpot(c.hotX, c.hotY);
        size_t before = fake.quads.size();
        if (c.transformed)
            sprite.RenderTransformed(c.x, c.y, c.angle, c.scaleX, c.scaleY);
        else
            sprite.Render(c.x, c.y);
        ASSERT_EQ(fake.quads.size(), before + 1);
        ExpectLastQuadAt(c.corners, c.angle != 0 ? 1e-4f : 0);
        EXPECT_EQ(fake.quads.back().quad.tex, 0u);
    }
}

TEST_F(SpriteTest, SetTextureOfTheSameSizeKeepsCoordinatesBitForBit)
{
    HTEXTURE first = MakeTexture(48, 48, 48, 48);
    HTEXTURE second = MakeTexture(48, 48, 48, 48);
    gfxSprite sprite(first, 1, 7, 13, 29);
    gfxQuad before = sprite.quad;
    sprite.SetTexture(second);
    EXPECT_EQ(sprite.GetTexture(), second);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(&sprite.quad.v[i].tx, &before.v[i].tx, sizeof(float)), 0) << i;
        EXPECT_EQ(std::memcmp(&sprite.quad.v[i].ty, &before.v[i].ty, sizeof(float)), 0) << i;
    }
}

TEST_F(SpriteTest, SetTextureOfAnotherSizeKeepsThePixelRectangle)
{
    HTEXTURE small = MakeTexture(64, 32, 64, 32);
    HTEXTURE large = MakeTexture(128, 128, 128, 128);
    gfxSprite sprite(small, 16, 8, 32, 16);
    sprite.SetTexture(large);
    EXPECT_EQ(sprite.texWidth, 128.0f);
    EXPECT_EQ(sprite.texHeight, 128.0f);
    const float tx[4] = {16.0f / 128, 48.0f / 128, 48.0f / 128, 16.0f / 128};
    const float ty[4] = {8.0f / 128, 8.0f / 128, 24.0f / 128, 24.0f / 128};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(sprite.quad.v[i].tx, tx[i]) << i;
        EXPECT_FLOAT_EQ(sprite.quad.v[i].ty, ty[i]) << i;
    }
    // Without texture the coordinates become the pixel rectangle itself.
    sprite.SetTexture(0);
    EXPECT_EQ(sprite.GetTexture(), 0u);
    EXPECT_FLOAT_EQ(sprite.quad.v[2].tx, 48.0f);
    EXPECT_FLOAT_EQ(sprite.quad.v[2].ty, 24.0f);
    EXPECT_EQ(sprite.texX, 16.0f);
    EXPECT_EQ(sprite.width, 32.0f);
}

TEST_F(SpriteTest, UnknownTextureSizeCountsAsOne)
{
    gfxSprite sprite(12345, 2, 3, 4, 5);
    EXPECT_EQ(sprite.texWidth, 1.0f);
    EXPECT_EQ(sprite.texHeight, 1.0f);
    EXPECT_TRUE(std::isfinite(sprite.quad.v[2].tx));
    EXPECT_EQ(sprite.quad.v[2].tx, 6.0f);
}

TEST_F(SpriteTest, ColourReachesOneOrAllVerticesAndTheDraw)
{
    struct ColorCase {
        int vertex;
        uint32_t expected[4];
    };
    const ColorCase cases[] = {
        {-1, {0xFF102030, 0xFF102030, 0xFF102030, 0xFF102030}}, {2, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF102030, 0xFFFFFFFF}},
        {0, {0xFF102030, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},  {4, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {-2, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
    };
    for (const ColorCase& c : cases) {
        gfxSprite sprite(0, 0, 0, 1, 1);
        sprite.SetColor(0xFF102030, c.vertex);
        sprite.SetBlendMode(BLEND_ADDITIVE);
        sprite.Render(0, 0);
        const gfxQuad& drawn = fake.quads.back().quad;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(drawn.v[i].col, c.expected[i]) << "index " << c.vertex << " vertex " << i;
        EXPECT_EQ(drawn.blend, BLEND_ADDITIVE);
    }
}

TEST_F(SpriteTest, EachSpriteHoldsOneEngineReferenceAndLeavesItsTexture)
{
    HTEXTURE texture = MakeTexture(8, 8, 8, 8);
    int before = fake.RefCount();
    auto* a = new gfxSprite(texture, 0, 0, 8, 8);
    auto* b = new gfxSprite(0, 0, 0, 8, 8);
    EXPECT_EQ(fake.RefCount(), before + 2);
    EXPECT_EQ(gfxSprite::gfx, &fake);
    delete a;
    EXPECT_EQ(fake.RefCount(), before + 1);
    delete b;
    EXPECT_EQ(fake.RefCount(), before);
    EXPECT_FALSE(fake.textures[texture].freed);
}

} // namespace
