#include "render/gfxFont.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

#include <stb/stb_image_write.h>

namespace {

std::string Png(int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0xFF);
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
        },
        &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

class FontTest : public ::testing::Test {
protected:
    std::unique_ptr<gfxFont> Load(const std::string& description, const std::string& name = "fonts\\test.fnt")
    {
        fake.files[name] = description;
        return std::make_unique<gfxFont>(name.c_str());
    }
    int GlyphCount(const gfxFont& font)
    {
        int n = 0;
        for (gfxSprite* glyph : font.glyphs)
            n += glyph != nullptr;
        return n;
    }

    FakeEngine fake;
};

TEST_F(FontTest, ReadsBitmapAndGlyphsOfAGoodDescription)
{
    fake.files["fonts\\letters.png"] = Png(64, 32);
    auto font = Load("[GFXFONT]\r\n"
                     "\r\n"
                     "Bitmap = letters.png\r\n"
                     "; a comment line\r\n"
                     "Char = \"A\", 16, 8, 10, 14, 1, 2\r\n"
                     "Char=  42,0,0,8,9,-1,-2\r\n"
                     "Char = \" \", 1, 2, 3, 20, 0, 5\r\n"
                     "Char = \"\"\", 4, 4, 4, 4, 4, 4\r\n"
                     "Char=ff , 5 , 6 , 7 , 8 , 9 , 10"); // no line end after the last line
    ASSERT_NE(font->texture, 0u);
    EXPECT_EQ(fake.textures[font->texture].name, "fonts\\letters.png");
    EXPECT_FALSE(fake.textures[font->texture].mipmap);
    EXPECT_EQ(GlyphCount(*font), 5);

    gfxSprite* a = font->glyphs['A'];
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetTexture(), font->texture);
    EXPECT_EQ(a->texX, 16.0f);
    EXPECT_EQ(a->texY, 8.0f);
    EXPECT_EQ(a->width, 10.0f);
    EXPECT_EQ(a->height, 14.0f);
    EXPECT_FLOAT_EQ(a->quad.v[2].tx, 26.0f / 64);
    EXPECT_FLOAT_EQ(a->quad.v[2].ty, 22.0f / 32);
    EXPECT_EQ(a->hotX, 0.0f);
    EXPECT_EQ(a->quad.blend, BLEND_ALPHA);
    EXPECT_EQ(font->preWidths['A'], 1.0f);
    EXPECT_EQ(font->postWidths['A'], 2.0f);

    ASSERT_NE(font->glyphs[0x42], nullptr);
    EXPECT_EQ(font->preWidths[0x42], -1.0f);
    EXPECT_EQ(font->postWidths[0x42], -2.0f);
    ASSERT_NE(font->glyphs[' '], nullptr);
    ASSERT_NE(font->glyphs['"'], nullptr);
    EXPECT_EQ(font->glyphs['"']->width, 4.0f);
    ASSERT_NE(font->glyphs[255], nullptr);
    EXPECT_EQ(font->glyphs[255]->texX, 5.0f);
    EXPECT_EQ(font->postWidths[255], 10.0f);
    EXPECT_EQ(font->lineHeight, 20.0f);
    EXPECT_TRUE(fake.logLines.empty());
}

TEST_F(FontTest, BitmapIsLookedUpBesideTheDescription)
{
    struct Case {
        const char* description;
        const char* bitmap;
    };
    const Case cases[] = {
        {"graphics\\font.fnt", "graphics\\b.png"},
        {"a/b\\c/font.fnt", "a/b\\b.png"},
        {"graphics/font.fnt", "graphics/b.png"},
        {"font.fnt", "b.png"},
    };
    for (const Case& c : cases) {
        fake.files.clear();
        fake.files[c.bitmap] = Png(4, 4);
        auto font = Load("[GFXFONT]\nBitmap=b.png\n", c.description);
        ASSERT_NE(font->texture, 0u) << c.description;
        EXPECT_EQ(fake.textures[font->texture].name, c.bitmap);
    }
}

