#include "core/plygrouplink.h"

#include "randomtree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <unordered_map>

namespace {

PlyGroup *AddGroup(Layup &layup, int id, std::initializer_list<float> angles)
{
    auto *group = new PlyGroup(id);
    for (float angle : angles) {
        auto *ply = new PlySimple(0, "p");
        ply->SetThickness(0.25f);
        ply->SetAngle(angle);
        group->GetLayup().Add(ply);
    }
    layup.Add(group);
    return group;
}

PlyGroupLink *AddLink(Layup &layup, int id, int target, int type = LinkRepeat)
{
    auto *link = new PlyGroupLink(id, target, type, 0);
    layup.Add(link);
    return link;
}

std::vector<float> Angles(const std::vector<PlySimple> &plies)
{
    std::vector<float> angles;
    for (const PlySimple &ply : plies)
        angles.push_back(ply.Angle());
    return angles;
}

} // namespace

TEST(PlyGroupLink, ExpandsTargetByType)
{
    const std::pair<int, std::vector<float>> rows[] = {
        {LinkRepeat, {0.0f, 45.0f}}, {LinkSymmetry, {45.0f, 0.0f}}, {LinkAntisymmetry, {-45.0f, -0.0f}}, {7, {0.0f, 45.0f}}};
    for (const auto &[type, angles] : rows) {
        PlyGroup root(0);
        AddGroup(root.GetLayup(), 1, {0.0f, 45.0f});
        AddGroup(root.GetLayup(), 2, {90.0f, 90.0f});
        PlyGroupLink *link = AddLink(root.GetLayup(), 9, 1, type);
        root.SetRoot(&root);
        EXPECT_EQ(root.Renumber(1), 6);
        EXPECT_EQ(link->FirstPlyNumber(), 5);
        EXPECT_EQ(link->Thickness(), 0.5f);
        EXPECT_EQ(root.FindOwnerOfPly(6), link);
        EXPECT_EQ(root.FindOwnerOfPly(7), nullptr);
        EXPECT_FALSE(root.FindPly(5, 0)); // expansion plies are not items of the tree
        const PlyGroup expansion = link->ExpandedCopy();
        EXPECT_EQ(expansion.Id(), 1);
        for (const auto &plies : {Collect(*link), Collect(expansion)}) {
            EXPECT_EQ(Angles(plies), angles);
            EXPECT_EQ(std::signbit(plies[1].Angle()), type == LinkAntisymmetry);
            EXPECT_EQ(plies[0].Id() * 10 + plies[1].Id(), 56);
        }
    }
}

TEST(PlyGroupLink, UnresolvedLinkAndEquality)
{
    PlyGroup root(0);
    AddGroup(root.GetLayup(), 1, {0.0f});
    PlyGroupLink *link = AddLink(root.GetLayup(), 2, 99);
    AddGroup(root.GetLayup(), 3, {0.0f});
    EXPECT_EQ(link->Target(), nullptr); // no root yet
    root.SetRoot(&root);
    EXPECT_EQ(root.Renumber(1), 2);
    EXPECT_EQ(root.FindOwnerOfPly(2)->Id(), 3); // the next item goes on with the same number
    EXPECT_EQ(link->CountPlies() + link->Thickness(), 0.0f);
    EXPECT_TRUE(Collect(*link).empty());
    EXPECT_EQ(link->FindOwnerOfPly(2), nullptr);
    const PlyGroup expansion = link->ExpandedCopy();
    EXPECT_EQ(expansion.Id(), 0);
    EXPECT_EQ(expansion.Name(), "Group");
    EXPECT_EQ(expansion.GetLayup().Size(), 0);

    PlyGroupLink loose(2, 99, LinkRepeat, 2);
    EXPECT_TRUE(loose.IsEqual(*link));
    link->SetTargetGroupId(1);
    loose.SetTargetGroupId(1);
    EXPECT_FALSE(loose.IsEqual(*link)); // resolved against unresolved
    EXPECT_EQ(PlyGroupLink(7, 1, 0, 0).MaxGroupId(3), 7);
    EXPECT_EQ(PlyGroupLink(2, 1, 0, 0).MaxGroupId(3), 3);
}

