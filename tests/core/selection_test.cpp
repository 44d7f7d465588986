#include "core/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using Ids = std::vector<int>;

Selection Holding2And5()
{
    Selection s;
    s.SelectGroup(5);
    s.SelectGroup(2);
    return s;
}

TEST(Selection, NewIsEmpty)
{
    const Selection s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.FirstGroupAnchor(), 0);
    EXPECT_EQ(s.LastGroupAnchor(), 0);
}

TEST(Selection, SelectGroupAnchors)
{
    Selection s = Holding2And5();
    s.SelectGroup(5);
    EXPECT_EQ(s.Groups(), (Ids{2, 5}));
    EXPECT_EQ(s.FirstGroupAnchor(), 5);
    EXPECT_EQ(s.LastGroupAnchor(), 2);
    EXPECT_TRUE(s.ContainsGroup(5));
    EXPECT_FALSE(s.ContainsGroup(3));
}

TEST(Selection, FirstAnchorSetEvenForSelectedId)
{
    Selection s;
    s.SelectGroup(4);
    s.ClearGroups();
    EXPECT_EQ(s.FirstGroupAnchor(), 0);
    s.SelectGroup(4);
    EXPECT_EQ(s.FirstGroupAnchor(), 4);
    EXPECT_EQ(s.LastGroupAnchor(), 4);
}

TEST(Selection, SetGroupsOnEmpty)
{
    Selection s;
    s.SetGroups({});
    EXPECT_TRUE(s.IsEmpty());
    s.SetGroups({7, 3, 5});
    EXPECT_EQ(s.Groups(), (Ids{3, 5, 7}));
    EXPECT_EQ(s.FirstGroupAnchor(), 7);
    EXPECT_EQ(s.LastGroupAnchor(), 5);
}

TEST(Selection, SetGroupsMergesWithoutDuplicates)
{
    Selection s = Holding2And5();
    s.SetGroups({5, 9, 2, 4});
    EXPECT_EQ(s.Groups(), (Ids{2, 4, 5, 9}));
    EXPECT_EQ(s.FirstGroupAnchor(), 5);
    EXPECT_EQ(s.LastGroupAnchor(), 4);
    s.SetGroups({2, 5});
    EXPECT_EQ(s.Groups(), (Ids{2, 4, 5, 9}));
    EXPECT_EQ(s.LastGroupAnchor(), 4);
}

TEST(Selection, ResetGroupsTable)
{
    struct Row { Ids ids; Ids groups; int first, last; };
    const Row rows[] = {
        {{5, 7}, {5, 7}, 5, 7},
        {{9, 5}, {5, 9}, 5, 9},
        {{3}, {3}, 3, 3},
        {{2}, {2}, 2, 2},       // no new id, last anchor 2 still selected; first 5 gone
        {{5}, {5}, 5, 5},       // no new id, last anchor 2 gone: last element
        {{5, 2}, {2, 5}, 5, 2}, // nothing changes
    };
    for (const Row &r : rows) {
        Selection s = Holding2And5();
        s.plies = {1, 2};
        s.ResetGroups(r.ids);
        EXPECT_EQ(s.Groups(), r.groups);
        EXPECT_EQ(s.FirstGroupAnchor(), r.first);
        EXPECT_EQ(s.LastGroupAnchor(), r.last);
        EXPECT_EQ(s.plies, (Ids{1, 2}));
    }
}

TEST(Selection, ResetGroupsEmptyKeepsPlies)
{
    Selection s = Holding2And5();
    s.plies = {3};
    s.ResetGroups({});
    EXPECT_TRUE(s.Groups().empty());
    EXPECT_EQ(s.FirstGroupAnchor(), 0);
    EXPECT_EQ(s.LastGroupAnchor(), 0);
    EXPECT_FALSE(s.IsEmpty());
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(Selection, CopiesReadTheirOwnGroups)
{
    Selection source = Holding2And5();
    source.plies = {4};
    const Selection copy(source);
    Selection assigned;
    assigned = source;
    const std::vector<int> &copyView = copy.Groups();
    const std::vector<int> &assignedView = assigned.Groups();
    source.SelectGroup(8);
    source.plies.clear();
    EXPECT_EQ(copyView, (Ids{2, 5}));
    EXPECT_EQ(assignedView, (Ids{2, 5}));
    EXPECT_EQ(assigned.FirstGroupAnchor(), 5);
    EXPECT_EQ(assigned.LastGroupAnchor(), 2);
    EXPECT_EQ(copy.plies, (Ids{4}));
}

// Anchors always name selected groups (or 0), and the ids stay sorted and unique.
TEST(Selection, RandomOperationsKeepInvariants)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        Selection s;
        for (int step = 0; step < 30; ++step) {
            const Ids pool{1, 2, 3, 4, 5, 6, 7, 8, 9};
            Ids ids;
            std::uniform_int_distribution<int> id(1, 9);
            std::sample(pool.begin(), pool.end(), std::back_inserter(ids), rng() % 4, rng);
            std::shuffle(ids.begin(), ids.end(), rng);
            switch (rng() % 4) {
            case 0: s.SelectGroup(id(rng)); break;
            case 1: s.SetGroups(ids); break;
            case 2: s.ResetGroups(ids); break;
            default: if (rng() % 3 == 0) s.ClearGroups(); break;
            }
            const Ids &g = s.Groups();
            ASSERT_TRUE(std::is_sorted(g.begin(), g.end()));
            ASSERT_EQ(std::adjacent_find(g.begin(), g.end()), g.end());
            if (g.empty()) {
                ASSERT_EQ(s.LastGroupAnchor(), 0);
            } else {
                ASSERT_TRUE(s.ContainsGroup(s.LastGroupAnchor()));
            }
        }
    }
}

} // namespace
