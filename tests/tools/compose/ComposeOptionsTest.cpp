#include <gtest/gtest.h>

#include <vector>

#include "tools/compose/ComposeOptions.h"

namespace {

bool Parse(std::vector<const char*> args, ComposeOptions* options, std::string* error)
{
    args.insert(args.begin(), "vornaly-render");
    return options->Parse(static_cast<int>(args.size()), args.data(), error);
}

} // namespace

TEST(ComposeOptions, ReadsEveryOption)
{
    ComposeOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--seeds", "4,1,2147483647", "--seed", "4294967295", "--picture-count", "12", "--generations",
                       "23", "--json", "out.json", "--parts"},
                      &o, &error))
        << error;
    EXPECT_TRUE(o.haveStreamSeeds);
    EXPECT_EQ(o.streamSeeds.transform, 4);
    EXPECT_EQ(o.streamSeeds.mutation, 1);
    EXPECT_EQ(o.streamSeeds.palette, 2147483647);
    EXPECT_TRUE(o.haveRuntimeSeed);
    EXPECT_EQ(o.runtimeSeed, 4294967295u);
    EXPECT_TRUE(o.havePictureCount);
    EXPECT_EQ(o.pictureCount, 12);
    EXPECT_TRUE(o.haveGenerations);
    EXPECT_EQ(o.generations, 23);
    EXPECT_EQ(o.jsonPath, "out.json");
    EXPECT_TRUE(o.writeParts);
}

TEST(ComposeOptions, DefaultsLeaveEverythingToTheProgram)
{
    ComposeOptions o;
    std::string error;
    ASSERT_TRUE(Parse({}, &o, &error));
    EXPECT_FALSE(o.haveStreamSeeds);
    EXPECT_FALSE(o.haveRuntimeSeed);
    EXPECT_FALSE(o.havePictureCount);
    EXPECT_FALSE(o.haveGenerations);
    EXPECT_EQ(o.jsonPath, "-");
    EXPECT_FALSE(o.writeParts);
}

TEST(ComposeOptions, RefusesBadArgumentsWithAMessage)
{
    const std::vector<std::vector<const char*>> cases = {
        {"--seeds", "4,1"},
        {"--seeds", "4,1,1,1"},
        {"--seeds", "0,1,1"},
        {"--seeds", "4,,1"},
        {"--seeds", "4,1,x"},
        {"--seeds", "-4,1,1"},
        {"--seeds", "4,1,2147483648"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--seed", "12abc"},
        {"--seed", " 5"},
        {"--picture-count", "-1"},
        {"--generations", "x"},
        {"--generations"},
        {"--json"},
        {"--json", ""},
        {"--frobnicate"},
        {"extra"},
    };
    for (const auto& args : cases) {
        ComposeOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}
