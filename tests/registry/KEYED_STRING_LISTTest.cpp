#include "registry/KEYED_STRING_LIST.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
    int id;
};

using List = KEYED_STRING_LIST<Item>;

std::vector<std::string> Keys(const List& list)
{
    std::vector<std::string> keys;
    for (int i = 0; i < list.Count(); ++i)
        keys.push_back(list.GetKey(i));
    return keys;
}

// Every key must be found at the first position that holds it, which checks that the
// hash index followed every insert and delete.
void ExpectIndexConsistent(const List& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        int first = list.Find(list.GetKey(i));
        ASSERT_GE(first, 0) << list.GetKey(i);
        EXPECT_LE(first, i) << list.GetKey(i);
        EXPECT_EQ(list.GetObject(first), list.GetObject(list.Find(list.GetKey(first))));
    }
}

TEST(KeyedStringList, UnsortedAppendsInOrderAndFindsByKeyAndObject)
{
    Item a{1}, b{2}, c{3};
    List list(false, true, true);
    EXPECT_EQ(list.Add("b", &a), 0);
    EXPECT_EQ(list.Add("a", &b), 1);
    EXPECT_EQ(list.Add("b", &c), 2);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"b", "a", "b"}));
    EXPECT_EQ(list.Find("b"), 0);
    EXPECT_EQ(list.Find("a"), 1);
    EXPECT_EQ(list.Find("B"), -1);
    EXPECT_EQ(list.IndexOfObject(&c), 2);
    EXPECT_EQ(list.IndexOfObject(nullptr), -1);
}

TEST(KeyedStringList, SortedInsertsAfterEqualKeys)
{
    Item items[5] = {{0}, {1}, {2}, {3}, {4}};
    List list(true, true, true);
    list.Add("m", &items[0]);
    list.Add("c", &items[1]);
    list.Add("x", &items[2]);
    EXPECT_EQ(list.Add("m", &items[3]), 2);
    list.Add("a", &items[4]);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"a", "c", "m", "m", "x"}));
    EXPECT_EQ(list.GetObject(2), &items[0]);
    EXPECT_EQ(list.GetObject(3), &items[3]);
    EXPECT_EQ(list.Find("m"), 2);
    EXPECT_EQ(list.Find("x"), 4);
    ExpectIndexConsistent(list);
}

TEST(KeyedStringList, IgnoredDuplicatesAddNothing)
{
    Item a{1}, b{2};
    List list(false, false, true);
    EXPECT_EQ(list.Add("k", &a), 0);
    EXPECT_EQ(list.Add("k", &b), -1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetObject(0), &a);
}

TEST(KeyedStringList, CaseInsensitiveListFoldsKeysForLookupAndDuplicates)
{
    Item a{1}, b{2};
    List list(true, false, false);
    list.Add("Beta", &a);
    EXPECT_EQ(list.Add("BETA", &b), -1);
    EXPECT_EQ(list.Find("beta"), 0);
    EXPECT_EQ(list.GetKey(0), "Beta");
    list.Add("alpha", &b);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"alpha", "Beta"}));
}

TEST(KeyedStringList, DeleteKeepsPositionsAndIndexInStep)
{
    Item items[4] = {{0}, {1}, {2}, {3}};
    List list(false, true, true);
    list.Add("a", &items[0]);
    list.Add("b", &items[1]);
    list.Add("a", &items[2]);
    list.Add("c", &items[3]);
    list.Delete(0);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(list.Find("a"), 1);
    EXPECT_EQ(list.GetObject(1), &items[2]);
    EXPECT_EQ(list.Find("c"), 2);
    list.Delete(1);
    EXPECT_EQ(list.Find("a"), -1);
    EXPECT_EQ(list.Find("c"), 1);
    ExpectIndexConsistent(list);
    list.Delete(-1);
    list.Delete(2);
    EXPECT_EQ(list.Count(), 2);
}

TEST(KeyedStringList, OutOfRangeAccessIsHarmless)
{
    Item a{1}, b{2};
    List list;
    list.Add("a", &a);
    EXPECT_EQ(list.GetObject(-1), nullptr);
    EXPECT_EQ(list.GetObject(1), nullptr);
    EXPECT_EQ(list.GetKey(5), "");
    list.PutObject(1, &b);
    list.PutObject(0, &b);
    EXPECT_EQ(list.GetObject(0), &b);
    EXPECT_EQ(list.GetKey(0), "a");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Find("a"), -1);
}

} // namespace
