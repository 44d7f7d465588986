#include "core/plygroup.h"

#include "randomtree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

PlySimple *NewPly(int number, float thickness, float angle = 0.0f)
{
    auto *ply = new PlySimple(number, "p");
    ply->SetThickness(thickness);
    ply->SetAngle(angle);
    return ply;
}

// The full stack of each stacking rule, built from the table of rules.
std::vector<PlySimple> FullStack(const std::vector<PlySimple> &a, int rule)
{
    std::vector<PlySimple> stack = a;
    const size_t n = a.size();
    for (size_t i = 0; i < n; ++i) {
        const PlySimple &forward = a[i], &backward = a[n - 1 - i];
        if (rule == 1 || (rule == 2 && i > 0))
            stack.push_back(backward);
        if (rule == 3 || (rule == 4 && i + 1 < n))
            stack.push_back(forward);
    }
    return stack;
}

std::vector<int> Numbers(const std::vector<PlySimple> &plies)
{
    std::vector<int> numbers;
    for (const PlySimple &ply : plies)
        numbers.push_back(ply.Id());
    return numbers;
}

// Root: ply 1, group 4 of plies 2-4, ply 5.
PlyGroup SmallTree()
{
    PlyGroup root(0);
    auto *group = new PlyGroup(4);
    for (int i = 0; i < 3; ++i)
        group->GetLayup().Add(NewPly(0, 0.25f));
    root.GetLayup().Add(NewPly(0, 0.5f));
    root.GetLayup().Add(group);
    root.GetLayup().Add(NewPly(0, 0.5f));
    return root;
}

} // namespace

TEST(PlyGroup, FullStacksOfRandomTrees)
{
    for (unsigned seed = 0; seed < 200; ++seed) {
        RandomTree tree(seed);
        PlyGroup root = tree.Build();
        ASSERT_TRUE(SamePlies(Collect(root), tree.flat)) << seed;
        float sum = 0.0f;
        for (const PlySimple &ply : tree.flat)
            sum += ply.Thickness();
        EXPECT_EQ(root.Thickness(), sum);
        for (int rule = 0; rule <= 5; ++rule) {
            root.GetLayup().SetStacking(rule);
            std::vector<PlySimple> stack;
            root.CollectPliesExpanded(stack);
            ASSERT_TRUE(SamePlies(stack, FullStack(tree.flat, rule))) << seed << " rule " << rule;
            EXPECT_EQ(root.CountPliesExpanded(), static_cast<int>(stack.size()));
            float total = 0.0f;
            for (const PlySimple &ply : stack)
                total += ply.Thickness();
            // Thicknesses are multiples of 1/8, so the float sums are exact.
            EXPECT_EQ(root.TotalThickness(), total) << seed << " rule " << rule;
        }
    }
}

TEST(PlyGroup, StackingExamples)
{
    struct Row
    {
        int rule;
        std::vector<int> stack;
        float oneThickPly; // TotalThickness of a single ply 0.5
    };
    const Row rows[] = {
        {0, {1, 2, 3}, 0.5f}, {1, {1, 2, 3, 3, 2, 1}, 1.0f}, {2, {1, 2, 3, 2, 1}, 0.5f},
        {3, {1, 2, 3, 1, 2, 3}, 1.0f}, {4, {1, 2, 3, 1, 2}, 0.5f}, {7, {1, 2, 3}, 0.5f},
    };
    for (const Row &row : rows) {
        PlyGroup three(0), one(0), empty(0);
        for (int i = 1; i <= 3; ++i)
            three.GetLayup().Add(NewPly(i, 1.0f));
        one.GetLayup().Add(NewPly(1, 0.5f));
        for (PlyGroup *g : {&three, &one, &empty})
            g->GetLayup().SetStacking(row.rule);
        std::vector<PlySimple> stack;
        three.CollectPliesExpanded(stack);
        EXPECT_EQ(Numbers(stack), row.stack) << row.rule;
        EXPECT_EQ(one.TotalThickness(), row.oneThickPly) << row.rule;
        EXPECT_EQ(empty.CountPliesExpanded(), 0);
        EXPECT_EQ(empty.TotalThickness(), 0.0f);
    }
}

TEST(PlyGroup, CoreIsLastPlyEvenAfterEmptyGroup)
{
    PlyGroup root(0);
    root.GetLayup().Add(NewPly(1, 0.5f));
    root.GetLayup().Add(NewPly(2, 0.25f));
    root.GetLayup().Add(new PlyGroup(1));
    for (int rule : {2, 4}) {
        root.GetLayup().SetStacking(rule);
        EXPECT_EQ(root.TotalThickness(), 1.25f);
        EXPECT_EQ(root.CountPliesExpanded(), 3);
    }
}

