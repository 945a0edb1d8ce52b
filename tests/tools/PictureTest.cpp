#include "tools/Picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include <stb_image.h>

namespace {

TEST(Pictures, SetIsUsableByTheProgram)
{
    std::vector<Picture> pictures = MakePictures();
    ASSERT_GE(pictures.size(), 12u);
    ASSERT_LE(pictures.size(), 16u);
    std::set<std::string> names;
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate name";
        EXPECT_TRUE(p.name.size() > 4 && p.name.ends_with(".png"));
        EXPECT_TRUE(std::none_of(p.name.begin(), p.name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
        EXPECT_GE(p.width, 64);
        EXPECT_LE(p.width, 256);
        EXPECT_GE(p.height, 64);
        EXPECT_LE(p.height, 256);
        ASSERT_EQ(p.alpha.size(), static_cast<size_t>(p.width) * p.height);
        // Two pixels of clear border: no shape is cut at the edge or touches it.
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                if (x < 2 || y < 2 || x >= p.width - 2 || y >= p.height - 2) {
                    ASSERT_EQ(p.alpha[static_cast<size_t>(y) * p.width + x], 0) << "at " << x << "," << y;
                }
            }
        }
        // Strong enough to show when scaled down to a few pixels.
        EXPECT_GE(*std::max_element(p.alpha.begin(), p.alpha.end()), 230);
    }
}

TEST(Pictures, PngHoldsWhiteAndTheAlpha)
{
    std::vector<Picture> pictures = MakePictures();
    const Picture& p = pictures.at(3);
    std::string path = (std::filesystem::temp_directory_path() / ("vornaly_picture_test_" + p.name)).string();
    ASSERT_FALSE(WritePicturePng(p, path));
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &channels, 4);
    std::remove(path.c_str());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(w, p.width);
    EXPECT_EQ(h, p.height);
    EXPECT_EQ(channels, 4);
    size_t mismatches = 0;
    for (size_t i = 0; i < p.alpha.size(); ++i)
        if (data[i * 4] != 255 || data[i * 4 + 1] != 255 || data[i * 4 + 2] != 255 || data[i * 4 + 3] != p.alpha[i])
            ++mismatches;
    stbi_image_free(data);
    EXPECT_EQ(mismatches, 0u);
}

} // namespace