TEST_F(FontTest, WrongHeaderIsLoggedAndLeavesTheFontEmpty)
{
    const char* descriptions[] = {
        "",
        "[GFXFONT] \nChar = 41,0,0,1,1,0,0\n",
        "\n[GFXFONT]\nChar = 41,0,0,1,1,0,0\n",
        "[gfxfont]\nChar = 41,0,0,1,1,0,0\n",
        "[GFXFONT",
        "\xEF\xBB\xBF[GFXFONT]\nChar = 41,0,0,1,1,0,0\n",
    };
    for (const char* description : descriptions) {
        fake.logLines.clear();
        auto font = Load(description, "graphics\\bad.fnt");
        EXPECT_EQ(GlyphCount(*font), 0) << description;
        ASSERT_EQ(fake.logLines.size(), 1u) << description;
        EXPECT_EQ(fake.logLines[0], "Font graphics\\bad.fnt has incorrect format.");
    }
}

TEST_F(FontTest, MissingFileOrBareHeaderGivesAnEmptyFontSilently)
{
    for (const char* description : {"[GFXFONT]", "[GFXFONT]\r\n\r\n\n", "[GFXFONT]\nKerning = 1\n"}) {
        auto font = Load(description);
        EXPECT_EQ(GlyphCount(*font), 0);
        EXPECT_EQ(font->lineHeight, 0.0f);
    }
    gfxFont missing("graphics\\nothing.fnt");
    EXPECT_EQ(GlyphCount(missing), 0);
    EXPECT_EQ(missing.texture, 0u);
    EXPECT_TRUE(fake.logLines.empty());
}

struct CharCase {
    const char* line;
    int code; // -1: the line is ignored
    int numbers[6];
};

TEST_F(FontTest, CharLinesOfEveryShape)
{
    const CharCase cases[] = {
        {"Char = 41,1,2,3,4,5,6", 'A', {1, 2, 3, 4, 5, 6}},
        {"Char = 6a , 1 ,\t2, 3 ,4,5,   6", 'j', {1, 2, 3, 4, 5, 6}},
        {"Char =   \"x\",1,2,3,4,-5,-6", 'x', {1, 2, 3, 4, -5, -6}},
        {"Char = ff,1,2,3,4,5,6", 255, {1, 2, 3, 4, 5, 6}},
        {"Char = 000000000000000000000041,1,1,1,1,1,1", 'A', {1, 1, 1, 1, 1, 1}},
        {"Characters = 41,7,7,7,7,7,7", 'A', {7, 7, 7, 7, 7, 7}},
        // Missing numbers count as 0.
        {"Char = 41, 1, 2", 'A', {1, 2, 0, 0, 0, 0}},
        {"Char = 41", 'A', {0, 0, 0, 0, 0, 0}},
        {"Char = \"A", 'A', {0, 0, 0, 0, 0, 0}},
        {"Char = 41, 1, x, 3, 4, 5, 6", 'A', {1, 0, 0, 0, 0, 0}},
        {"Char = 41 1, 2, 3, 4, 5, 6", 'A', {0, 0, 0, 0, 0, 0}},
        {"Char = zz, 1, 2, 3, 4, 5, 6", 0, {0, 0, 0, 0, 0, 0}},
        // Out of the 32-bit range: clamped.
        {"Char = 41, 99999999999999999999, -99999999999, 2147483647, -2147483648, 0, 0",
         'A',
         {INT_MAX, INT_MIN, INT_MAX, INT_MIN, 0, 0}},
        // Ignored.
        {"Char = 100,1,2,3,4,5,6", -1, {}},
        {"Char = fffffffffffffffffffffffffff,1,2,3,4,5,6", -1, {}},
        {"Char 41,1,2,3,4,5,6", -1, {}},
        {"Char = \"", -1, {}},
        {"char = 41,1,2,3,4,5,6", -1, {}},
        {" Char = 41,1,2,3,4,5,6", -1, {}},
    };
    for (const CharCase& c : cases) {
        SCOPED_TRACE(c.line);
        auto font = Load(std::string("[GFXFONT]\n") + c.line);
        if (c.code < 0) {
            EXPECT_EQ(GlyphCount(*font), 0);
            continue;
        }
        ASSERT_EQ(GlyphCount(*font), 1);
        gfxSprite* glyph = font->glyphs[c.code];
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->texX, float(c.numbers[0]));
        EXPECT_EQ(glyph->texY, float(c.numbers[1]));
        EXPECT_EQ(glyph->width, float(c.numbers[2]));
        EXPECT_EQ(glyph->height, float(c.numbers[3]));
        EXPECT_EQ(font->preWidths[c.code], float(c.numbers[4]));
        EXPECT_EQ(font->postWidths[c.code], float(c.numbers[5]));
    }
}

