#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/App.h"
#include "app/Startup.h"
#include "registry/KIVO.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

namespace {

// The program never frees its registry, fonts and target sprite; tests do, while the
// engine they hold references to is still alive.
void FreeProgramObjects()
{
    delete targetSprite;
    delete bigFont;
    delete smallFont;
    delete registry;
    targetSprite = nullptr;
    bigFont = smallFont = nullptr;
    registry = nullptr;
}

const char* const soundNames[] = {"sound\\one.mp3", "sound\\iter.mp3", "sound\\a1.mp3", "sound\\a2.mp3",
                                  "sound\\a3.mp3",  "sound\\a4.mp3",   "sound\\a5.mp3", "sound\\a6.mp3"};

// A machine on which everything loads: no pictures, all eight sounds.
class StartupTest : public ::testing::Test {
protected:
    FakeEngine fake;

    void SetUp() override
    {
        baseWidth = baseHeight = 960.0;
        windowScale = 1.0;
        fake.scriptedSearch = true;
        for (const char* name : soundNames)
            fake.files[name] = "mp3";
        fake.maxFrames = 2;
    }

    static int Count(const FakeEngine& engine, const std::string& call)
    {
        int n = 0;
        for (const std::string& c : engine.calls)
            n += c == call;
        return n;
    }
};

} // namespace

TEST_F(StartupTest, SetsTheStatesInOrderAndRunsTheLoop)
{
    EXPECT_EQ(RunProgram(), 0);
    const std::vector<std::string> expected = {
        "SetState 1",           "SetState 2",           "SetState 7",  "MessageBox",
        "SetState 11",          "SetState 8",           "SetState 9",  "SetState 10",
        "SetState 18",          "SetState 25",          "SetState 12", "SetState 23",
        "SetState 24",          "SetState 13",          "Initiate",    "AttachPack Graphics.paq",
        "AttachPack Sound.paq", "TargetCreate 960x960", "Start",       "Shutdown"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(fake.stringStates[STATE_TITLE], "Vornaly - vornaly.art");
    EXPECT_EQ(fake.intStates[STATE_FPS], 50);
    EXPECT_EQ(fake.intStates[STATE_SCREENBPP], 32);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].text, "Run full screen?");
    EXPECT_EQ(fake.messageBoxes[0].caption, "Vornaly");
    EXPECT_EQ(fake.messageBoxes[0].style, MB_BUTTONS_YESNO);
    EXPECT_EQ(fake.framesRun, 2);
    FreeProgramObjects();
    EXPECT_EQ(fake.RefCount(), 0) << "every reference taken is given back";
}

TEST_F(StartupTest, WindowSizeFollowsTheDesktop)
{
    struct Case {
        int desktopWidth, desktopHeight;
        double scale;
        int window;
    };
    const Case cases[] = {
        {1920, 1080, 1.0, 960},  {1280, 1024, 1.0, 960}, {1366, 768, 0.625, 600},
        {1024, 768, 0.625, 600}, {800, 600, 0.5, 480},   {500, 400, 0.5, 480},
    };
    for (const Case& c : cases) {
        FakeEngine local;
        local.scriptedSearch = true;
        local.files = fake.files;
        local.maxFrames = 1;
        local.desktopWidth = c.desktopWidth;
        local.desktopHeight = c.desktopHeight;
        baseWidth = baseHeight = 960.0;
        RunProgram();
        SCOPED_TRACE(std::to_string(c.desktopWidth) + "x" + std::to_string(c.desktopHeight));
        EXPECT_EQ(windowScale, c.scale);
        EXPECT_TRUE(local.boolStates[STATE_WINDOWED]);
        EXPECT_EQ(local.intStates[STATE_SCREENWIDTH], c.window);
        EXPECT_EQ(local.intStates[STATE_SCREENHEIGHT], c.window);
        EXPECT_EQ(baseWidth, 960.0);
        FreeProgramObjects();
    }
}

TEST_F(StartupTest, FullScreenTakesTheDesktopSize)
{
    fake.messageBoxAnswer = ANSWER_YES;
    fake.desktopWidth = 1366;
    fake.desktopHeight = 768;
    RunProgram();
    EXPECT_FALSE(fake.boolStates[STATE_WINDOWED]);
    EXPECT_EQ(fake.intStates[STATE_SCREENWIDTH], 1366);
    EXPECT_EQ(fake.intStates[STATE_SCREENHEIGHT], 768);
    EXPECT_EQ(baseWidth, 1366.0);
    EXPECT_EQ(baseHeight, 768.0);
    EXPECT_EQ(windowScale, 1.0);
    EXPECT_EQ(Count(fake, "TargetCreate 1366x768"), 1);
    FreeProgramObjects();
}

TEST_F(StartupTest, FailuresShowOneMessageAndShutDown)
{
    struct Case {
        const char* name;
        void (*arrange)(FakeEngine&);
        const char* text;
        int style;
        bool soundPackAttached;
    };
    const Case cases[] = {
        {"engine", [](FakeEngine& f) { f.initiateFails = true; }, "No display.", MB_ICON_ERROR | MB_SYSTEM_MODAL,
         false},
        {"graphics",
         [](FakeEngine& f) {
             f.searchResult = {{"broken.png", false}};
             f.files["pix\\broken.png"] = "not a png";
         },
         "Can't load graphics.", MB_ICON_ERROR, false},
        {"sounds", [](FakeEngine& f) { f.files.erase("sound\\a4.mp3"); }, "Can't load sounds.", MB_ICON_ERROR, true},
    };
    for (const Case& c : cases) {
        FakeEngine local;
        local.scriptedSearch = true;
        local.files = fake.files;
        c.arrange(local);
        baseWidth = baseHeight = 960.0;
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunProgram(), 0);
        ASSERT_EQ(local.messageBoxes.size(), 2u);
        EXPECT_EQ(local.messageBoxes[1].text, c.text);
        EXPECT_EQ(local.messageBoxes[1].caption, "Error");
        EXPECT_EQ(local.messageBoxes[1].style, c.style);
        EXPECT_EQ(Count(local, "Start"), 0);
        EXPECT_EQ(local.calls.back(), "Shutdown");
        EXPECT_EQ(local.framesRun, 0);
        bool soundPack = false;
        for (const std::string& pack : local.attachedPacks)
            soundPack |= pack == "Sound.paq";
        EXPECT_EQ(soundPack, c.soundPackAttached);
        FreeProgramObjects();
        EXPECT_EQ(local.RefCount(), 0);
    }
}
