#include "core/plygroup.h"

#include "randomtree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

PlySimple *NewPly(int number, float thickness)
{
    auto *ply = new PlySimple(number, "p");
    ply->SetThickness(thickness);
    return ply;
}

// The full stack of each stacking rule, built from the table of rules.
std::vector<PlySimple> FullStack(const std::vector<PlySimple> &a, int rule)
{
    std::vector<PlySimple> stack = a;
    for (size_t i = 0, n = a.size(); i < n; ++i) {
        if (rule == 1 || (rule == 2 && i > 0))
            stack.push_back(a[n - 1 - i]);
        if (rule == 3 || (rule == 4 && i + 1 < n))
            stack.push_back(a[i]);
    }
    return stack;
}

} // namespace

TEST(PlyGroup, FullStacksOfRandomTrees)
{
    for (unsigned seed = 0; seed < 200; ++seed) {
        RandomTree tree(seed);
        PlyGroup root = tree.Build();
        ASSERT_TRUE(SamePlies(Collect(root), tree.flat)) << seed;
        EXPECT_EQ(root.Thickness(), SumThickness(tree.flat));
        for (int rule = 0; rule <= 5; ++rule) {
            root.GetLayup().SetStacking(rule);
            std::vector<PlySimple> stack;
            root.CollectPliesExpanded(stack);
            ASSERT_TRUE(SamePlies(stack, FullStack(tree.flat, rule))) << seed << " rule " << rule;
            EXPECT_EQ(root.CountPliesExpanded(), static_cast<int>(stack.size()));
            // Thicknesses are multiples of 1/8, so the float sums are exact.
            EXPECT_EQ(root.TotalThickness(), SumThickness(stack)) << seed << " rule " << rule;
        }
    }
}

TEST(PlyGroup, StackingEdgeCases)
{
    PlyGroup one(0), empty(0), endsInEmptyGroup(0);
    one.GetLayup().Add(NewPly(1, 0.5f));
    endsInEmptyGroup.GetLayup().Add(NewPly(1, 0.5f));
    endsInEmptyGroup.GetLayup().Add(NewPly(2, 0.25f));
    endsInEmptyGroup.GetLayup().Add(new PlyGroup(1));
    const float oneTotal[] = {0.5f, 1.0f, 0.5f, 1.0f, 0.5f, 0.5f};
    for (int rule = 0; rule <= 5; ++rule) {
        for (PlyGroup *g : {&one, &empty, &endsInEmptyGroup})
            g->GetLayup().SetStacking(rule);
        EXPECT_EQ(one.TotalThickness(), oneTotal[rule]);
        EXPECT_EQ(empty.CountPliesExpanded() + empty.TotalThickness(), 0.0f);
        // The core is the last ply of the flat list, not of the last item.
        if (rule == 2 || rule == 4) {
            EXPECT_EQ(endsInEmptyGroup.TotalThickness(), 1.25f);
        }
    }
}