TEST_F(FontTest, QuotedCodeAsTheLastByteOfTheFileOrALine)
{
    auto atEnd = Load("[GFXFONT]\nChar = 41,1,1,1,1,1,1\nChar = \"");
    EXPECT_EQ(GlyphCount(*atEnd), 1);
    auto atLineEnd = Load("[GFXFONT]\nChar = \"\r\nChar = 42,1,1,1,1,1,1\n");
    EXPECT_EQ(GlyphCount(*atLineEnd), 1);
    EXPECT_NE(atLineEnd->glyphs['B'], nullptr);
}

TEST_F(FontTest, LaterCharLineReplacesTheGlyphAndLineHeightIsTheTallest)
{
    auto font = Load("[GFXFONT]\nChar = 41,0,0,5,30,0,0\nChar = 42,0,0,5,12,0,0\nChar = \"A\",0,0,9,7,0,0\n");
    EXPECT_EQ(GlyphCount(*font), 2);
    EXPECT_EQ(font->glyphs['A']->width, 9.0f);
    EXPECT_EQ(font->lineHeight, 30.0f);
    EXPECT_EQ(fake.RefCount(), 1 + 2);
}

TEST_F(FontTest, LongLinesAreCutAt255Characters)
{
    std::string padding(300, ' ');
    // The numbers sit beyond the 255th character and are lost; the next line still counts.
    std::string cutNumbers = "Char = 41," + std::string(250, ' ') + "1,2,3,4,5,6";
    // The cut falls in trailing padding: the line keeps its numbers.
    std::string cutPadding = "Char = 42,1,2,3,4,5,6" + padding + "junk";
    auto font = Load("[GFXFONT]\n" + cutNumbers + "\n" + cutPadding + "\nChar = 43,9,9,9,9,9,9\n");
    ASSERT_NE(font->glyphs['A'], nullptr);
    EXPECT_EQ(font->glyphs['A']->texX, 0.0f);
    ASSERT_NE(font->glyphs['B'], nullptr);
    EXPECT_EQ(font->postWidths['B'], 6.0f);
    ASSERT_NE(font->glyphs['C'], nullptr);
    EXPECT_EQ(GlyphCount(*font), 3);

    // A header line that only starts with the header is not the header.
    fake.logLines.clear();
    auto longHeader = Load("[GFXFONT]" + padding + "\nChar = 41,1,1,1,1,1,1\n");
    EXPECT_EQ(GlyphCount(*longHeader), 0);
    EXPECT_EQ(fake.logLines.size(), 1u);
}

TEST_F(FontTest, NamesBeyond259CharactersAreRefused)
{
    const std::string description = "[GFXFONT]\nChar = 41,1,1,1,1,1,1\n";
    std::string longest = std::string(255, 'd') + ".fnt";
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(GlyphCount(*Load(description, longest)), 1);
    EXPECT_EQ(GlyphCount(*Load(description, "d" + longest)), 0);

    // Folder and bitmap name together beyond 259: the Bitmap line is ignored, reading goes on.
    std::string folder = std::string(200, 'f') + "\\";
    std::string name = std::string(58, 'b');
    fake.files[folder + name] = Png(8, 8);
    auto fits = Load("[GFXFONT]\nBitmap = " + name + "\n", folder + "x.fnt");
    EXPECT_NE(fits->texture, 0u);
    fake.files[folder + name + "b"] = Png(8, 8);
    auto tooLong = Load("[GFXFONT]\nBitmap = " + name + "b\nChar = 41,1,1,1,1,1,1\n", folder + "x.fnt");
    EXPECT_EQ(tooLong->texture, 0u);
    EXPECT_EQ(GlyphCount(*tooLong), 1);
}

