// Ungroup, Link and Unlink of many groups in one call against the same edit
// made one group at a time, on random trees: flat ones as the manager makes
// them (with links to links, cycles, targets that are gone and ids that
// repeat) and nested ones that only a test builds.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/editcommands.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/randomtree.h"
#include "core/selection.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace layuptest;

namespace {

enum Edit { UngroupEdit, LinkEdit, UnlinkEdit };
const char *const kEditNames[] = {"ungroup", "link", "unlink"};

// Plies, groups of one or two plies and links to any id, from a palette
// small enough that groups often repeat one another.
PlyGroup FlatTree(RandomTree &random)
{
    const auto ply = [&random] {
        return Ply(random.Pick(1, 2), 0.25f, random.Pick(0, 1) ? 45.0f : -45.0f);
    };
    PlyGroup root(0);
    int nextId = 1;
    for (int n = random.Pick(4, 30); n > 0; --n) {
        const int kind = random.Pick(0, 9);
        // Now and then an id that is already taken.
        const int id = random.Pick(0, 9) ? nextId++ : random.Pick(1, nextId);
        if (kind < 3) {
            root.GetLayup().Add(ply());
        } else if (kind < 7) {
            auto *group = new PlyGroup(id);
            for (int i = random.Pick(1, 2); i > 0; --i)
                group->GetLayup().Add(ply());
            root.GetLayup().Add(group);
        } else {
            root.GetLayup().Add(Link(id, random.Pick(1, nextId + 1), random.Pick(0, 2)));
        }
    }
    root.SetRoot(&root);
    root.Renumber(1);
    return root;
}

// Some of the ids of the tree's groups and links: mostly of the top-level
// items that the edit takes (links for Unlink, groups otherwise), else of any,
// and now and then one that is not there.
Selection SomeGroups(RandomTree &random, PlyGroup &root, Edit edit)
{
    std::vector<PlyGroupBase *> items;
    if (random.Pick(0, 4) == 0) {
        Walk(root, items);
        items.erase(items.begin());
    } else {
        for (auto it = root.GetLayup().Begin(); it != root.GetLayup().End(); ++it) {
            auto *item = dynamic_cast<PlyGroupBase *>(it->Get());
            if (item && (dynamic_cast<PlyGroupLink *>(item) != nullptr) == (edit == UnlinkEdit))
                items.push_back(item);
        }
    }
    std::vector<int> ids;
    for (const PlyGroupBase *item : items) {
        if (random.Pick(0, 3))
            ids.push_back(item->Id());
    }
    if (random.Pick(0, 9) == 0)
        ids.push_back(random.Pick(1, 40));
    std::shuffle(ids.begin(), ids.end(), std::mt19937(static_cast<unsigned>(random.Pick(0, 1000))));
    Selection selection;
    for (const int id : ids)
        selection.SelectGroup(id);
    return selection;
}

struct Outcome
{
    bool done;
    std::string error;
    Laminate laminate;
    bool known = true;
};

// The edit one group at a time, each through the operation with that group
// selected (for Link: the parent and that child). The first error ends the
// edit, except that a child Link cannot link is skipped, as it is when three
// or more groups are selected.
Outcome OneAtATime(Edit edit, const PlyGroup &root, const Selection &selection)
{
    Outcome outcome{true, "", {}};
    outcome.laminate.SetLayup(root);
    CommandRecorder recorder;
    LayupManager manager(nullptr, &outcome.laminate, &recorder);
    const std::vector<int> &ids = selection.Groups();
    if (edit == LinkEdit && ids.size() < 2)
        return {false, "Unsuitable selection", {}};
    // Link checks every id before it links any; a selected link is the parent.
    int parent = selection.FirstGroupAnchor();
    bool linkSeen = false;
    for (const int id : edit == LinkEdit ? ids : std::vector<int>()) {
        const ConstPlyHandle found = root.FindGroup(id);
        if (!found)
            return {false, "Error, group not found", {}};
        if (dynamic_cast<const PlyGroupLink *>(found.Get())) {
            if (linkSeen)
                return {false, "Error, groups already linked", {}};
            linkSeen = true;
            parent = id;
        }
    }
    static const std::set<std::string> skipped = {"Parent group is linked to child group",
                                                  "Parent group is related to child group",
                                                  "Groups have different size",
                                                  "Contents of selected groups do not match"};
    for (const int id : ids) {
        Selection one;
        if (edit == LinkEdit) {
            if (id == parent)
                continue;
            one.SelectGroup(parent);
        }
        one.SelectGroup(id);
        const bool done = edit == UngroupEdit ? manager.Ungroup(one)
                        : edit == UnlinkEdit  ? manager.Unlink(one)
                                              : manager.CreateLink(one);
        if (done || (edit == LinkEdit && ids.size() > 2 && skipped.count(manager.GetErrorMessage())))
            continue;
        // Gone with a group linked before it. One call keeps the parent it
        // found at the start; one at a time cannot.
        if (manager.GetErrorMessage() == "Error, group not found")
            return {false, "Error: tried to access a bogus child group", {},
                    !outcome.laminate.RootGroup().FindGroup(parent).IsNull()};
        return {false, manager.GetErrorMessage(), {}};
    }
    return outcome;
}

TEST(LayupManagerManyGroups, OneCallEditsAsOneGroupAtATime)
{
    int changed[3] = {};
    int refused[3] = {};
    int unknown = 0;
    for (unsigned seed = 1; seed <= 900; ++seed) {
        RandomTree random(seed, true);
        const PlyGroup root = seed % 3 ? FlatTree(random) : random.Build();
        PlyGroup picked = root;
        const Edit edit = static_cast<Edit>(seed / 3 % 3);
        const Selection selection = SomeGroups(random, picked, edit);
        std::string trace = std::string("seed ").append(std::to_string(seed)).append(" ").append(kEditNames[edit]);
        for (const int id : selection.Groups())
            trace.append(" ").append(std::to_string(id));
        SCOPED_TRACE(trace.append(", first ").append(std::to_string(selection.FirstGroupAnchor()))
                         .append("\nbefore: ").append(Describe(root.GetLayup())));

        Laminate laminate;
        laminate.SetLayup(root);
        const Laminate before = laminate;
        CommandRecorder recorder;
        LayupManager manager(nullptr, &laminate, &recorder);
        const bool ok = edit == UngroupEdit ? manager.Ungroup(selection)
                      : edit == UnlinkEdit  ? manager.Unlink(selection)
                                            : manager.CreateLink(selection);
        const Outcome expected = OneAtATime(edit, root, selection);
        if (!expected.known) {
            ++unknown;
            continue;
        }
        ASSERT_EQ(ok, expected.done) << manager.GetErrorMessage();
        if (!ok) {
            ++refused[edit];
            EXPECT_EQ(manager.GetErrorMessage(), expected.error);
            EXPECT_TRUE(laminate.IsEqual(before));
            EXPECT_EQ(recorder.Count(), 0);
            continue;
        }
        changed[edit] += !laminate.RootGroup().IsEqual(before.RootGroup());
        const std::string layout = Describe(laminate.RootGroup().GetLayup());
        EXPECT_EQ(layout, Describe(expected.laminate.RootGroup().GetLayup()));
        EXPECT_TRUE(laminate.RootGroup().IsEqual(expected.laminate.RootGroup()));
        // Undo replays the recorded command on the laminate as it was.
        ASSERT_EQ(recorder.Count(), 1);
        Laminate replayed = before;
        LayupManager replay(nullptr, &replayed, nullptr);
        EXPECT_TRUE(dynamic_cast<const LayupCommand &>(*recorder.commands[0]).Apply(replay));
        EXPECT_EQ(Describe(replayed.RootGroup().GetLayup()), layout);
    }
    EXPECT_LT(unknown, 10);
    for (int edit = UngroupEdit; edit <= UnlinkEdit; ++edit) {
        EXPECT_GT(changed[edit], 40) << kEditNames[edit];
        EXPECT_GT(refused[edit], 10) << kEditNames[edit];
    }
}

} // namespace
