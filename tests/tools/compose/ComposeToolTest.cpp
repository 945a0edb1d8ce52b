#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <stb/stb_image.h>

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Result RunTool(const std::string& args)
{
    // Named after the test, so that tests run in parallel do not share files.
    std::string base =
        ::testing::TempDir() + "compose_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string out = base + ".out";
    std::string err = base + ".err";
    std::string command = std::string(VORNALY_RENDER) + " " + args + " >" + out + " 2>" + err;
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ComposeTool, BadArgumentsExitWithCodeTwoAndOneLine)
{
    for (const char* args : {"--seeds 1,2", "--generations -3", "--unknown", "--json"}) {
        Result r = RunTool(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_EQ(Count(r.err, "\n"), 1u) << args << ": " << r.err;
    }
}

TEST(ComposeTool, SmallCompositionHasEveryKeyAndItsGenerations)
{
    Result r = RunTool("--seeds 4,1,1 --picture-count 12 --generations 3 --parts --json -");
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string& json = r.out;
    for (const char* key : {"\"seeds\"", "\"transform\"", "\"mutation\"", "\"palette\"", "\"pictureCount\"",
                            "\"transformCount\"", "\"transforms\"", "\"generations\"", "\"parts\""})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    EXPECT_NE(json.find("\"seeds\": {\"transform\": 4, \"mutation\": 1, \"palette\": 1}"), std::string::npos);
    EXPECT_NE(json.find("\"pictureCount\": 12"), std::string::npos);
    EXPECT_NE(json.find("\"transformCount\": 2"), std::string::npos);
    EXPECT_EQ(Count(json, "\"picture\": "), 2u);
    // Generations of 2, 4, 8 and 16 parts; the last one's parts are listed.
    for (const char* parts : {"\"parts\": 2,", "\"parts\": 4,", "\"parts\": 8,", "\"parts\": 16,"})
        EXPECT_EQ(Count(json, parts), 1u) << parts;
    EXPECT_EQ(Count(json, "\"minScale\""), 4u);
    EXPECT_EQ(Count(json, "\"partScale\""), 4u);
    size_t partsList = json.find("\"parts\": [");
    ASSERT_NE(partsList, std::string::npos);
    EXPECT_EQ(Count(json.substr(partsList), "\n    ["), 16u);
    // 256 palette entries plus the 16 parts are the bracketed rows.
    size_t paletteList = json.find("\"palette\": [");
    size_t generations = json.find("\"generations\"");
    EXPECT_EQ(Count(json.substr(paletteList, generations - paletteList), "["), 257u);
    EXPECT_EQ(json.back(), '\n');
    EXPECT_EQ(json[json.size() - 2], '}');
}

TEST(ComposeTool, SameSeedsGiveTheSameCompositionAndRuntimeSeedDrawsTheStreamSeeds)
{
    Result a = RunTool("--seed 77 --picture-count 5 --generations 2");
    Result b = RunTool("--seed 77 --picture-count 5 --generations 2");
    Result c = RunTool("--seed 78 --picture-count 5 --generations 2");
    ASSERT_EQ(a.code, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
    EXPECT_EQ(a.out.find("\"transform\": 0,"), std::string::npos);
}

TEST(ComposeTool, DefaultGrowthStopsAtTheFirstGenerationOfTheAutomaticLimit)
{
    // Five transforms: 5 .. 78125, the first generation of 20000 parts or more.
    Result r = RunTool("--seeds 3,7,1 --picture-count 2");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"transformCount\": 5"), std::string::npos);
    EXPECT_NE(r.out.find("\"parts\": 78125,"), std::string::npos);
    EXPECT_EQ(r.out.find("\"parts\": 390625,"), std::string::npos);
}

TEST(ComposeTool, WritesToAFileAndRefusesAnUnwritableOne)
{
    std::string path = ::testing::TempDir() + "compose_written.json";
    Result r = RunTool("--seeds 4,1,1 --picture-count 1 --generations 0 --json " + path);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    std::string json = ReadFile(path);
    EXPECT_NE(json.find("\"pictureCount\": 1"), std::string::npos);
    EXPECT_EQ(Count(json, "\"minX\""), 1u);

    Result bad = RunTool("--json /nonexistent-folder/x.json");
    EXPECT_EQ(bad.code, 2);
}

// Drawn with the real engine from the run folder's pictures: never black, and the
// same command gives the same picture byte for byte.
TEST(ComposeTool, DrawsTheSamePictureTwiceAndNeverBlack)
{
    for (const char* seeds : {"4,1,1", "7,3,9", "123,45,6"}) {
        std::string first = ::testing::TempDir() + "compose_draw_a.png";
        std::string second = ::testing::TempDir() + "compose_draw_b.png";
        std::string args = std::string("--seeds ") + seeds + " --generations 9 --size 320x240 --out ";
        for (const std::string& png : {first, second}) {
            std::string command = std::string("cd ") + VORNALY_RUN_DIR + " && " + VORNALY_RENDER + " " + args + png;
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
        std::string bytes = ReadFile(first);
        EXPECT_EQ(bytes, ReadFile(second)) << seeds;

        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load(first.c_str(), &width, &height, &channels, 3);
        ASSERT_NE(pixels, nullptr) << seeds;
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 240);
        int lit = 0;
        for (int i = 0; i < width * height * 3; ++i)
            lit += pixels[i] > 16;
        stbi_image_free(pixels);
        EXPECT_GT(lit, 500) << seeds;
    }
}