TEST_F(FontTest, DescriptionEndsAtTheFirstZeroByte)
{
    auto font = Load(std::string("[GFXFONT]\nChar = 41,1,1,1,1,1,1\nChar = 4") + '\0' +
                     "2,1,1,1,1,1,1\nChar = 43,1,1,1,1,1,1\n");
    EXPECT_EQ(GlyphCount(*font), 2);
    EXPECT_NE(font->glyphs['A'], nullptr);
    EXPECT_NE(font->glyphs[4], nullptr);
    EXPECT_EQ(font->glyphs['C'], nullptr);
    auto zeroFirst = Load(std::string("\0[GFXFONT]\n", 11));
    EXPECT_EQ(fake.logLines.size(), 1u);
    EXPECT_EQ(GlyphCount(*zeroFirst), 0);
}

TEST_F(FontTest, MissingBitmapStopsTheReadingButKeepsEarlierGlyphs)
{
    auto font = Load("[GFXFONT]\nChar = 41,4,6,10,10,0,0\nBitmap = missing.png\nChar = 42,1,1,1,1,1,1\n");
    EXPECT_EQ(font->texture, 0u);
    EXPECT_EQ(GlyphCount(*font), 1);
    ASSERT_NE(font->glyphs['A'], nullptr);
    EXPECT_EQ(font->glyphs['A']->GetTexture(), 0u);
    EXPECT_EQ(font->glyphs['A']->quad.v[2].tx, 14.0f);
    auto noName = Load("[GFXFONT]\nBitmap =   \nBitmapX = a.png\nChar = 41,1,1,1,1,1,1\n");
    EXPECT_EQ(GlyphCount(*noName), 1);
}

TEST_F(FontTest, EveryBitmapServesTheLinesAfterItAndAllAreFreed)
{
    fake.files["fonts\\one.png"] = Png(16, 16);
    fake.files["fonts\\two.png"] = Png(32, 32);
    HTEXTURE first, second;
    {
        auto font =
            Load("[GFXFONT]\nBitmap = one.png\nChar = 41,0,0,8,8,0,0\nBitmap = two.png\nChar = 42,0,0,8,8,0,0\n");
        first = font->glyphs['A']->GetTexture();
        second = font->glyphs['B']->GetTexture();
        ASSERT_NE(first, 0u);
        ASSERT_NE(second, 0u);
        EXPECT_NE(first, second);
        EXPECT_EQ(font->texture, second);
        EXPECT_FLOAT_EQ(font->glyphs['A']->quad.v[2].tx, 0.5f);
        EXPECT_FLOAT_EQ(font->glyphs['B']->quad.v[2].tx, 0.25f);
        EXPECT_FALSE(fake.textures[first].freed);
    }
    EXPECT_TRUE(fake.textures[first].freed);
    EXPECT_TRUE(fake.textures[second].freed);
}

TEST_F(FontTest, FontAndGlyphsGiveBackEveryEngineReference)
{
    fake.files["fonts\\b.png"] = Png(8, 8);
    int before = fake.RefCount();
    auto font = Load("[GFXFONT]\nBitmap=b.png\nChar=41,0,0,1,1,0,0\nChar=42,0,0,1,1,0,0\n");
    EXPECT_EQ(fake.RefCount(), before + 3);
    EXPECT_EQ(gfxFont::gfx, &fake);
    font.reset();
    EXPECT_EQ(fake.RefCount(), before);
}

// A font without bitmap: 'A' 10 wide, pre 1, post 2; 'B' 4 wide; '?' 6 wide; line height 14.
class LayoutTest : public FontTest {
protected:
    void SetUp() override
    {
        font = Load("[GFXFONT]\nChar = 41,0,0,10,14,1,2\nChar = 42,0,0,4,8,0,0\nChar = 3f,0,0,6,8,0,0\n");
    }
    void TearDown() override { font.reset(); }
    // Pen positions (top-left corners) of the glyphs drawn since start.
    std::vector<std::pair<float, float>> Drawn(size_t start) const
    {
        std::vector<std::pair<float, float>> at;
        for (size_t i = start; i < fake.quads.size(); ++i)
            at.push_back({fake.quads[i].quad.v[0].x, fake.quads[i].quad.v[0].y});
        return at;
    }

