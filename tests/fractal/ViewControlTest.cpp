#include "tests/fractal/FractalFixture.h"

namespace {

class ViewControl : public FractalTest {
protected:
    void SetUp() override
    {
        FractalTest::SetUp();
        document.zoom = 0.5;
        document.partScale = 1.0;
        document.autoMode = 1;
    }

    // NEXT holding parts at the given positions, scale 1.
    void PlaceParts(const std::vector<std::pair<float, float>>& points)
    {
        ASSERT_TRUE(AllocateBuffer(NEXT, static_cast<int32_t>(points.size())));
        for (const auto& [x, y] : points)
            AppendPart(NEXT, x, y, 0, 0, 1.0f, 0);
    }
};

} // namespace

TEST_F(ViewControl, WheelZoomsOrScalesPartsUnlessSuspended)
{
    struct Case {
        const char* name;
        int wheel;
        bool ctrl, leftButton, mouseOver;
        double zoomFactor, partFactor;
        int32_t autoMode;
        bool redraw;
    };
    const Case cases[] = {
        {"up", 1, false, false, true, 1.1, 1.0, 0, true},
        {"down", -1, false, false, true, 1.0 / 1.1, 1.0, 0, true},
        {"ctrl up", 3, true, false, true, 1.0, 1.02, 1, true},
        {"ctrl down", -2, true, false, true, 1.0, 1.0 / 1.02, 1, true},
        {"still", 0, false, false, true, 1.0, 1.0, 1, false},
        {"left button held", 1, false, true, true, 1.0, 1.0, 1, false},
        {"pointer outside", -1, false, false, false, 1.0, 1.0, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.zoom = 0.5;
        document.partScale = 1.0;
        document.autoMode = 1;
        renderCursor = 9;
        fake.wheel = c.wheel;
        fake.mouseOver = c.mouseOver;
        fake.keys.clear();
        if (c.ctrl)
            fake.keys.insert(KEY_CTRL);
        if (c.leftButton)
            fake.keys.insert(KEY_LBUTTON);
        ControlView(100, 100);
        EXPECT_DOUBLE_EQ(document.zoom, 0.5 * c.zoomFactor);
        EXPECT_DOUBLE_EQ(document.partScale, c.partFactor);
        EXPECT_EQ(document.autoMode, c.autoMode);
        EXPECT_EQ(renderCursor, c.redraw ? 0 : 9);
    }
}

TEST_F(ViewControl, WheelDownStopsAtTheLeastZoomAndUpHasNoLimit)
{
    windowScale = 0.625;
    fake.wheel = -1;
    for (int i = 0; i < 200; ++i)
        ControlView(0, 0);
    EXPECT_DOUBLE_EQ(document.zoom, 0.0001 * 0.625);
    fake.wheel = 1;
    for (int i = 0; i < 300; ++i)
        ControlView(0, 0);
    EXPECT_GT(document.zoom, 1e6);
}

TEST_F(ViewControl, OriginPutsThePanCentreAtTheMiddleOfTheScreen)
{
    document.panX = 30;
    document.panY = -20;
    ControlView(0, 0);
    EXPECT_FLOAT_EQ(registry->originX, 960.0f + 30.0f);
    EXPECT_FLOAT_EQ(registry->originY, 960.0f - 20.0f);
    // A wheel step in the same frame shows in the origin at once.
    fake.wheel = 1;
    ControlView(0, 0);
    EXPECT_FLOAT_EQ(registry->originX, static_cast<float>(480.0 / 0.55 + 30.0));
}

TEST_F(ViewControl, RightDragPansAndRedrawsOnceOnRelease)
{
    ControlView(100, 200);
    renderCursor = 5;
    fake.keys = {KEY_RBUTTON};
    ControlView(105, 200);
    ControlView(110, 200);
    EXPECT_EQ(dragging, 1);
    EXPECT_DOUBLE_EQ(document.panX, 20.0);
    EXPECT_DOUBLE_EQ(document.panY, 0.0);
    EXPECT_EQ(lastMouseX, 110);
    EXPECT_EQ(document.autoMode, 0);
    EXPECT_EQ(renderCursor, 5) << "no redraw while dragging";

    fake.keys.clear();
    ControlView(110, 200);
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(renderCursor, 0);
    renderCursor = 5;
    ControlView(110, 200);
    EXPECT_EQ(renderCursor, 5) << "only the release redraws";
}

TEST_F(ViewControl, DragWorksWithTheLeftButtonHeldOrThePointerOutside)
{
    fake.mouseOver = false;
    fake.keys = {KEY_RBUTTON, KEY_LBUTTON};
    document.zoom = 2.0;
    ControlView(10.5f, 20.0f);
    // From (0, 0) to (10.5, 20): the exact position against the truncated last one.
    EXPECT_DOUBLE_EQ(document.panX, 10.5 / 2.0);
    EXPECT_DOUBLE_EQ(document.panY, 10.0);
    EXPECT_EQ(lastMouseX, 10);
    // A fraction still differs from the truncated position and moves again.
    ControlView(10.5f, 20.0f);
    EXPECT_DOUBLE_EQ(document.panX, 10.5 / 2.0 + 0.25);
    EXPECT_DOUBLE_EQ(document.panY, 10.0);
}

TEST_F(ViewControl, AutoFitShrinksGrowsOrKeepsTheZoom)
{
    struct Case {
        float halfWidth;
        double zoom;
        double expected;
    };
    const Case cases[] = {
        {960, 1.0, 1.0 / 1.01}, // 1920 wide: shrink
        {100, 1.0, 1.01},       // 200 wide: grow
        {450, 1.0, 1.0},        // 900 wide: between 860 and 960, stays
        {430, 1.0, 1.0},        // exactly 860 is not below
        {480, 1.0, 1.0},        // exactly 960 is not above
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.halfWidth);
        PlaceParts({{-c.halfWidth, 0}, {c.halfWidth, 0}});
        document.zoom = c.zoom;
        document.panX = document.panY = 0;
        ControlView(0, 0);
        renderCursor = 9;
        AutoFit();
        EXPECT_DOUBLE_EQ(document.zoom, c.expected);
        EXPECT_EQ(renderCursor, c.expected != c.zoom ? 0 : 9);
    }
}