TEST(PlyGroupLink, ChainsAndCycleGuard)
{
    PlyGroup root(0); // 3 -> 2 -> 1: Antisymmetry of Symmetry negates in the original order
    AddGroup(root.GetLayup(), 1, {0.0f, 45.0f});
    AddLink(root.GetLayup(), 2, 1, LinkSymmetry);
    PlyGroupLink *chained = AddLink(root.GetLayup(), 3, 2, LinkAntisymmetry);
    root.SetRoot(&root);
    EXPECT_EQ(Angles(Collect(*chained)), (std::vector<float>{-0.0f, -45.0f}));
    EXPECT_EQ(Angles(Collect(chained->ExpandedCopy())), (std::vector<float>{-0.0f, -45.0f}));
    EXPECT_EQ(root.CountLinksTo(1), 2);

    // Every link below is unresolved, except the link 10 into the cycle.
    const std::function<void(Layup &)> cycles[] = {
        [](Layup &r) { AddLink(r, 1, 1); },
        [](Layup &r) { AddLink(AddGroup(r, 1, {0.0f})->GetLayup(), 2, 1); },
        [](Layup &r) {
            AddLink(AddGroup(r, 1, {0.0f})->GetLayup(), 3, 2);
            AddLink(AddGroup(r, 2, {0.0f})->GetLayup(), 4, 1);
        },
        [](Layup &r) {
            AddLink(r, 1, 2);
            AddLink(r, 2, 1, LinkSymmetry);
        },
    };
    for (const auto &build : cycles) {
        PlyGroup cyclic(0);
        build(cyclic.GetLayup());
        AddLink(cyclic.GetLayup(), 10, 1);
        cyclic.SetRoot(&cyclic);
        std::vector<PlyGroupBase *> items;
        Walk(cyclic, items);
        for (PlyGroupBase *item : items) {
            if (auto *link = dynamic_cast<PlyGroupLink *>(item)) {
                EXPECT_EQ(link->Target() == nullptr, link->Id() != 10);
            }
        }
        EXPECT_EQ(cyclic.Renumber(1), static_cast<int>(Collect(cyclic).size()));
        EXPECT_GE(cyclic.CountLinksTo(1), 1);
        PlyGroup copy(cyclic);
        copy.Reverse();
        copy.Mirror();
        EXPECT_TRUE(copy.ExpandedCopy().IsEqual(copy));
    }
    // A link to group 4 whose target holds another link to group 4.
    PlyGroup nested(0);
    AddLink(AddGroup(nested.GetLayup(), 4, {0.0f})->GetLayup(), 5, 4);
    PlyGroupLink *outer = AddLink(nested.GetLayup(), 6, 4);
    nested.SetRoot(&nested);
    EXPECT_EQ(outer->CountLinksTo(4), 2);
}

TEST(PlyGroupLink, TransformsLeaveTheTargetAlone)
{
    // Group 2 holds a link out of itself to group 1.
    PlyGroup root(0);
    PlyGroup *target = AddGroup(root.GetLayup(), 1, {0.0f, 45.0f});
    PlyGroup *holder = AddGroup(root.GetLayup(), 2, {30.0f});
    AddLink(holder->GetLayup(), 3, 1);
    root.SetRoot(&root);
    const PlyGroup targetBefore = *target;
    const std::vector<PlySimple> plies = Unnumbered(Collect(*holder));

    // A detached copy (as a paste builds it) keeps the reversal once back in the tree.
    auto *pasted = new PlyGroup(*holder);
    pasted->Reverse();
    pasted->Mirror();
    root.GetLayup().Add(pasted);
    root.SetRoot(&root);
    EXPECT_TRUE(SamePlies(Unnumbered(Collect(*pasted)), Unnumbered(plies, true, true)));

    holder->Reverse(); // in place
    EXPECT_TRUE(SamePlies(Unnumbered(Collect(*holder)), Unnumbered(plies, true)));
    EXPECT_TRUE(target->IsEqual(targetBefore));
}

