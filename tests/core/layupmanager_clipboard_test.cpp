// Delete, cut, copy and paste through the layup manager.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/selection.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace layuptest;

namespace {

const char *const kSample = "1 G5[2 3] 4 L6>5r 7";

// Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7.
PlyGroup SampleRoot(int linkType = LinkRepeat)
{
    return Root({Ply(1), Group(5, {Ply(2, 0.25f, 45.0f), Ply(3, 0.25f, -45.0f)}), Ply(4), Link(6, 5, linkType), Ply(7)});
}

Selection Select(std::vector<int> plies, std::vector<int> groups = {})
{
    Selection selection;
    selection.plies = std::move(plies);
    selection.SetGroups(groups);
    return selection;
}

std::vector<float> Angles(const PlyBase &item)
{
    std::vector<float> angles;
    for (const PlySimple &ply : Plies(item))
        angles.push_back(ply.Angle());
    return angles;
}

class ClipboardTest : public ::testing::Test
{
protected:
    ClipboardTest() { Reset(SampleRoot()); }

    void Reset(const PlyGroup &root)
    {
        laminate.SetLayup(root);
        recorder.commands.clear();
    }
    std::string Layout() const { return Describe(laminate.RootGroup().GetLayup()); }
    std::string Clipboard() const { return Describe(manager.GetClipboard().items); }
    bool Filled() const { return manager.GetClipboard().filled; }
    void SetClipboard(std::initializer_list<PlyBase *> items, bool filled)
    {
        LayupClipboard clipboard;
        for (PlyBase *item : items)
            clipboard.items.Add(item);
        clipboard.filled = filled;
        manager.SetClipboard(clipboard);
    }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

struct CutCase
{
    const char *name;
    std::vector<int> plies;
    std::vector<int> groups;
    const char *layout;
    const char *clipboard;
};

const CutCase kCutCases[] = {
    {"top-level plies", {1, 7}, {}, "G5[2 3] 4 L6>5r", "1 7"},
    {"stack order, whatever the selection's", {7, 3, 1}, {}, "G5[2] 4 L6>5r", "1 3 7"},
    {"a ply of a group", {3}, {}, "1 G5[2] 4 L6>5r 7", "3"},
    {"every ply of a group: the group goes, its link stays", {2, 3}, {}, "1 4 L6>5r 7", "2 3"},
    {"a group takes its links along", {}, {5}, "1 4 7", "G5[2 3]"},
    {"a group with one of its plies: copied once", {2}, {5}, "1 4 7", "G5[2 3]"},
    {"a link", {}, {6}, "1 G5[2 3] 4 7", "L6>5r"},
    {"group and link", {}, {5, 6}, "1 4 7", "G5[2 3] L6>5r"},
    {"a ply shown by a link is not cut", {5}, {}, kSample, ""},
    {"nothing that exists", {99}, {42}, kSample, ""},
    {"numbers repeated, negative", {4, 0, 4, -2}, {}, "1 G5[2 3] L6>5r 7", "4"},
    {"numbers far apart", {INT_MAX, 7, INT_MIN, 2, 7}, {}, "1 G5[3] 4 L6>5r", "2 7"},
};

TEST_F(ClipboardTest, CutMovesTheSelectionIntoTheClipboard)
{
    for (const CutCase &c : kCutCases) {
        SCOPED_TRACE(c.name);
        Reset(SampleRoot());
        SetClipboard({Ply(9)}, true);
        ASSERT_TRUE(manager.Cut(Select(c.plies, c.groups)));
        EXPECT_EQ(Layout(), c.layout);
        EXPECT_EQ(Clipboard(), c.clipboard);
        EXPECT_FALSE(Filled());
        EXPECT_EQ(recorder.Count(), 1);
        EXPECT_EQ(recorder.LastName(), "Cut");
        const std::vector<PlySimple> plies = Plies(laminate.RootGroup());
        for (size_t i = 0; i < plies.size(); ++i)
            EXPECT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
    }
}

TEST_F(ClipboardTest, DeleteRemovesTheSameAndKeepsTheClipboard)
{
    for (const bool filled : {false, true}) {
        for (const CutCase &c : kCutCases) {
            SCOPED_TRACE(c.name);
            Reset(SampleRoot());
            SetClipboard({Ply(9), Group(12, {Ply(8)})}, filled);
            ASSERT_TRUE(manager.Delete(Select(c.plies, c.groups)));
            EXPECT_EQ(Layout(), c.layout);
            EXPECT_EQ(Clipboard(), "9 G12[8]");
            EXPECT_EQ(Filled(), filled);
            EXPECT_EQ(recorder.LastName(), "Delete");
        }
    }
}

TEST_F(ClipboardTest, CutOfAGroupsPliesLeavesItsLinkStandingForNothing)
{
    ASSERT_TRUE(manager.Cut(Select({2, 3})));
    EXPECT_EQ(Flat(laminate.RootGroup()), "1 4 7");
    const auto &link = dynamic_cast<const PlyGroupLink &>(*laminate.RootGroup().GetLayup()[2]);
    EXPECT_EQ(link.Target(), nullptr);
    EXPECT_EQ(link.TargetGroupId(), 5);
}

TEST_F(ClipboardTest, CutOfAGroupTakesLinksToItsLinksAlong)
{
    Reset(Root({Group(5, {Ply(2)}), Link(6, 5, 0), Link(7, 6, 1), Ply(4), Link(8, 7, 0)}));
    ASSERT_TRUE(manager.Cut(Select({}, {5})));
    EXPECT_EQ(Layout(), "4");
}

struct CopyCase
{
    const char *name;
    int linkType;
    std::vector<int> plies;
    std::vector<int> groups;
    const char *clipboard;
    std::vector<float> angles;
};

const CopyCase kCopyCases[] = {
    {"plies in stack order", LinkRepeat, {7, 3, 1}, {}, "1 3 7", {0, -45, 0}},
    {"a ply inside a selected group only with it", LinkRepeat, {2, 4}, {5}, "G5[2 3] 4", {45, -45, 0}},
    {"a link as a group of its expansion", LinkRepeat, {}, {6}, "G6[2 3]", {45, -45}},
    {"a symmetry link reversed", LinkSymmetry, {}, {6}, "G6[3 2]", {-45, 45}},
    {"an antisymmetry link reversed and negated", LinkAntisymmetry, {}, {6}, "G6[3 2]", {45, -45}},
    {"the ply a link shows", LinkAntisymmetry, {5}, {}, "3", {45}},
    {"plies of a group and of a link", LinkSymmetry, {6, 2}, {}, "2 2", {45, 45}},
    {"nothing that exists", LinkRepeat, {99}, {42}, "", {}},
};

TEST_F(ClipboardTest, CopyFillsTheClipboardAndChangesNothingElse)
{
    for (const CopyCase &c : kCopyCases) {
        SCOPED_TRACE(c.name);
        Reset(SampleRoot(c.linkType));
        laminate.ClearModified();
        const Laminate before = laminate;
        ASSERT_TRUE(manager.Copy(Select(c.plies, c.groups)));
        EXPECT_EQ(Clipboard(), c.clipboard);
        PlyGroup copied(0, manager.GetClipboard().items);
        EXPECT_EQ(Angles(copied), c.angles);
        EXPECT_TRUE(Filled());
        EXPECT_TRUE(laminate.IsEqual(before));
        EXPECT_FALSE(laminate.IsModified());
        EXPECT_EQ(recorder.LastName(), "Copy");
    }
}

struct PasteCase
{
    const char *name;
    std::function<void(LayupManager &)> fill; // fills the clipboard
    Selection at;
    bool before;
    bool reversed;
    bool negated;
    int count;
    const char *layout;
    const char *flat;
};

const PasteCase kPasteCases[] = {
    {"copied group next to its original: a link", [](LayupManager &m) { m.Copy(Select({}, {5})); },
     Select({}, {5}), false, false, false, 1, "1 G5[2 3] L7>5r 4 L6>5r 7", "1 2 3 2 3 4 2 3 7"},
    {"cut group with its link: the link follows the copy", [](LayupManager &m) { m.Cut(Select({}, {5, 6})); },
     Selection(), true, false, false, 2, "G1[2 3] L2>1r G3[2 3] L4>3r 1 4 7", "2 3 2 3 2 3 2 3 1 4 7"},
    {"... reversed", [](LayupManager &m) { m.Cut(Select({}, {5, 6})); }, Selection(), false, true, false, 1,
     "1 4 7 L1>2r G2[3 2]", "1 4 7 3 2 3 2"},
    {"a link before its target",
     [](LayupManager &m) {
         LayupClipboard clipboard;
         clipboard.items.Add(Link(6, 5, LinkSymmetry));
         clipboard.items.Add(Group(5, {Ply(2), Ply(3)}));
         m.SetClipboard(clipboard);
     },
     Selection(), true, false, false, 1, "L7>8s G8[2 3] 1 G5[2 3] 4 L6>5r 7", "3 2 2 3 1 2 3 4 2 3 7"},
    {"cut link alone: stays a link", [](LayupManager &m) { m.Cut(Select({}, {6})); }, Select({1}), true, false,
     false, 1, "L6>5r 1 G5[2 3] 4 7", "2 3 1 2 3 4 7"},
    {"cut link alone, reversed: its expansion, reversed", [](LayupManager &m) { m.Cut(Select({}, {6})); },
     Select({1}), true, true, false, 1, "G6[3 2] 1 G5[2 3] 4 7", "3 2 1 2 3 4 7"},
    {"cut link alone, negated: its expansion, negated", [](LayupManager &m) { m.Cut(Select({}, {6})); },
     Select({1}), true, false, true, 1, "G6[2 3] 1 G5[2 3] 4 7", "2 3 1 2 3 4 7"},
    {"cut link whose target went since: left out",
     [](LayupManager &m) {
         m.Cut(Select({}, {6}));
         m.Delete(Select({}, {5}));
     },
     Selection(), true, false, false, 1, "1 4 7", "1 4 7"},
    {"plies into a group", [](LayupManager &m) { m.Copy(Select({1, 4})); }, Select({3}), true, false, false, 1,
     "1 G5[2 1 4 3] 4 L6>5r 7", nullptr},
};

TEST_F(ClipboardTest, PasteInsertsTheClipboard)
{
    for (const PasteCase &c : kPasteCases) {
        SCOPED_TRACE(c.name);
        Reset(SampleRoot());
        c.fill(manager);
        const std::string clipboard = Clipboard();
        const bool filled = Filled();
        const int recorded = recorder.Count();
        manager.SetInsertBefore(c.before);
        Selection selection = c.at;
        ASSERT_TRUE(manager.Paste(selection, c.reversed, c.negated, c.count)) << manager.GetErrorMessage();
        EXPECT_EQ(Layout(), c.layout);
        if (c.flat) {
            EXPECT_EQ(Flat(laminate.RootGroup()), c.flat);
        }
        EXPECT_EQ(Clipboard(), clipboard);
        EXPECT_EQ(Filled(), filled);
        EXPECT_EQ(recorder.Count(), recorded + 1);
        EXPECT_EQ(recorder.LastName(), "Paste");
    }
}

TEST_F(ClipboardTest, PastedAntisymmetricCutLinkNegatesItsPlies)
{
    ASSERT_TRUE(manager.Cut(Select({}, {6})));
    Selection selection;
    ASSERT_TRUE(manager.Paste(selection, true, true, 1));
    EXPECT_EQ(Layout(), "G6[3 2] 1 G5[2 3] 4 7");
    EXPECT_EQ(Angles(*laminate.RootGroup().GetLayup()[0]), (std::vector<float>{45, -45}));
}

TEST_F(ClipboardTest, DeleteThenPastePastesTheEarlierClipboard)
{
    ASSERT_TRUE(manager.Copy(Select({7})));
    ASSERT_TRUE(manager.Delete(Select({1})));
    Selection selection;
    ASSERT_TRUE(manager.Paste(selection, false, false, 1));
    EXPECT_EQ(Layout(), "7 G5[2 3] 4 L6>5r 7");
}

TEST_F(ClipboardTest, PasteWithAnEmptyClipboardRecordsNothing)
{
    Selection selection = Select({1}, {5});
    EXPECT_TRUE(manager.Paste(selection, false, false, 1));
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(selection.plies, std::vector<int>{1});
    EXPECT_EQ(Layout(), kSample);
}

struct SelectionCase
{
    const char *name;
    Selection selected;
    bool before;
    std::vector<int> plies;
    std::vector<int> groups;
};

TEST_F(ClipboardTest, PasteCarriesTheSelectionOverToTheNewNumbers)
{
    const SelectionCase cases[] = {
        {"below a top-level ply", Select({4}), true, {6}, {}},
        {"above a top-level ply", Select({4}), false, {4}, {}},
        // Into group 5: the link repeats the pasted plies too; the ply the
        // link showed keeps its place in the link.
        {"plies of a group and of a link", Select({6, 2}), true, {4, 10}, {}},
        {"a group", Select({}, {6}), false, {}, {6}},
        {"numbers that are not plies are dropped", Select({99, 7}), false, {7}, {}},
    };
    for (const SelectionCase &c : cases) {
        SCOPED_TRACE(c.name);
        Reset(SampleRoot());
        SetClipboard({Ply(8), Ply(9)}, false);
        manager.SetInsertBefore(c.before);
        Selection selection = c.selected;
        ASSERT_TRUE(manager.Paste(selection, false, false, 1));
        EXPECT_EQ(selection.plies, c.plies);
        EXPECT_EQ(selection.Groups(), c.groups);
        // The command keeps the selection it was called with.
        const auto &command = dynamic_cast<const LayupCommand &>(*recorder.commands.back());
        EXPECT_EQ(command.GetSelection().plies, c.selected.plies);
    }
}

TEST_F(ClipboardTest, RefusedPasteChangesNothing)
{
    const struct
    {
        const char *name;
        std::function<void(LayupManager &)> fill;
        Selection at;
        int count;
        const char *error;
    } cases[] = {
        {"plies and a group", [](LayupManager &m) { m.Copy(Select({1})); }, Select({1}, {5}), 1,
         "Invalid insertion operator"},
        {"two groups", [](LayupManager &m) { m.Copy(Select({1})); }, Select({}, {5, 6}), 1,
         "Invalid insertion operator"},
        {"a ply shown by a link", [](LayupManager &m) { m.Copy(Select({1})); }, Select({5}), 1,
         "Invalid insertion operator"},
        {"a group into a group", [](LayupManager &m) { m.Copy(Select({}, {5})); }, Select({2}), 1,
         "Paste: cannot nest groups"},
        {"far too many", [](LayupManager &m) { m.Copy(Select({1, 2})); }, Selection(), INT_MAX,
         "Paste: too many plies"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Reset(SampleRoot());
        c.fill(manager);
        const Laminate before = laminate;
        const int recorded = recorder.Count();
        Selection selection = c.at;
        EXPECT_FALSE(manager.Paste(selection, false, false, c.count));
        EXPECT_EQ(manager.GetErrorMessage(), c.error);
        EXPECT_TRUE(laminate.IsEqual(before));
        EXPECT_EQ(recorder.Count(), recorded);
        EXPECT_EQ(selection.plies, c.at.plies);
        EXPECT_EQ(selection.Groups(), c.at.Groups());
    }
}

TEST_F(ClipboardTest, PasteStopsAtAHundredThousandPliesInTheFullStack)
{
    const struct
    {
        int stacking;
        int plies; // per pasted group
        int count; // the most repetitions that fit
        int full;  // the full stack then
    } cases[] = {{StackingSimple, 1000, 100, 100000},
                 {StackingFullSymmetric, 500, 100, 100000},
                 {StackingSymmetricWithCore, 500, 100, 99999}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stacking);
        Reset(Root({}, c.stacking));
        auto *group = new PlyGroup(1);
        for (int i = 0; i < c.plies; ++i)
            group->GetLayup().Add(Ply(1));
        SetClipboard({group}, false);
        Selection selection;
        EXPECT_FALSE(manager.Paste(selection, false, false, c.count + 1));
        EXPECT_EQ(manager.GetErrorMessage(), "Paste: too many plies");
        EXPECT_EQ(laminate.RootGroup().GetLayup().Size(), 0);
        ASSERT_TRUE(manager.Paste(selection, false, false, c.count));
        EXPECT_EQ(laminate.RootGroup().CountPliesExpanded(), c.full);
        SetClipboard({Ply(2)}, false);
        EXPECT_FALSE(manager.Paste(selection, false, false, 1));
        EXPECT_TRUE(manager.Paste(selection, false, false, 0));
    }
}

} // namespace
