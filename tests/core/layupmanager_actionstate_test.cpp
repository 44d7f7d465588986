// Which edit commands a selection allows: a table of selections, and a
// randomised property that a command whose flag is set then succeeds.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupactionstate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/randomedits.h"
#include "core/selection.h"

#include <gtest/gtest.h>

#include <functional>

using namespace layuptest;

namespace {

// The flags as 0/1 in field order: add, editSingle, modify, delete, cut, copy,
// paste, group, ungroup, link, unlink.
std::string Flags(const LayupActionState &s)
{
    const bool flags[] = {s.canAdd,   s.canEditSingle, s.canModify, s.canDelete, s.canCut,   s.canCopy,
                          s.canPaste, s.canGroup,      s.canUngroup, s.canLink,  s.canUnlink};
    std::string text;
    for (const bool flag : flags)
        text += flag ? '1' : '0';
    return text;
}

Selection Select(std::vector<int> plies, std::vector<int> groups = {})
{
    Selection selection;
    selection.plies = std::move(plies);
    selection.SetGroups(groups);
    return selection;
}

// Plies 1 2 | 3 4 in group 5 | 5 | 6 7 through link 6 | 8 9 in group 7 |
// 10 11 through link 11 (symmetry of 7) | 12.
PlyGroup Sample()
{
    return Root({Ply(1), Ply(2), Group(5, {Ply(3), Ply(4)}), Ply(5), Link(6, 5, LinkRepeat),
                 Group(7, {Ply(8), Ply(9)}), Link(11, 7, LinkSymmetry), Ply(12)});
}

LayupClipboard Clipboard(char kind)
{
    LayupClipboard clipboard;
    if (kind == 'p')
        clipboard.items.Add(Ply(20));
    if (kind == 'g') {
        clipboard.items.Add(Ply(20));
        clipboard.items.Add(Group(30, {Ply(21), Ply(22)}));
    }
    clipboard.filled = kind != '-';
    return clipboard;
}

struct StateCase
{
    const char *name;
    std::vector<int> plies;
    std::vector<int> groups;
    char clipboard; // '-' empty, 'p' plies, 'g' a ply and a group
    const char *flags;
};

const StateCase kCases[] = {
    //                                                            aemdcxpgulu
    {"nothing, empty clipboard", {}, {}, '-', "10000000000"},
    {"nothing, plies to paste", {}, {}, 'p', "10000010000"},
    {"nothing, a group to paste", {}, {}, 'g', "10000010000"},
    {"one top-level ply", {1}, {}, 'p', "11111111000"},
    {"a ply that is gone", {99}, {}, 'p', "10000110000"},
    {"a ply of a link", {6}, {}, 'p', "00000100000"},
    {"plies in a group, plies to paste", {3, 4}, {}, 'p', "10111110000"},
    {"plies in a group, a group to paste", {3, 4}, {}, 'g', "10111100000"},
    {"consecutive top-level plies, any order", {2, 1}, {}, '-', "10111101000"},
    {"a number given twice", {1, 2, 2}, {}, '-', "10111101000"},
    {"a gap", {1, 2, 5}, {}, '-', "10111100000"},
    {"a ply inside a group", {2, 3}, {}, '-', "10111100000"},
    {"a group", {}, {5}, 'g', "10011110100"},
    {"a link", {}, {6}, '-', "10011100001"},
    {"a group that is gone", {}, {99}, 'p', "00011100000"},
    {"two groups", {}, {5, 7}, 'p', "00011100110"},
    {"a group and the link to it", {}, {5, 6}, 'p', "00011100000"},
    {"a link and another group", {}, {6, 7}, 'p', "00011100010"},
    {"the link first and the group it repeats", {}, {7, 11}, 'p', "00011100000"},
    {"two links", {}, {6, 11}, 'p', "00011100001"},
    {"a group and one that is gone", {}, {5, 99}, 'p', "00011100000"},
    {"a ply and a group", {1}, {5}, 'p', "00011100000"},
};

TEST(LayupActionState, NothingBeforeTheComputation)
{
    EXPECT_EQ(Flags(LayupActionState()), "00000000000");
}

TEST(LayupActionState, FlagsPerSelection)
{
    Laminate laminate;
    laminate.SetLayup(Sample());
    CommandRecorder recorder;
    LayupManager manager(nullptr, &laminate, &recorder);
    for (const StateCase &c : kCases) {
        SCOPED_TRACE(c.name);
        manager.SetClipboard(Clipboard(c.clipboard));
        LayupActionState state;
        state.canLink = state.canUnlink = true; // every flag is set afresh
        manager.GetActionState(Select(c.plies, c.groups), state);
        EXPECT_EQ(Flags(state), c.flags);
    }
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), "1 2 G5[3 4] 5 L6>5r G7[8 9] L11>7s 12");
}