TEST(PlyGroupLink, CopiesNeverPointIntoOldTrees)
{
    auto source = std::make_unique<PlyGroup>(0);
    AddGroup(source->GetLayup(), 1, {0.0f, 30.0f});
    AddLink(source->GetLayup(), 2, 1, LinkSymmetry);
    source->SetRoot(source.get());
    ASSERT_NE(static_cast<const PlyGroupLink &>(*source->FindGroup(2)).Target(), nullptr);
    const std::unique_ptr<PlyBase> clone(source->FindGroup(2)->Clone());
    PlyGroup copy(*source);
    source.reset();
    EXPECT_EQ(static_cast<PlyGroupLink &>(*clone).Target(), nullptr);
    EXPECT_EQ(clone->CountPlies(), 0);
    auto &copied = static_cast<PlyGroupLink &>(*copy.FindGroup(2));
    EXPECT_EQ(copied.Target(), copy.FindGroup(1).Get());

    // An edit that drops the target leaves the cached target stale, not dangling.
    copy.GetLayup().Erase(copy.GetLayup().Begin());
    copied.SetTargetGroupId(1); // the same id keeps the cache
    EXPECT_EQ(Collect(copied).size(), 2u);
    EXPECT_EQ(copied.ExpandedCopy().CountPlies(), 2);
    copy.SetRoot(&copy);
    EXPECT_EQ(copied.CountPlies(), 0);
    AddGroup(copy.GetLayup(), 3, {10.0f});
    copied.SetTargetGroupId(3);
    EXPECT_EQ(copied.Target(), copy.FindGroup(3).Get());
}

TEST(PlyGroupLink, RandomTreesStayConsistent)
{
    int linksExpanded = 0;
    for (unsigned seed = 0; seed < 300; ++seed) {
        RandomTree tree(seed, true);
        PlyGroup root = tree.Build();
        std::vector<PlyGroupBase *> items;
        Walk(root, items);
        for (PlyGroupBase *item : items) {
            const std::vector<PlySimple> plies = Collect(*item);
            ASSERT_EQ(item->CountPlies(), static_cast<int>(plies.size())) << seed;
            EXPECT_EQ(item->Thickness(), SumThickness(plies)) << seed;
            // An expansion keeps all plies when no link inside leads out of it.
            const std::vector<PlySimple> expanded = Collect(item->ExpandedCopy());
            if (expanded.size() == plies.size()) {
                EXPECT_TRUE(SamePlies(expanded, plies)) << seed << " item " << item->Id();
                linksExpanded += dynamic_cast<PlyGroupLink *>(item) && !plies.empty();
            }
        }
        // One walk counts the links to every group as CountLinksTo does to one.
        std::unordered_map<int, int> links;
        root.CountLinks(links);
        for (int id = 0; id <= root.MaxGroupId(0) + 1; ++id)
            EXPECT_EQ(links.count(id) ? links[id] : 0, root.CountLinksTo(id)) << seed << " group " << id;
        std::vector<PlySimple> stack;
        root.CollectPliesExpanded(stack);
        EXPECT_EQ(root.CountPliesExpanded(), static_cast<int>(stack.size()));
        const int count = root.Renumber(1);
        for (int n = 1; n <= count; ++n)
            EXPECT_NE(root.FindOwnerOfPly(n), nullptr) << seed << " ply " << n;

        // A reversed or mirrored copy of any group or link, twice is the identity.
        const PlyGroup copy = items[tree.Pick(0, static_cast<int>(items.size()) - 1)]->ExpandedCopy();
        PlyGroup reversed(copy), mirrored(copy);
        reversed.Reverse();
        mirrored.Mirror();
        EXPECT_TRUE(SamePlies(Unnumbered(Collect(reversed)), Unnumbered(Collect(copy), true))) << seed;
        EXPECT_TRUE(SamePlies(Unnumbered(Collect(mirrored)), Unnumbered(Collect(copy), false, true))) << seed;
        reversed.Reverse();
        mirrored.Mirror();
        EXPECT_TRUE(reversed.IsEqual(copy) && mirrored.IsEqual(copy)) << seed;
    }
    EXPECT_GT(linksExpanded, 50);
}
