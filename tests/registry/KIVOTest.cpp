#include "registry/KIVO.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "render/gfxSprite.h"
#include "tests/fake/FakeEngine.h"

namespace {

class KivoTest : public ::testing::Test {
protected:
    FakeEngine fake;
    KIVO kivo;
};

TEST_F(KivoTest, StartsEmptyWithFieldsAtRest)
{
    EXPECT_EQ(kivo.GraphicsCount(), 0);
    EXPECT_EQ(kivo.GetGraphics(0), nullptr);
    EXPECT_EQ(kivo.lastNumber, 0);
    EXPECT_EQ(kivo.objectCounter, 0);
    EXPECT_EQ(kivo.originX, 0.0f);
    EXPECT_EQ(kivo.originY, 0.0f);
    EXPECT_FALSE(kivo.reducedRemoval);
    for (int list = 1; list <= 9; ++list) {
        bool unsorted = list == 1 || list == 7;
        EXPECT_EQ(kivo.objectLists[list - 1].Sorted(), !unsorted) << list;
        EXPECT_TRUE(kivo.objectLists[list - 1].Duplicates()) << list;
        EXPECT_TRUE(kivo.objectLists[list - 1].CaseSensitive()) << list;
    }
}

TEST_F(KivoTest, PicturesAddedWithZeroAreNumberedInOrderAndFetchedByPosition)
{
    KIVO_GRAPHICS* a = kivo.AddGraphics("a.png", 0, 0, 0, 10, 10, 0, 0, 0);
    KIVO_GRAPHICS* b = kivo.AddGraphics("b.png", 0, 0, 0, 10, 10, 0, 0, 0);
    KIVO_GRAPHICS* c = kivo.AddGraphics("c.png", 0, 0, 0, 10, 10, 0, 0, 0);
    EXPECT_EQ(kivo.GraphicsCount(), 3);
    EXPECT_EQ(kivo.GetGraphics(0), a);
    EXPECT_EQ(kivo.GetGraphics(1), b);
    EXPECT_EQ(kivo.GetGraphics(2), c);
    EXPECT_EQ(kivo.GetGraphics(3), nullptr);
    EXPECT_EQ(kivo.GetGraphics(-1), nullptr);
    EXPECT_EQ(a->number, 1);
    EXPECT_EQ(b->number, 2);
    EXPECT_EQ(c->number, 3);
    EXPECT_EQ(kivo.graphicsByNumber.GetKey(2), "3");
    EXPECT_EQ(kivo.graphicsByName.GetObject(1), b);
    EXPECT_EQ(a->name, "a.png");
    EXPECT_EQ(a->owner, &kivo);
}

TEST_F(KivoTest, RequestedNumbersAreKeptUnlessTaken)
{
    struct Step {
        int32_t asked;
        int32_t given;
        int32_t lastAfter;
    };
    const Step steps[] = {{7, 7, 7}, {0, 8, 8}, {7, 9, 9}, {5, 5, 9}, {-3, 10, 10}, {5, 11, 11}};
    for (const Step& step : steps) {
        KIVO_GRAPHICS* g = kivo.AddGraphics("p", 0, 0, 0, 1, 1, 0, 0, step.asked);
        EXPECT_EQ(g->number, step.given) << "asked " << step.asked;
        EXPECT_EQ(kivo.lastNumber, step.lastAfter) << "asked " << step.asked;
    }
    for (int i = 0; i < kivo.GraphicsCount(); ++i)
        EXPECT_EQ(kivo.graphicsByNumber.GetKey(i), std::to_string(kivo.GetGraphics(i)->number));
}

TEST_F(KivoTest, NumbersStayUniqueAfterTheLargestNumber)
{
    const int32_t largest = std::numeric_limits<int32_t>::max();
    kivo.AddGraphics("one", 0, 0, 0, 1, 1, 0, 0, 1);
    EXPECT_EQ(kivo.AddGraphics("top", 0, 0, 0, 1, 1, 0, 0, largest)->number, largest);
    EXPECT_EQ(kivo.AddGraphics("next", 0, 0, 0, 1, 1, 0, 0, 0)->number, 2);
    EXPECT_EQ(kivo.AddGraphics("again", 0, 0, 0, 1, 1, 0, 0, largest)->number, 3);
    EXPECT_EQ(kivo.lastNumber, largest);
}

TEST_F(KivoTest, DuplicateNamesGetTheirOwnEntries)
{
    KIVO_GRAPHICS* first = kivo.AddGraphics("same.png", 0, 0, 0, 1, 1, 0, 0, 0);
    KIVO_GRAPHICS* second = kivo.AddGraphics("same.png", 0, 0, 0, 1, 1, 0, 0, 0);
    ASSERT_NE(first, second);
    EXPECT_EQ(kivo.graphicsByName.Count(), 2);
    EXPECT_EQ(kivo.graphicsByName.GetObject(0), first);
    EXPECT_EQ(kivo.graphicsByName.GetObject(1), second);
    EXPECT_EQ(kivo.GetGraphics(1), second);
}

TEST_F(KivoTest, MinimumSizeWidensTheEntryButNotItsSprite)
{
    struct Case {
        float width, height, minWidth, minHeight;
        float expectWidth, expectHeight;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {10, 20, 0, 0, 10, 20},
        {10, 20, 30, 5, 30, 20},
        {10, 20, 5, 40, 10, 40},
        {10, 20, nan, nan, 10, 20},
    };
    for (const Case& c : cases) {
        KIVO_GRAPHICS* g = kivo.AddGraphics("p", 0, 0, 0, c.width, c.height, c.minWidth, c.minHeight, 0);
        EXPECT_EQ(g->width, c.expectWidth);
        EXPECT_EQ(g->height, c.expectHeight);
        EXPECT_EQ(g->sprite->width, c.width);
        EXPECT_EQ(g->sprite->height, c.height);
    }
}

TEST_F(KivoTest, PictureSpriteCoversTheRectangleOfItsTexture)
{
    const HTEXTURE texture = 99;
    fake.textures[texture] = {"pic.png", 40, 20, 64, 32, true, false};
    KIVO_GRAPHICS* g = kivo.AddGraphics("pic.png", texture, 8, 4, 16, 8, 0, 0, 0);
    EXPECT_EQ(g->sprite->GetTexture(), texture);
    EXPECT_EQ(g->sprite->quad.blend, BLEND_ALPHA);
    EXPECT_FLOAT_EQ(g->sprite->quad.v[0].tx, 8.0f / 64);
    EXPECT_FLOAT_EQ(g->sprite->quad.v[2].ty, 12.0f / 32);
    for (const gfxVertex& v : g->sprite->quad.v)
        EXPECT_EQ(v.col, 0xFFFFFFFFu);
    EXPECT_EQ(g->collisionCircles.items.Count(), 0);
    EXPECT_EQ(g->nodePoints.items.Count(), 0);
}

TEST_F(KivoTest, EveryPictureSpriteHoldsAnEngineReferenceUntilTheRegistryGoes)
{
    int before = fake.RefCount();
    {
        KIVO other;
        other.AddGraphics("a", 0, 0, 0, 1, 1, 0, 0, 0);
        other.AddGraphics("b", 0, 0, 0, 1, 1, 0, 0, 0);
        EXPECT_EQ(fake.RefCount(), before + 2);
    }
    EXPECT_EQ(fake.RefCount(), before);
}

TEST_F(KivoTest, RemoveAllObjectsLeavesPicturesAndOrigin)
{
    KIVO_GRAPHICS* g = kivo.AddGraphics("a", 0, 0, 0, 1, 1, 0, 0, 4);
    kivo.originX = 12.5f;
    kivo.originY = -3.0f;
    kivo.objectCounter = 17;
    kivo.RemoveAllObjects(false);
    EXPECT_EQ(kivo.objectCounter, 0);
    EXPECT_EQ(kivo.GraphicsCount(), 1);
    EXPECT_EQ(kivo.GetGraphics(0), g);
    EXPECT_EQ(kivo.lastNumber, 4);
    EXPECT_EQ(kivo.originX, 12.5f);
    EXPECT_EQ(kivo.originY, -3.0f);
}

// Files one object in the given lists (1..9) under the key "k".
void File(KIVO& kivo, KIVO_OBJECT* object, std::initializer_list<int> lists)
{
    for (int list : lists)
        kivo.objectLists[list - 1].Add("k", object);
}

TEST_F(KivoTest, RemoveObjectDeletesClearsOrSkipsPerList)
{
    for (bool reduced : {false, true}) {
        KIVO scene;
        scene.reducedRemoval = reduced;
        KIVO_OBJECT object, other;
        File(scene, &other, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        File(scene, &object, {1, 2, 3, 4, 5, 6, 7, 8, 9});
        scene.RemoveObject(&object, true);
        for (int list = 1; list <= 9; ++list) {
            const auto& l = scene.objectLists[list - 1];
            bool kept = list >= 7 || (reduced && list >= 4);
            EXPECT_EQ(l.Count(), kept ? 2 : 1) << "list " << list << " reduced " << reduced;
            EXPECT_EQ(l.IndexOfObject(&other), 0) << "list " << list;
            int expected = (kept && list < 7) ? 1 : -1;
            EXPECT_EQ(l.IndexOfObject(&object), expected) << "list " << list << " reduced " << reduced;
            if (list >= 7) {
                EXPECT_EQ(l.GetObject(1), nullptr);
            }
        }
    }
}

TEST_F(KivoTest, RemoveObjectNotInListOneChangesNothing)
{
    KIVO_OBJECT object;
    File(kivo, &object, {2, 7});
    kivo.RemoveObject(&object, false);
    kivo.RemoveObject(nullptr, false);
    EXPECT_EQ(kivo.objectLists[1].GetObject(0), &object);
    EXPECT_EQ(kivo.objectLists[6].GetObject(0), &object);
}

TEST_F(KivoTest, RemoveAllObjectsDestroysEachObjectOnce)
{
    // Filed twice in list 1 and once in list 3: destroyed exactly once (ASan sees a
    // second delete), and nothing of it is left in the deleting lists.
    auto* object = new KIVO_OBJECT{"twice"};
    auto* single = new KIVO_OBJECT{"once"};
    File(kivo, object, {1, 1, 3});
    File(kivo, single, {1, 7});
    kivo.objectLists[0].Add("empty", nullptr);
    kivo.RemoveAllObjects(false);
    EXPECT_EQ(kivo.objectLists[0].Count(), 0);
    EXPECT_EQ(kivo.objectLists[2].Count(), 0);
    EXPECT_EQ(kivo.objectLists[6].Count(), 1);
    EXPECT_EQ(kivo.objectLists[6].GetObject(0), nullptr);
}

TEST_F(KivoTest, RemoveAllObjectsKeepingLeavesObjectsAlive)
{
    KIVO_OBJECT a, b;
    File(kivo, &a, {1, 2});
    File(kivo, &b, {1});
    kivo.RemoveAllObjects(true);
    EXPECT_EQ(kivo.objectLists[0].Count(), 0);
    EXPECT_EQ(kivo.objectLists[1].Count(), 0);
}

template <typename List> void CheckOwnedRecordList()
{
    List list;
    list.items.Add("a", new typename List::Record{});
    list.items.Add("b", new typename List::Record{});
    list.items.Add("c", new typename List::Record{});
    list.DeleteAt(3);
    list.DeleteAt(-1);
    EXPECT_EQ(list.items.Count(), 3);
    list.DeleteAt(1);
    EXPECT_EQ(list.items.Count(), 2);
    EXPECT_EQ(list.items.GetKey(1), "c");
    EXPECT_EQ(list.items.Find("C"), 1);
    list.Clear();
    EXPECT_EQ(list.items.Count(), 0);
    // Records still listed at destruction are freed by the list (ASan checks the leak).
    list.items.Add("d", new typename List::Record{});
}

TEST(KivoRecordLists, NodePointsAndCollisionCirclesOwnTheirRecords)
{
    CheckOwnedRecordList<KIVO_NODEPOINT>();
    CheckOwnedRecordList<KIVO_COLLISIONCIRCLE>();
}

} // namespace
