#include "core/plytag.h"

#include "core/layupbuilder.h"
#include "core/selection.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

TEST(PlyTag, OrdersPliesBeforeGroups)
{
    const struct
    {
        PlyTag a;
        PlyTag b;
    } ordered[] = {
        {{PlyTagPly, 9, 9}, {PlyTagGroup, 1, 0}}, {{PlyTagPly, 9, 1}, {PlyTagPly, 1, 2}},
        {{PlyTagPly, 1, 2}, {PlyTagPly, 2, 2}},   {{PlyTagGroup, 1, 0}, {PlyTagGroup, 2, 0}},
        {{PlyTagGroup, 2, 5}, {PlyTagGroup, 3, 0}},
    };
    for (const auto &c : ordered) {
        EXPECT_TRUE(c.a < c.b);
        EXPECT_FALSE(c.b < c.a);
    }
    // A group tag's parent plays no part.
    EXPECT_FALSE((PlyTag{PlyTagGroup, 2, 5} < PlyTag{PlyTagGroup, 2, 0}));
}

class PlyTagTest : public ::testing::Test
{
protected:
    // Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 (symmetry) | 7; serials
    // in pre-order: 1, group 5 2, its plies 3 and 4, ply 4 5, link 6, ply 7 7.
    PlyTagTest()
        : root(Root({Ply(1), Group(5, {Ply(2), Ply(3)}), Ply(4), Link(6, 5, LinkSymmetry), Ply(7)}))
    {
        root.AssignSerials(1);
    }

    PlyGroup root;
};

TEST_F(PlyTagTest, TagsNameSerialsAndTheGroupOrLinkShowingThePly)
{
    Selection selection;
    selection.plies = {7, 3, 5, 99};
    selection.SetGroups({6, 42});
    const std::set<PlyTag> tags = PlyTag::fromSelection(root, selection);
    // Ply 5 is the link's first, that is the last of group 5 (serial 4).
    const std::vector<std::tuple<int, int, int>> expected = {{0, 7, 0}, {0, 4, 5}, {0, 4, 6}, {1, 6, 0}};
    std::vector<std::tuple<int, int, int>> actual;
    for (const PlyTag &tag : tags)
        actual.emplace_back(tag.kind, tag.index, tag.parent);
    EXPECT_EQ(actual, expected);
}

TEST_F(PlyTagTest, ASelectionSurvivesRenumbering)
{
    const std::vector<std::vector<int>> selections = {{1}, {2}, {5}, {6}, {3, 6}, {2, 3, 5, 6, 7}};
    for (const std::vector<int> &plies : selections) {
        Selection selection;
        selection.plies = plies;
        selection.SelectGroup(5);
        const std::set<PlyTag> tags = PlyTag::fromSelection(root, selection);
        PlyGroup moved = root;
        moved.GetLayup().Insert(moved.GetLayup().Begin(), PlyHandle(new PlyHolder(Ply(8))));
        moved.Renumber(1);
        const Selection after = PlyTag::toSelection(moved, tags);
        std::vector<int> shifted;
        for (const int number : plies)
            shifted.push_back(number + 1);
        EXPECT_EQ(after.plies, shifted);
        EXPECT_EQ(after.Groups(), std::vector<int>{5});
    }
    EXPECT_TRUE(PlyTag::toSelection(root, {}).IsEmpty());
}

} // namespace
