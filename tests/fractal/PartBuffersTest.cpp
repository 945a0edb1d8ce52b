#include <gtest/gtest.h>

#include "fractal/FractalReset.h"
#include "fractal/PartBuffers.h"

namespace {

class PartBuffers : public ::testing::Test {
protected:
    void SetUp() override { ResetFractalGlobals(); }
    void TearDown() override { ResetFractalGlobals(); }
};

void ExpectEmpty(const PART_BUFFER* b)
{
    EXPECT_EQ(b->count, 0);
    EXPECT_EQ(b->capacity, 0);
    EXPECT_EQ(b->items, nullptr);
    EXPECT_EQ(b->minScale, 0);
    EXPECT_EQ(b->maxScale, 0);
    EXPECT_EQ(b->minX, 0);
    EXPECT_EQ(b->maxX, 0);
    EXPECT_EQ(b->minY, 0);
    EXPECT_EQ(b->maxY, 0);
}

} // namespace

TEST_F(PartBuffers, SelectorDecidesWhichBufferPlaysEachRole)
{
    struct Case {
        int32_t selector;
        uint8_t role;
        PART_BUFFER* expected;
    };
    const Case cases[] = {
        {0, CURRENT, &bufferA}, {0, NEXT, &bufferB}, {0, 7, &bufferB},  {0, 255, &bufferB},
        {1, CURRENT, &bufferB}, {1, NEXT, &bufferA}, {1, 42, &bufferA},
    };
    for (const Case& c : cases) {
        bufferSelector = c.selector;
        EXPECT_EQ(SelectBuffer(c.role), c.expected) << "selector " << c.selector << " role " << int(c.role);
    }
}

TEST_F(PartBuffers, FirstAppendSetsEveryRangeToItsOwnValues)
{
    ASSERT_TRUE(AllocateBuffer(NEXT, 3));
    PART_BUFFER* b = SelectBuffer(NEXT);
    AppendPart(NEXT, 250, 300, 4, 0.5f, 0.7f, 9);
    EXPECT_EQ(b->count, 1);
    EXPECT_EQ(b->minX, 250);
    EXPECT_EQ(b->maxX, 250);
    EXPECT_EQ(b->minY, 300);
    EXPECT_EQ(b->maxY, 300);
    EXPECT_FLOAT_EQ(b->minScale, 0.7f);
    EXPECT_FLOAT_EQ(b->maxScale, 0.7f);

    AppendPart(NEXT, -10, 400, 1, 0, 0.2f, 0);
    AppendPart(NEXT, 20, 350, 2, 0, 0.9f, 0);
    EXPECT_EQ(b->minX, -10);
    EXPECT_EQ(b->maxX, 250);
    EXPECT_EQ(b->minY, 300);
    EXPECT_EQ(b->maxY, 400);
    EXPECT_FLOAT_EQ(b->minScale, 0.2f);
    EXPECT_FLOAT_EQ(b->maxScale, 0.9f);

    const PART& p = PartAt(NEXT, 0);
    EXPECT_EQ(p.picture, 4);
    EXPECT_EQ(p.x, 250);
    EXPECT_EQ(p.y, 300);
    EXPECT_FLOAT_EQ(p.angle, 0.5f);
    EXPECT_FLOAT_EQ(p.scale, 0.7f);
    EXPECT_EQ(p.color, 9);
    EXPECT_EQ(&ItemAt(b, 2), &PartAt(NEXT, 2));
}

TEST_F(PartBuffers, FullBufferRefusesAndKeepsEverything)
{
    ASSERT_TRUE(AllocateBuffer(CURRENT, 2));
    AppendPart(CURRENT, 1, 2, 3, 0.1f, 0.5f, 6);
    AppendPart(CURRENT, 5, 6, 7, 0.2f, 0.6f, 8);
    PART_BUFFER* b = SelectBuffer(CURRENT);
    PART before[2] = {b->items[0], b->items[1]};
    AppendPart(CURRENT, -1000, 1000, 9, 3, 9, 9);
    EXPECT_EQ(b->count, 2);
    EXPECT_EQ(b->minX, 1);
    EXPECT_EQ(b->maxX, 5);
    EXPECT_EQ(b->minY, 2);
    EXPECT_EQ(b->maxY, 6);
    EXPECT_FLOAT_EQ(b->maxScale, 0.6f);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(b->items[i].x, before[i].x);
        EXPECT_EQ(b->items[i].picture, before[i].picture);
    }
}

TEST_F(PartBuffers, CapacityZeroHasAnArrayAndRefusesEveryPart)
{
    ASSERT_TRUE(AllocateBuffer(NEXT, 0));
    PART_BUFFER* b = SelectBuffer(NEXT);
    EXPECT_NE(b->items, nullptr);
    AppendPart(NEXT, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(b->count, 0);
    EXPECT_EQ(b->maxX, 0);
    EXPECT_EQ(PartCapacity(NEXT), 0);
    // Reallocating and clearing a zero-capacity buffer frees its array exactly once.
    ASSERT_TRUE(AllocateBuffer(NEXT, 0));
    ClearBuffer(NEXT);
    ExpectEmpty(b);
}

TEST_F(PartBuffers, ClearBufferEmptiesCountsRangesAndArray)
{
    ASSERT_TRUE(AllocateBuffer(NEXT, 4));
    AppendPart(NEXT, 3, 4, 0, 0, 0.5f, 0);
    ClearBuffer(NEXT);
    ExpectEmpty(SelectBuffer(NEXT));
    // Clearing an empty buffer is harmless.
    ClearBuffer(NEXT);
    ExpectEmpty(SelectBuffer(NEXT));
}

TEST_F(PartBuffers, AllocateReplacesTheArrayAndEmptiesTheRanges)
{
    ASSERT_TRUE(AllocateBuffer(NEXT, 2));
    AppendPart(NEXT, 30, 40, 0, 0, 0.5f, 0);
    ASSERT_TRUE(AllocateBuffer(NEXT, 5));
    PART_BUFFER* b = SelectBuffer(NEXT);
    EXPECT_EQ(b->count, 0);
    EXPECT_EQ(b->capacity, 5);
    EXPECT_EQ(b->maxX, 0);
    EXPECT_EQ(PartCapacity(NEXT), 5);
    EXPECT_EQ(PartCapacity(CURRENT), 0);
}

TEST_F(PartBuffers, FailedAllocationLeavesTheBufferAsItWas)
{
    ASSERT_TRUE(AllocateBuffer(NEXT, 2));
    AppendPart(NEXT, 30, 40, 1, 0, 0.5f, 0);
    PART_BUFFER* b = SelectBuffer(NEXT);
    PART* items = b->items;

    partAllocationLimit = 10;
    EXPECT_EQ(NewPartArray(11), nullptr);
    EXPECT_FALSE(AllocateBuffer(NEXT, 11));
    EXPECT_FALSE(AllocateBuffer(NEXT, -1));
    EXPECT_EQ(b->items, items);
    EXPECT_EQ(b->count, 1);
    EXPECT_EQ(b->capacity, 2);
    EXPECT_EQ(b->maxX, 30);

    EXPECT_TRUE(AllocateBuffer(NEXT, 10));
    EXPECT_EQ(b->capacity, 10);
}