TEST(LayupActionState, PasteIntoAGroupFollowsTheInsertionSide)
{
    Laminate laminate;
    laminate.SetLayup(Sample());
    LayupManager manager(nullptr, &laminate, nullptr);
    manager.SetClipboard(Clipboard('g'));
    // Plies 2 and 3: below lies ply 2 of the root, above ply 3 of group 5.
    LayupActionState state;
    manager.SetInsertBefore(true);
    manager.GetActionState(Select({2, 3}), state);
    EXPECT_TRUE(state.canPaste);
    manager.SetInsertBefore(false);
    manager.GetActionState(Select({2, 3}), state);
    EXPECT_TRUE(state.canAdd);
    EXPECT_FALSE(state.canPaste);
}

// A selection of plies (some gone, some inside links), groups (some gone) or
// both, as a caller might hand in.
Selection RandomSelection(RandomEdits &random, const PlyGroup &root)
{
    const int plies = root.CountPlies();
    const std::vector<int> ids = RandomEdits::GroupIds(root, false);
    Selection selection;
    const int kind = random.Pick(0, 9);
    if (kind < 6) {
        // Often a run, as grouping needs.
        const int first = random.Pick(0, plies + 1);
        const int count = random.Pick(1, 4);
        for (int i = 0; i < count; ++i)
            selection.plies.push_back(random.Chance(70) ? first + i : random.Pick(0, plies + 1));
    }
    if (kind >= 4 && kind != 9) {
        for (int n = random.Pick(1, 3); n > 0; --n)
            selection.SelectGroup(ids.empty() || random.Chance(10) ? 99 : ids[random.Pick(0, static_cast<int>(ids.size()) - 1)]);
    }
    return selection;
}

// Empty, or what Copy puts there from a random selection, marked filled or not.
LayupClipboard RandomClipboard(RandomEdits &random, const Laminate &laminate)
{
    if (random.Chance(20))
        return LayupClipboard();
    Laminate scratch = laminate;
    LayupManager copier(nullptr, &scratch, nullptr);
    EXPECT_TRUE(copier.Copy(RandomSelection(random, laminate.RootGroup())));
    LayupClipboard clipboard = copier.GetClipboard();
    clipboard.filled = random.Chance(60);
    return clipboard;
}

// Where a flag is set, the command succeeds on the laminate as it is; canAdd is
// false exactly where adding a ply fails. Each command runs on its own copy.
TEST(LayupActionState, SetFlagsMeanTheCommandSucceeds)
{
    enum { Add, Paste, Group, Modify, Ungroup, Unlink, FlagCount };
    int seen[FlagCount] = {};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(std::string("seed ").append(std::to_string(seed)));
        RandomEdits random(seed);
        Laminate laminate;
        laminate.SetLayup(Sample());
        CommandRecorder recorder;
        LayupManager manager(nullptr, &laminate, &recorder);
        for (int step = 0; step < 30; ++step) {
            random.Run(manager, laminate.RootGroup());
            const Selection selection = RandomSelection(random, laminate.RootGroup());
            const LayupClipboard clipboard = RandomClipboard(random, laminate);
            const bool before = random.Chance(50);
            manager.SetClipboard(clipboard);
            manager.SetInsertBefore(before);
            LayupActionState state;
            manager.GetActionState(selection, state);

            const std::string where = std::string("step ")
                                          .append(std::to_string(step))
                                          .append(", layup ")
                                          .append(Describe(laminate.RootGroup().GetLayup()))
                                          .append(", flags ")
                                          .append(Flags(state));
            const auto attempt = [&](const std::function<bool(LayupManager &)> &command) {
                Laminate copy = laminate;
                LayupManager probe(nullptr, &copy, nullptr);
                probe.SetClipboard(clipboard);
                probe.SetInsertBefore(before);
                const bool done = command(probe);
                EXPECT_TRUE(done || !probe.GetErrorMessage().empty());
                return done;
            };

            const bool added = attempt([&](LayupManager &m) { return m.AddPly(selection, 1, 0.25f, 0.0f, 0); });
            EXPECT_EQ(state.canAdd, added) << where;
            seen[Add] += state.canAdd;
            if (state.canPaste) {
                ++seen[Paste];
                const bool reversed = random.Chance(50);
                const bool negated = random.Chance(50);
                const int count = random.Pick(1, 3);
                EXPECT_TRUE(attempt([&](LayupManager &m) {
                    Selection rewritten = selection;
                    return m.Paste(rewritten, reversed, negated, count);
                })) << where;
            }
            if (state.canGroup) {
                ++seen[Group];
                EXPECT_TRUE(attempt([&](LayupManager &m) { return m.CreateGroup(selection); })) << where;
            }
            if (state.canModify) {
                ++seen[Modify];
                EXPECT_TRUE(attempt([&](LayupManager &m) { return m.ModifyAngle(selection, 30.0f); })) << where;
            }
            if (state.canUngroup) {
                ++seen[Ungroup];
                EXPECT_TRUE(attempt([&](LayupManager &m) { return m.Ungroup(selection); })) << where;
            }
            if (state.canUnlink) {
                ++seen[Unlink];
                EXPECT_TRUE(attempt([&](LayupManager &m) { return m.Unlink(selection); })) << where;
            }
            // The query changed nothing.
            EXPECT_EQ(manager.GetClipboard().items.Size(), clipboard.items.Size());
        }
    }
    // Every flag was set often enough for the property to say something.
    for (const int count : seen)
        EXPECT_GE(count, 40);
}

} // namespace