    std::unique_ptr<gfxFont> font;
};

struct LayoutCase {
    const char* text;
    int align;
    float scale;
    std::vector<std::pair<float, float>> corners;
};

TEST_F(LayoutTest, GlyphsArePlacedByAlignmentAdvanceAndLine)
{
    const LayoutCase cases[] = {
        {"A", 0, 1, {{101, 50}}},
        {"A", 3, 1, {{101, 50}}},
        {"A", 4, 1, {{101, 50}}},
        {"A", 2, 1, {{95, 50}}},
        {"A", 1, 1, {{88, 50}}},
        {"AB", 0, 1, {{101, 50}, {113, 50}}},
        {"BB", 2, 1, {{96, 50}, {100, 50}}},
        {"", 2, 1, {}},
        {"\n", 2, 1, {}},
        // Each line is aligned by its own width; the advance is trunc(14 * 1.5) = 21.
        {"B\nAB", 2, 1.5f, {{97, 50}, {89.5f, 71}, {107.5f, 71}}},
        {"A\n\nB", 0, 1, {{101, 50}, {100, 78}}},
        // No glyph: drawn as the question mark; a carriage return is an ordinary byte.
        {"zA", 0, 1, {{100, 50}, {107, 50}}},
        {"\r", 1, 1, {{94, 50}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" align " << c.align);
        font->SetScale(c.scale);
        size_t start = fake.quads.size();
        font->Render(100, 50, c.align, c.text);
        EXPECT_EQ(Drawn(start), c.corners);
    }
}

TEST_F(LayoutTest, StringWidthMeasuresTheFirstLineWithFallback)
{
    struct Case {
        const char* text;
        float scale;
        float width;
    };
    const Case cases[] = {
        {"A", 1, 13}, {"AB", 1, 17}, {"AB", 2, 34}, {"A\nBBBB", 1, 13},
        {"", 1, 0},   {"\nA", 1, 0}, {"~", 1, 6},   {"\xFF", 0.5f, 3},
    };
    for (const Case& c : cases) {
        font->SetScale(c.scale);
        EXPECT_EQ(font->GetStringWidth(c.text), c.width) << c.text;
    }
}

TEST_F(LayoutTest, WithoutQuestionMarkUnknownBytesAreSkipped)
{
    auto plain = Load("[GFXFONT]\nChar = 41,0,0,10,14,1,2\n");
    size_t start = fake.quads.size();
    plain->Render(100, 50, 0, "zAz");
    EXPECT_EQ(Drawn(start), (std::vector<std::pair<float, float>>{{101, 50}}));
    EXPECT_EQ(plain->GetStringWidth("zAz"), 13.0f);
}

TEST_F(LayoutTest, ColourReachesEveryGlyphAndLaterText)
{
    font->SetColor(0x80FF0000);
    EXPECT_EQ(font->color, 0x80FF0000u);
    size_t start = fake.quads.size();
    font->Render(0, 0, 0, "AB?");
    ASSERT_EQ(fake.quads.size(), start + 3);
    for (size_t i = start; i < fake.quads.size(); ++i)
        for (const gfxVertex& v : fake.quads[i].quad.v)
            EXPECT_EQ(v.col, 0x80FF0000u);
}

TEST_F(LayoutTest, FormattedTextIsDrawnAndCutToTheBuffer)
{
    size_t start = fake.quads.size();
    font->RenderFormatted(0, 0, 0, "%s%d", "AB", 7);
    EXPECT_STREQ(font->textBuffer, "AB7");
    EXPECT_EQ(fake.quads.size(), start + 3);

    std::string longText(5000, 'B');
    start = fake.quads.size();
    font->RenderFormatted(0, 0, 0, "%s", longText.c_str());
    EXPECT_EQ(std::string(font->textBuffer), std::string(1023, 'B'));
    EXPECT_EQ(fake.quads.size(), start + 1023);
}

} // namespace