TEST(PlyGroup, TransformsCopiesAndSearchesOfRandomTrees)
{
    for (unsigned seed = 0; seed < 200; ++seed) {
        // Reversing twice, mirroring twice and cloning give an equal group, links included.
        const PlyGroup root = RandomTree(seed, true).Build();
        const std::vector<PlySimple> flat = Collect(root);
        PlyGroup reversed(root), mirrored(root);
        reversed.Reverse();
        mirrored.Mirror();
        EXPECT_TRUE(SamePlies(Unnumbered(Collect(reversed)), Unnumbered(flat, true))) << seed;
        EXPECT_TRUE(SamePlies(Unnumbered(Collect(mirrored)), Unnumbered(flat, false, true))) << seed;
        reversed.Reverse();
        mirrored.Mirror();
        const std::unique_ptr<PlyBase> clone(root.Clone());
        EXPECT_TRUE(reversed.IsEqual(root) && mirrored.IsEqual(root) && clone->IsEqual(root)) << seed;

        // After Renumber(1) every number is found, in both forms, at its owner;
        // serials increase with the numbers and stay negative from -999999.
        RandomTree tree(seed);
        PlyGroup numbered = tree.Build();
        const int count = numbered.Renumber(1);
        std::vector<PlyGroupBase *> groups;
        Walk(numbered, groups);
        EXPECT_EQ(numbered.AssignSerials(-999999), -999999 + count + static_cast<int>(groups.size()) - 1);
        for (int n = 1, serial = -1000000; n <= count; ++n) {
            const PlyHandle ply = numbered.FindPly(n, 0);
            ASSERT_TRUE(ply && ply->IsEqual(tree.flat[n - 1])) << seed << " ply " << n;
            EXPECT_EQ(static_cast<const PlyGroup &>(numbered).FindPly(n, 0).Get(), ply.Get());
            const auto *owner = static_cast<const PlyGroup *>(numbered.FindOwnerOfPly(n));
            ASSERT_TRUE(owner);
            EXPECT_TRUE(std::any_of(owner->GetLayup().ConstBegin(), owner->GetLayup().ConstEnd(),
                                    [&](const ConstPlyHandle &h) { return h.Get() == ply.Get(); }));
            EXPECT_TRUE(ply->Serial() > serial && ply->Serial() < 0);
            serial = ply->Serial();
        }
        EXPECT_FALSE(numbered.FindPly(count + 1, 0) || numbered.FindPly(0, 0));
        EXPECT_EQ(numbered.FindOwnerOfPly(count + 1), nullptr);
    }
}

TEST(PlyGroup, NumbersOwnersAndSearches)
{
    // Root: ply 1, group 4 of plies 2-4, ply 5.
    PlyGroup root(0);
    auto *group = new PlyGroup(4);
    for (int i = 0; i < 3; ++i)
        group->GetLayup().Add(NewPly(0, 0.25f));
    root.GetLayup().Add(NewPly(0, 0.5f));
    root.GetLayup().Add(group);
    root.GetLayup().Add(NewPly(0, 0.5f));
    EXPECT_EQ(root.Renumber(1), 5);
    EXPECT_EQ(group->Id(), 4);
    EXPECT_EQ(root.MaxGroupId(0), 4);
    EXPECT_EQ(root.MaxGroupId(9), 9);
    EXPECT_EQ(root.FindOwnerOfPly(3), group);
    EXPECT_EQ(root.FindOwnerOfPly(1), &root);
    EXPECT_EQ(root.FindPly(3, 0).Get(), group->GetLayup()[1].Get());
    EXPECT_EQ(group->FindPly(3, 1).Get(), group->GetLayup()[1].Get());
    EXPECT_FALSE(root.FindPly(9, 0));
    EXPECT_FALSE(root.FindGroup(0)); // the root itself is not searched
    auto *inner = new PlyGroup(6);
    group->GetLayup().Add(inner);
    EXPECT_EQ(static_cast<const PlyGroup &>(root).FindGroup(6).Get(), inner);
    EXPECT_EQ(root.FindGroup(4).Get(), group);

    // A doubling serial counter would overflow with this many groups.
    for (int i = 10; i < 74; ++i)
        root.GetLayup().Add(new PlyGroup(i));
    EXPECT_EQ(root.AssignSerials(1), 1 + 3 + 4 + 64);

    PlyGroup other = root;
    other.SetSerial(3);
    other = other;
    EXPECT_TRUE(other.IsEqual(root) && other.Serial() == 3);
    other.GetLayup().SetStacking(1);
    EXPECT_FALSE(other.IsEqual(root));

    // Reverse shares the holders, it does not clone them.
    const PlyHolder *first = other.GetLayup()[0].Holder();
    other.Reverse();
    EXPECT_EQ(other.GetLayup()[other.GetLayup().Size() - 1].Holder(), first);

    // Assigning from a descendant: the child dies while being copied from.
    other = static_cast<const PlyGroup &>(*other.FindGroup(4));
    EXPECT_EQ(other.Id(), 4);
    EXPECT_EQ(other.CountPlies(), 3);
}
