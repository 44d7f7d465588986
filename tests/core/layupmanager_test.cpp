#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/multiplecommand.h"
#include "core/plycommands.h"
#include "core/selection.h"

#include <gtest/gtest.h>

#include <functional>

using namespace layuptest;

namespace {

const char *const kSample = "1 G5[2 3] 4 L6>5r 7";

// Plies 1 | 2 3 in group 5 | 4 | 5 6 through link 6 | 7.
PlyGroup SampleRoot()
{
    return Root({Ply(1), Group(5, {Ply(2, 0.25f, 45.0f), Ply(3, 0.25f, -45.0f)}), Ply(4), Link(6, 5, 0), Ply(7)});
}

Selection Select(std::vector<int> plies, std::vector<int> groups = {})
{
    Selection selection;
    selection.plies = std::move(plies);
    selection.SetGroups(groups);
    return selection;
}

class LayupManagerTest : public ::testing::Test
{
protected:
    LayupManagerTest()
    {
        laminate.SetLayup(SampleRoot());
        laminate.ClearModified();
    }

    std::string Layout() const { return Describe(laminate.RootGroup().GetLayup()); }

    PlySimple PlyAt(int number) const { return Plies(laminate.RootGroup()).at(number - 1); }

    Laminate laminate;
    CommandRecorder recorder;
    LayupManager manager{nullptr, &laminate, &recorder};
};

void ExpectNumbered(const PlyGroup &root)
{
    const std::vector<PlySimple> plies = Plies(root);
    for (size_t i = 0; i < plies.size(); ++i)
        EXPECT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
}

struct AddCase
{
    const char *name;
    std::vector<int> plies;
    std::vector<int> groups;
    bool before;
    const char *layout; // null: refused
};

const AddCase kAddCases[] = {
    {"nothing below", {}, {}, true, "9 1 G5[2 3] 4 L6>5r 7"},
    {"nothing above", {}, {}, false, "1 G5[2 3] 4 L6>5r 7 9"},
    {"group below", {}, {5}, true, "1 9 G5[2 3] 4 L6>5r 7"},
    {"group above", {}, {5}, false, "1 G5[2 3] 9 4 L6>5r 7"},
    {"link above", {}, {6}, false, "1 G5[2 3] 4 L6>5r 9 7"},
    {"ply in group below", {3}, {}, true, "1 G5[2 9 3] 4 L6>5r 7"},
    {"plies in group above", {2, 3}, {}, false, "1 G5[2 3 9] 4 L6>5r 7"},
    {"top-level ply below", {4}, {}, true, "1 G5[2 3] 9 4 L6>5r 7"},
    {"top ply above", {7}, {}, false, "1 G5[2 3] 4 L6>5r 7 9"},
    {"missing ply below", {42}, {}, true, "9 1 G5[2 3] 4 L6>5r 7"},
    {"missing ply above", {42}, {}, false, "1 G5[2 3] 4 L6>5r 7 9"},
    {"missing group", {}, {99}, true, nullptr},
    {"ply inside link", {5}, {}, true, nullptr},
    {"ply and group", {1}, {5}, false, nullptr},
    {"two groups", {}, {5, 6}, false, nullptr},
};

TEST_F(LayupManagerTest, AddPlyAtEveryInsertionPoint)
{
    const Laminate start = laminate;
    for (const AddCase &c : kAddCases) {
        SCOPED_TRACE(c.name);
        laminate = start;
        recorder.commands.clear();
        manager.SetInsertBefore(c.before);
        const bool added = manager.AddPly(Select(c.plies, c.groups), 9, 0.5f, 30.0f, 4);
        EXPECT_EQ(added, c.layout != nullptr);
        if (!added) {
            EXPECT_EQ(manager.GetErrorMessage(), "Invalid insertion operator");
            EXPECT_TRUE(laminate.IsEqual(start));
            EXPECT_FALSE(laminate.IsModified());
            EXPECT_EQ(recorder.Count(), 0);
            continue;
        }
        EXPECT_EQ(manager.GetErrorMessage(), "");
        EXPECT_EQ(Layout(), c.layout);
        EXPECT_TRUE(laminate.IsModified());
        ExpectNumbered(laminate.RootGroup());
        ASSERT_EQ(recorder.Count(), 1);
        EXPECT_EQ(recorder.LastName(), "New Ply");
    }
}

TEST_F(LayupManagerTest, AddedPlyCarriesItsValuesAndGrowsTheLinks)
{
    ASSERT_TRUE(manager.AddPly(Select({3}), 9, 0.5f, 30.0f, 4));
    const PlySimple ply = PlyAt(3);
    EXPECT_EQ(ply.Material(), 9);
    EXPECT_EQ(ply.Thickness(), 0.5f);
    EXPECT_EQ(ply.Angle(), 30.0f);
    EXPECT_EQ(ply.Color(), 4);
    // The link repeats its target as it now is.
    EXPECT_EQ(Flat(laminate.RootGroup()), "1 2 9 3 4 2 9 3 7");
}

TEST_F(LayupManagerTest, AddPlyEmptiesTheClipboardOnlyWhenItInserts)
{
    LayupClipboard copied;
    copied.items.Add(Ply(8));
    copied.filled = true;
    manager.SetClipboard(copied);
    ASSERT_FALSE(manager.AddPly(Select({}, {99}), 9, 0.5f, 0.0f, 0));
    EXPECT_EQ(manager.GetClipboard().items.Size(), 1);
    EXPECT_TRUE(manager.GetClipboard().filled);
    ASSERT_TRUE(manager.AddPly(Selection(), 9, 0.5f, 0.0f, 0));
    EXPECT_EQ(manager.GetClipboard().items.Size(), 0);
    EXPECT_FALSE(manager.GetClipboard().filled);
}

struct ModifyKind
{
    const char *what;
    std::function<bool(LayupManager &, const Selection &)> change;   // a real change
    std::function<bool(LayupManager &, const Selection &)> same;     // within tolerance of the sample
    std::function<bool(const PlySimple &)> changed;                  // the ply shows the change
};

const ModifyKind kKinds[] = {
    {"material", [](LayupManager &m, const Selection &s) { return m.ModifyMaterial(s, 11); },
     [](LayupManager &m, const Selection &s) { return m.ModifyMaterial(s, 2); },
     [](const PlySimple &p) { return p.Material() == 11; }},
    {"thickness", [](LayupManager &m, const Selection &s) { return m.ModifyThickness(s, 0.75f); },
     [](LayupManager &m, const Selection &s) { return m.ModifyThickness(s, 0.2500001f); },
     [](const PlySimple &p) { return p.Thickness() == 0.75f; }},
    {"angle", [](LayupManager &m, const Selection &s) { return m.ModifyAngle(s, 60.0f); },
     [](LayupManager &m, const Selection &s) { return m.ModifyAngle(s, 45.00002f); },
     [](const PlySimple &p) { return p.Angle() == 60.0f; }},
    {"color", [](LayupManager &m, const Selection &s) { return m.ModifyColor(s, 6); },
     [](LayupManager &m, const Selection &s) { return m.ModifyColor(s, 0); },
     [](const PlySimple &p) { return p.Color() == 6; }},
};

std::string Capital(const char *what)
{
    std::string text = what;
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

TEST_F(LayupManagerTest, ModifyChangesEverySelectedPly)
{
    const Laminate start = laminate;
    for (const ModifyKind &kind : kKinds) {
        SCOPED_TRACE(kind.what);
        laminate = start;
        recorder.commands.clear();
        ASSERT_TRUE(kind.change(manager, Select({4, 2})));
        EXPECT_TRUE(kind.changed(PlyAt(2)));
        EXPECT_TRUE(kind.changed(PlyAt(4)));
        EXPECT_FALSE(kind.changed(PlyAt(3)));
        EXPECT_TRUE(laminate.IsModified());
        EXPECT_EQ(recorder.LastName(), std::string("Multiple-Modify ").append(Capital(kind.what)));
        ASSERT_TRUE(kind.change(manager, Select({3})));
        EXPECT_EQ(recorder.LastName(), std::string("Modify ").append(Capital(kind.what)));
        EXPECT_EQ(recorder.Count(), 2);
    }
}

TEST_F(LayupManagerTest, ModifyIsAllOrNothing)
{
    const Laminate start = laminate;
    const std::vector<std::vector<int>> refused = {{2, 4, 99}, {5}, {1, 6}, {0}};
    for (const ModifyKind &kind : kKinds) {
        for (const std::vector<int> &plies : refused) {
            SCOPED_TRACE(std::string(kind.what).append(" of ply ").append(std::to_string(plies.back())));
            EXPECT_FALSE(kind.change(manager, Select(plies)));
            EXPECT_EQ(manager.GetErrorMessage(), std::string("Ply not found for modification of ").append(kind.what));
            EXPECT_TRUE(laminate.IsEqual(start));
            EXPECT_FALSE(laminate.IsModified());
            EXPECT_EQ(recorder.Count(), 0);
        }
    }
}

TEST_F(LayupManagerTest, ModifyWithinToleranceRecordsNothing)
{
    const Laminate start = laminate;
    for (const ModifyKind &kind : kKinds) {
        SCOPED_TRACE(kind.what);
        EXPECT_FALSE(kind.change(manager, Select({99})));
        EXPECT_TRUE(kind.same(manager, Select({2})));
        EXPECT_EQ(manager.GetErrorMessage(), "");
        EXPECT_TRUE(kind.same(manager, Selection()));
        EXPECT_EQ(recorder.Count(), 0);
        EXPECT_FALSE(laminate.IsModified());
        EXPECT_EQ(Describe(laminate.RootGroup().GetLayup()), kSample);
    }
    // Not installed: the stored value stays exactly what it was.
    EXPECT_EQ(PlyAt(2).Thickness(), 0.25f);
    EXPECT_EQ(PlyAt(2).Angle(), 45.0f);
}

TEST_F(LayupManagerTest, ModifyOfOnePlyAmongUnchangedOnesInstallsAll)
{
    ASSERT_TRUE(manager.ModifyThickness(Select({2, 1}), 0.2500001f));
    EXPECT_EQ(recorder.Count(), 0);
    laminate.SetLayup(Root({Ply(1, 0.25f), Ply(2, 0.5f)}));
    ASSERT_TRUE(manager.ModifyThickness(Select({1, 2}), 0.2500001f));
    EXPECT_EQ(recorder.Count(), 1);
    EXPECT_EQ(PlyAt(1).Thickness(), 0.2500001f);
    EXPECT_EQ(PlyAt(2).Thickness(), 0.2500001f);
}

TEST(PlyCommands, ModifyNamesFollowThePlyCount)
{
    const Selection none;
    const Selection one = Select({3});
    const Selection two = Select({3, 4});
    EXPECT_EQ(PlyModAngleCommand(two, 1.0f).Name(), "Multiple-Modify Angle");
    EXPECT_EQ(PlyModAngleCommand(one, 1.0f).Name(), "Modify Angle");
    EXPECT_EQ(PlyModMatCommand(none, 1).Name(), "Multiple-Modify Material");
    EXPECT_EQ(PlyModColorCommand(one, 1).Name(), "Modify Color");
    EXPECT_EQ(PlyModThickCommand(two, 1.0f).Name(), "Multiple-Modify Thickness");
    EXPECT_EQ(PlyAddCommand(two, true, 1, 1.0f, 0.0f, 0).Name(), "New Ply");
    EXPECT_EQ(PlyAddCommand(two, true, 1, 1.0f, 0.0f, 0).GetSelection().plies, two.plies);
}

// The dialog's modify action: several edits as one undo step.
TEST_F(LayupManagerTest, BundlingEditsIntoOneStep)
{
    const struct
    {
        int edits;
        const char *recorded; // null: nothing
    } cases[] = {{0, nullptr}, {1, "Modify Angle"}, {2, "Modify"}, {3, "Modify"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edits);
        recorder.commands.clear();
        auto bundle = std::make_unique<MultipleCommand>("Modify");
        manager.SetTaker(bundle.get());
        const float angles[] = {10.0f, 20.0f, 30.0f};
        for (int i = 0; i < c.edits; ++i)
            ASSERT_TRUE(manager.ModifyAngle(Select({1 + i}), angles[i] + c.edits));
        EXPECT_EQ(recorder.Count(), 0);
        EXPECT_EQ(bundle->Count(), c.edits);
        if (bundle->Count() > 1) {
            EXPECT_TRUE(manager.RestoreTaker(std::move(bundle)));
        } else if (bundle->Count() == 1) {
            EXPECT_TRUE(manager.RestoreTaker(bundle->Release(0)));
        } else {
            EXPECT_FALSE(manager.RestoreTaker(nullptr));
        }
        EXPECT_EQ(recorder.Count(), c.recorded ? 1 : 0);
        EXPECT_EQ(recorder.LastName(), c.recorded ? c.recorded : "");
        // Back on the default taker.
        ASSERT_TRUE(manager.ModifyColor(Select({7}), 20 + c.edits));
        EXPECT_EQ(recorder.LastName(), "Modify Color");
    }
}

} // namespace
