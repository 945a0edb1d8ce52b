#include "tools/FontAtlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ParsedChar {
    int x, y, w, h, pre, post;
};

struct ParsedFont {
    bool headerOk = false;
    std::string bitmap;
    std::map<int, ParsedChar> chars;
    int charLines = 0;
};

// Reads a description by the rules of the program's font reader: lines end at CR or LF, the
// first must be "[GFXFONT]", "Bitmap = name", and Char lines with a quoted byte or a
// hexadecimal code followed by six comma-separated integers.
ParsedFont Parse(const std::string& text)
{
    ParsedFont font;
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = text.find_first_not_of("\r\n", end);
        if (pos == std::string::npos)
            break;
    }
    if (lines.empty() || lines[0] != "[GFXFONT]")
        return font;
    font.headerOk = true;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("Bitmap", 0) == 0) {
            char name[256] = {};
            if (std::sscanf(line.c_str(), "Bitmap = %255s", name) == 1)
                font.bitmap = name;
        } else if (line.rfind("Char", 0) == 0) {
            size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            size_t p = eq + 1;
            while (p < line.size() && line[p] == ' ')
                ++p;
            int code = 0;
            if (p < line.size() && line[p] == '"') {
                code = static_cast<unsigned char>(line[p + 1]);
                p += 3;
            } else {
                while (p < line.size() && std::isxdigit(static_cast<unsigned char>(line[p]))) {
                    char c = line[p++];
                    code = code * 16 +
                           (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
                }
            }
            ParsedChar ch{};
            if (p > line.size() || std::sscanf(line.c_str() + p, " , %d , %d , %d , %d , %d , %d", &ch.x, &ch.y, &ch.w,
                                               &ch.h, &ch.pre, &ch.post) != 6)
                continue;
            font.chars[code] = ch;
            ++font.charLines;
        }
    }
    return font;
}

// Lowest row of ink inside a glyph's rectangle, or -1 for a blank glyph.
int LowestInkRow(const FontAtlas& atlas, const ParsedChar& c)
{
    for (int y = c.h - 1; y >= 0; --y)
        for (int x = 0; x < c.w; ++x)
            if (atlas.alpha[static_cast<size_t>(c.y + y) * atlas.width + c.x + x] != 0)
                return y;
    return -1;
}

class FontAtlasTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_FALSE(atlas.Build(VORNALY_FONT_FILE, GetParam(), error)) << error;
        font = Parse(atlas.Description("font.png"));
    }
    FontAtlas atlas;
    ParsedFont font;
};

TEST_P(FontAtlasTest, DescriptionGivesEveryPrintableByteOnce)
{
    ASSERT_TRUE(font.headerOk);
    EXPECT_EQ(font.bitmap, "font.png");
    EXPECT_EQ(font.charLines, 95);
    for (int code = 32; code <= 126; ++code)
        EXPECT_EQ(font.chars.count(code), 1u) << "byte " << code;
}

TEST_P(FontAtlasTest, RectanglesShareTheLineHeightAndStayApartInsideTheAtlas)
{
    ASSERT_GT(atlas.lineHeight, GetParam());
    std::vector<ParsedChar> inked;
    for (const auto& [code, c] : font.chars) {
        EXPECT_EQ(c.h, atlas.lineHeight) << "byte " << code;
        EXPECT_GE(c.x, 0);
        EXPECT_GE(c.y, 0);
        EXPECT_LE(c.x + c.w, atlas.width) << "byte " << code;
        EXPECT_LE(c.y + c.h, atlas.height) << "byte " << code;
        EXPECT_GT(c.pre + c.w + c.post, 0) << "byte " << code << " does not advance the pen";
        if (c.w > 0)
            inked.push_back(c);
    }
    // At least one transparent pixel between any two rectangles keeps filtering from bleeding.
    for (size_t i = 0; i < inked.size(); ++i)
        for (size_t j = i + 1; j < inked.size(); ++j) {
            const ParsedChar& a = inked[i];
            const ParsedChar& b = inked[j];
            bool apart = a.x + a.w + 1 <= b.x || b.x + b.w + 1 <= a.x || a.y + a.h + 1 <= b.y || b.y + b.h + 1 <= a.y;
            EXPECT_TRUE(apart) << "rectangles " << i << " and " << j << " touch";
        }
    // No ink lies outside the rectangles.
    std::vector<bool> covered(atlas.alpha.size(), false);
    for (const ParsedChar& c : inked)
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                covered[static_cast<size_t>(c.y + y) * atlas.width + c.x + x] = true;
    for (size_t i = 0; i < atlas.alpha.size(); ++i) {
        if (!covered[i]) {
            ASSERT_EQ(atlas.alpha[i], 0) << "stray ink at pixel " << i;
        }
    }
}

TEST_P(FontAtlasTest, GlyphsSitOnOneBaseline)
{
    // Flat-bottomed glyphs end on the baseline; round ones may overshoot it by a pixel.
    int baselineRow = atlas.ascent - 1;
    for (char c : std::string("HIxnmz1")) {
        SCOPED_TRACE(c);
        EXPECT_EQ(LowestInkRow(atlas, font.chars.at(c)), baselineRow);
    }
    for (char c : std::string("gpqy")) {
        SCOPED_TRACE(c);
        EXPECT_GT(LowestInkRow(atlas, font.chars.at(c)), baselineRow);
    }
    EXPECT_EQ(LowestInkRow(atlas, font.chars.at(' ')), -1);
    EXPECT_GT(font.chars.at(' ').pre + font.chars.at(' ').post, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontAtlasTest, ::testing::Values(15, 36));

TEST(FontAtlasBuild, MissingFontFileFails)
{
    FontAtlas atlas;
    std::string error;
    EXPECT_TRUE(atlas.Build("/nonexistent/font.ttf", 15, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
