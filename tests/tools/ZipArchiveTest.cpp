#include "tools/ZipArchive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <physfs.h>

namespace {

// A pack made by ZipArchive, mounted by PhysicsFS as the program mounts its packs.
class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = (std::filesystem::temp_directory_path() / "vornaly_zip_test.paq").string();
        ASSERT_NE(PHYSFS_init(nullptr), 0);
    }
    void TearDown() override
    {
        PHYSFS_deinit();
        std::remove(path.c_str());
    }
    std::vector<uint8_t> Read(const char* name)
    {
        PHYSFS_File* file = PHYSFS_openRead(name);
        if (!file)
            return {};
        std::vector<uint8_t> bytes(static_cast<size_t>(PHYSFS_fileLength(file)));
        PHYSFS_sint64 got = PHYSFS_readBytes(file, bytes.data(), bytes.size());
        PHYSFS_close(file);
        EXPECT_EQ(got, static_cast<PHYSFS_sint64>(bytes.size()));
        return bytes;
    }
    std::string path;
};

TEST_F(ZipArchiveTest, EntriesReadBackThroughPhysicsFs)
{
    std::vector<uint8_t> binary;
    for (int i = 0; i < 70000; ++i)
        binary.push_back(static_cast<uint8_t>(i * 7 + (i >> 8)));
    std::vector<uint8_t> text{'[', 'G', 'F', 'X', 'F', 'O', 'N', 'T', ']', '\n'};
    ZipArchive archive;
    archive.Add("graphics/font.fnt", text);
    archive.Add("graphics/empty.txt", {});
    archive.Add("sound/a1.mp3", binary);
    ASSERT_FALSE(archive.Write(path));

    ASSERT_NE(PHYSFS_mount(path.c_str(), nullptr, 1), 0) << PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
    EXPECT_EQ(Read("graphics/font.fnt"), text);
    EXPECT_EQ(PHYSFS_exists("graphics/empty.txt"), 1);
    EXPECT_TRUE(Read("graphics/empty.txt").empty());
    EXPECT_EQ(Read("sound/a1.mp3"), binary);
    PHYSFS_Stat stat{};
    ASSERT_NE(PHYSFS_stat("sound", &stat), 0);
    EXPECT_EQ(stat.filetype, PHYSFS_FILETYPE_DIRECTORY);
    EXPECT_EQ(PHYSFS_exists("graphics/missing.png"), 0);
}

} // namespace