TEST(PlyGroup, TransformsAndCopiesOfRandomTrees)
{
    for (unsigned seed = 0; seed < 200; ++seed) {
        RandomTree tree(seed);
        const PlyGroup root = tree.Build();

        PlyGroup reversed(root);
        reversed.Reverse();
        std::vector<PlySimple> expected(tree.flat.rbegin(), tree.flat.rend());
        EXPECT_TRUE(SamePlies(Collect(reversed), expected)) << seed;
        reversed.Reverse();
        EXPECT_TRUE(reversed.IsEqual(root)) << seed;

        PlyGroup mirrored(root);
        mirrored.Mirror();
        expected = tree.flat;
        for (PlySimple &ply : expected)
            ply.SetAngle(-ply.Angle());
        EXPECT_TRUE(SamePlies(Collect(mirrored), expected)) << seed;
        mirrored.Mirror();
        EXPECT_TRUE(mirrored.IsEqual(root)) << seed;

        std::unique_ptr<PlyBase> clone(root.Clone());
        EXPECT_TRUE(clone->IsEqual(root) && root.ExpandedCopy().IsEqual(root)) << seed;

        // After Renumber(1) every number is found, in both forms, at its owner.
        PlyGroup numbered(root);
        const int count = numbered.Renumber(1);
        ASSERT_EQ(count, static_cast<int>(tree.flat.size()));
        for (int n = 1; n <= count; ++n) {
            const PlyHandle ply = numbered.FindPly(n, 0);
            ASSERT_TRUE(ply) << seed << " ply " << n;
            EXPECT_TRUE(ply->IsEqual(tree.flat[n - 1]));
            EXPECT_EQ(static_cast<const PlyGroup &>(numbered).FindPly(n, 0).Get(), ply.Get());
            const PlyGroupBase *owner = numbered.FindOwnerOfPly(n);
            ASSERT_TRUE(owner);
            const Layup &siblings = static_cast<const PlyGroup *>(owner)->GetLayup();
            EXPECT_TRUE(std::any_of(siblings.ConstBegin(), siblings.ConstEnd(),
                                    [&](const ConstPlyHandle &h) { return h.Get() == ply.Get(); }));
        }
        EXPECT_FALSE(numbered.FindPly(count + 1, 0));
        EXPECT_FALSE(numbered.FindPly(0, 0));
        EXPECT_EQ(numbered.FindOwnerOfPly(count + 1), nullptr);
    }
}

TEST(PlyGroup, SerialsContinueThroughGroups)
{
    for (unsigned seed = 0; seed < 50; ++seed) {
        PlyGroup root = RandomTree(seed).Build();
        for (int start : {1, -999999}) {
            std::vector<int> serials;
            std::function<void(const PlyGroup &)> walk = [&](const PlyGroup &group) {
                for (auto it = group.GetLayup().ConstBegin(); it != group.GetLayup().ConstEnd(); ++it) {
                    serials.push_back((*it)->Serial());
                    if (auto *child = dynamic_cast<const PlyGroup *>(it->Get()))
                        walk(*child);
                }
            };
            const int next = root.AssignSerials(start);
            walk(root);
            EXPECT_EQ(next, start + static_cast<int>(serials.size()));
            for (size_t i = 0; i < serials.size(); ++i)
                EXPECT_EQ(serials[i], start + static_cast<int>(i));
        }
    }
    // Many groups in a row: a doubling counter would overflow here.
    PlyGroup root(0);
    for (int i = 1; i <= 64; ++i) {
        auto *group = new PlyGroup(i);
        group->GetLayup().Add(NewPly(0, 1.0f));
        root.GetLayup().Add(group);
    }
    EXPECT_EQ(root.AssignSerials(1), 129);
}

TEST(PlyGroup, NumbersOwnersAndSearches)
{
    PlyGroup root = SmallTree();
    EXPECT_EQ(root.Renumber(1), 5);
    EXPECT_EQ(root.FindGroup(4)->Id(), 4);
    EXPECT_EQ(root.MaxGroupId(0), 4);
    EXPECT_EQ(root.MaxGroupId(9), 9);
    auto &group = static_cast<PlyGroup &>(*root.FindGroup(4));
    EXPECT_EQ(group.Id(), 4);
    EXPECT_EQ(root.FindOwnerOfPly(3), &group);
    EXPECT_EQ(root.FindOwnerOfPly(1), &root);
    EXPECT_EQ(root.FindOwnerOfPly(5), &root);
    EXPECT_EQ(root.FindPly(3, 0).Get(), group.GetLayup()[1].Get());
    EXPECT_EQ(group.FindPly(3, 1).Get(), group.GetLayup()[1].Get());
    EXPECT_FALSE(root.FindPly(9, 0));
    EXPECT_FALSE(root.FindGroup(0)); // the root itself is not searched
    EXPECT_FALSE(static_cast<const PlyGroup &>(root).FindGroup(5));

    // A nested group is found inside its parent.
    auto *inner = new PlyGroup(6);
    group.GetLayup().Add(inner);
    EXPECT_EQ(static_cast<const PlyGroup &>(root).FindGroup(6).Get(), inner);
}

TEST(PlyGroup, EqualityAndAssignment)
{
    const PlyGroup root = SmallTree();
    PlyGroup other = root;
    EXPECT_TRUE(other.IsEqual(root));
    other.GetLayup().SetStacking(1);
    EXPECT_FALSE(other.IsEqual(root));
    EXPECT_FALSE(PlyGroup(0).IsEqual(PlySimple(0, "Group")));

    other.SetSerial(3);
    other = other;
    EXPECT_EQ(other.Serial(), 3);

    // Reverse shares the holders, it does not clone them.
    Layup holders;
    for (auto it = other.GetLayup().Begin(); it != other.GetLayup().End(); ++it)
        holders.Add(*it);
    other.Reverse();
    EXPECT_EQ(other.GetLayup()[0].Holder(), holders[2].Holder());

    // Assigning from a descendant: the child dies while being copied from.
    PlyGroup tree = SmallTree();
    tree = static_cast<const PlyGroup &>(*tree.FindGroup(4));
    EXPECT_EQ(tree.Id(), 4);
    EXPECT_EQ(tree.CountPlies(), 3);
}
