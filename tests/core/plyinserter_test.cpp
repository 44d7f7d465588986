#include "core/plyinserter.h"

#include "core/layupbuilder.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

// Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7; five root items.
PlyGroup SampleRoot()
{
    return Root({Ply(1), Group(5, {Ply(2), Ply(3)}), Ply(4), Link(6, 5, 0), Ply(7)});
}

struct InserterCase
{
    const char *name;
    std::vector<int> plies;
    std::vector<int> groups;
    bool before;
    int group; // -1: invalid
    int position;
};

const InserterCase kCases[] = {
    {"nothing below", {}, {}, true, 0, 1},
    {"nothing above", {}, {}, false, 0, 6},
    {"group below", {}, {5}, true, 0, 2},
    {"group above", {}, {5}, false, 0, 3},
    {"link below", {}, {6}, true, 0, 4},
    {"link above", {}, {6}, false, 0, 5},
    {"missing group", {}, {99}, true, -1, 0},
    {"two groups", {}, {5, 6}, true, -1, 0},
    {"top-level ply below", {1}, {}, true, 0, 1},
    {"top-level ply above", {1}, {}, false, 0, 2},
    {"plies in group below lowest", {3, 2}, {}, true, 5, 1},
    {"plies in group above highest", {3, 2}, {}, false, 5, 3},
    {"mixed plies below take the lowest", {4, 2}, {}, true, 5, 1},
    {"mixed plies above take the highest", {2, 4}, {}, false, 0, 4},
    {"top ply above", {7}, {}, false, 0, 6},
    {"ply inside link below", {5}, {}, true, -1, 0},
    {"ply inside link above", {6, 1}, {}, false, -1, 0},
    {"missing ply below", {42}, {}, true, 0, 1},
    {"missing ply above", {42}, {}, false, 0, 6},
    {"ply number 0", {0}, {}, false, 0, 6},
    {"ply and group", {1}, {5}, true, -1, 0},
};

TEST(PlyInserter, FromSelection)
{
    for (const InserterCase &c : kCases) {
        SCOPED_TRACE(c.name);
        PlyGroup work = SampleRoot();
        const PlyInserter inserter = PlyInserter::Compute(work, c.plies, c.groups, c.before);
        EXPECT_EQ(inserter.IsValid(), c.group >= 0);
        EXPECT_EQ(inserter.Group(), c.group);
        EXPECT_EQ(inserter.Position(), c.position);
        EXPECT_EQ(inserter.Before(), c.before);
        EXPECT_EQ(inserter.After(), !c.before);
    }
}

TEST(PlyInserter, EmptyLayupAppendsAtOneOnEitherSide)
{
    PlyGroup work(0);
    EXPECT_EQ(PlyInserter::Compute(work, {}, {}, true).Position(), 1);
    EXPECT_EQ(PlyInserter::Compute(work, {}, {}, false).Position(), 1);
    EXPECT_FALSE(PlyInserter().IsValid());
}

} // namespace