TEST_F(ViewControl, AutoFitShrinksAboutOnePercentPerFrameUntilItFits)
{
    PlaceParts({{-960, -10}, {960, 10}});
    document.zoom = 1.0;
    int frames = 0;
    while (frames < 200) {
        double before = document.zoom;
        ControlView(0, 0);
        AutoFit();
        if (document.zoom == before)
            break;
        ++frames;
    }
    // 1.01^-70 is about 0.498: 70 frames bring 1920 units under 960 pixels.
    EXPECT_EQ(frames, 70);
    EXPECT_LE(1920 * document.zoom, 960.0);
}

TEST_F(ViewControl, AutoFitMovesTheCentreByThreeUnitsUntilWithinTenOfTheMiddle)
{
    struct Case {
        double panX, panY;
        double stepX, stepY;
    };
    const Case cases[] = {{-100, 0, 3, 0}, {100, 0, -3, 0}, {0, -100, 0, 3}, {0, 100, 0, -3}, {8, -8, 0, 0}};
    for (const Case& c : cases) {
        PlaceParts({{-450, -450}, {450, 450}});
        document.zoom = 1.0;
        document.panX = c.panX;
        document.panY = c.panY;
        ControlView(0, 0);
        AutoFit();
        EXPECT_DOUBLE_EQ(document.panX, c.panX + c.stepX);
        EXPECT_DOUBLE_EQ(document.panY, c.panY + c.stepY);
    }
    // Repeated frames settle within the tolerance.
    document.panX = 200;
    for (int i = 0; i < 100; ++i) {
        ControlView(0, 0);
        AutoFit();
    }
    EXPECT_LE(std::abs(document.panX), 10.0);
}

TEST_F(ViewControl, AutoFitWaitsForTwoPartsAutoModeAndTheLeftButtonUp)
{
    struct Case {
        const char* name;
        int parts;
        int32_t autoMode;
        bool leftButton;
    };
    const Case cases[] = {{"one part", 1, 1, false}, {"auto off", 2, 0, false}, {"left button", 2, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.parts == 1)
            PlaceParts({{-960, -960}});
        else
            PlaceParts({{-960, -960}, {960, 960}});
        document.zoom = 1.0;
        document.panX = 100;
        document.autoMode = c.autoMode;
        fake.keys.clear();
        if (c.leftButton)
            fake.keys.insert(KEY_LBUTTON);
        ControlView(0, 0);
        AutoFit();
        EXPECT_EQ(document.zoom, 1.0);
        EXPECT_EQ(document.panX, 100);
    }
}
