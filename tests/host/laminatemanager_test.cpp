#include "host/laminatemanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/lamcommandreplace.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/multiplecommand.h"
#include "core/plycommands.h"
#include "core/unitsystem.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

Selection PlySelection(std::vector<int> plies)
{
    Selection selection;
    selection.plies = std::move(plies);
    return selection;
}

class LaminateManagerTest : public ::testing::Test
{
protected:
    LaminateManagerTest()
    {
        manager.CurrentLaminate().SetLayup(Root({Ply(1, 0.25f, 0.0f), Group(5, {Ply(2), Ply(3)}), Link(6, 5, 1)}));
    }

    std::string Layout() const { return Describe(manager.CurrentLaminate().RootGroup().GetLayup()); }

    // Fills the clipboard as Copy would.
    void FillClipboard()
    {
        LayupClipboard clipboard;
        clipboard.items.Add(Ply(9));
        clipboard.filled = true;
        manager.GetLayupManager()->SetClipboard(clipboard);
    }

    UnitSystem units;
    LaminateManager manager{nullptr, nullptr, nullptr, nullptr, units};
};

TEST(LaminateManager, StartsFromTheDefaultLaminate)
{
    UnitSystem units;
    const LaminateManager manager(nullptr, nullptr, nullptr, nullptr, units);
    Laminate expected;
    expected.Reset(units);
    EXPECT_TRUE(manager.CurrentLaminate().IsEqual(expected));
    EXPECT_EQ(manager.CurrentLaminate().Name(), "Laminate");
    std::string name = "stale";
    EXPECT_FALSE(manager.LastCommandName(name));
    EXPECT_EQ(name, "");
}

TEST_F(LaminateManagerTest, LayupEditsLandInTheHistory)
{
    LayupManager &layup = *manager.GetLayupManager();
    layup.SetInsertBefore(false);
    ASSERT_TRUE(layup.AddPly(Selection(), 4, 0.5f, 90.0f, 1));
    EXPECT_EQ(Layout(), "1 G5[2 3] L6>5s 4");
    std::string name;
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "New Ply");
    ASSERT_TRUE(layup.ModifyAngle(PlySelection({1, 6}), 15.0f));
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "Multiple-Modify Angle");
}

TEST(LaminateManager, HistoryOwnsWhatItTakes)
{
    bool kept = false;
    bool refused = false;
    {
        UnitSystem units;
        LaminateManager local(nullptr, nullptr, nullptr, nullptr, units);
        EXPECT_TRUE(local.Submit(std::make_unique<ProbeCommand>(&kept)));
        EXPECT_FALSE(kept);
        local.SetEnabled(false);
        EXPECT_FALSE(local.Submit(std::make_unique<ProbeCommand>(&refused)));
        EXPECT_TRUE(refused);
        std::string name;
        EXPECT_TRUE(local.LastCommandName(name));
        EXPECT_EQ(name, "Probe");
        // Edits made while taking is off are not recorded either.
        ASSERT_TRUE(local.GetLayupManager()->AddPly(Selection(), 1, 0.5f, 0.0f, 0));
        EXPECT_TRUE(local.LastCommandName(name));
        EXPECT_EQ(name, "Probe");
    }
    EXPECT_TRUE(kept);
}

TEST_F(LaminateManagerTest, LayupCommandExecuteReportsTheManagersError)
{
    Laminate unused;
    std::string error;
    EXPECT_EQ(PlyModAngleCommand(PlySelection({2}), 30.0f).Execute(manager, unused, error), CommandApplied);
    EXPECT_EQ(error, "");
    std::vector<float> angles;
    for (const PlySimple &ply : Plies(manager.CurrentLaminate().RootGroup()))
        angles.push_back(ply.Angle());
    EXPECT_EQ(angles, (std::vector<float>{0, 30, 0, 0, 30}));
    EXPECT_EQ(PlyModAngleCommand(PlySelection({4}), 30.0f).Execute(manager, unused, error), CommandFailed);
    EXPECT_EQ(error, "Ply not found for modification of angle");
    EXPECT_EQ(PlyAddCommand(Selection(), true, 1, 1.0f, 0.0f, 0).Execute(manager, unused, error), CommandApplied);
    EXPECT_EQ(Layout(), "1 1 G5[2 3] L6>5s");
    EXPECT_TRUE(unused.IsEqual(Laminate()));
}

TEST_F(LaminateManagerTest, EmptyMultipleCommandChangesNothing)
{
    const Laminate before = manager.CurrentLaminate();
    Laminate unused;
    std::string error;
    EXPECT_EQ(MultipleCommand("Modify").Execute(manager, unused, error), CommandApplied);
    EXPECT_TRUE(manager.CurrentLaminate().IsEqual(before));
}

TEST_F(LaminateManagerTest, ReplaceKeepsOrReplacesTheLayup)
{
    Laminate edited = manager.CurrentLaminate();
    edited.SetDamping(0.25);
    edited.SetFailureTheory(Laminate::Hill);
    edited.SetLayup(Root({Ply(8)}));
    const struct
    {
        bool withLayup;
        const char *name;
        const char *layout;
    } cases[] = {{false, "Set Properties", "1 G5[2 3] L6>5s"}, {true, "Reset", "8"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LamCommandReplace command(edited, c.withLayup, c.name);
        EXPECT_EQ(command.Name(), c.name);
        // The layup the manager holds when the command runs, not when it was made.
        manager.CurrentLaminate().SetLayup(Root({Ply(1, 0.25f, 0.0f), Group(5, {Ply(2), Ply(3)}), Link(6, 5, 1)}));
        FillClipboard();
        Laminate result;
        std::string error;
        EXPECT_EQ(command.Execute(manager, result, error), CommandNewLaminate);
        EXPECT_EQ(result.Damping(), 0.25);
        EXPECT_EQ(result.FailureTheory(), Laminate::Hill);
        EXPECT_EQ(Describe(result.RootGroup().GetLayup()), c.layout);
        EXPECT_EQ(Layout(), "1 G5[2 3] L6>5s");
        EXPECT_EQ(manager.GetLayupManager()->GetClipboard().items.Size(), 0);
        EXPECT_FALSE(manager.GetLayupManager()->GetClipboard().filled);
    }
}

TEST_F(LaminateManagerTest, ReplaceOntoTheCurrentLaminateItself)
{
    Laminate edited = manager.CurrentLaminate();
    edited.SetDamping(0.5);
    std::string error;
    EXPECT_EQ(LamCommandReplace(edited, false, "Set Properties").Execute(manager, manager.CurrentLaminate(), error),
              CommandNewLaminate);
    EXPECT_EQ(manager.CurrentLaminate().Damping(), 0.5);
    EXPECT_EQ(Layout(), "1 G5[2 3] L6>5s");
}

TEST_F(LaminateManagerTest, StackingBuildsTheCurrentLaminateWithTheRule)
{
    FillClipboard();
    manager.CurrentLaminate().SetDamping(0.125);
    Laminate result;
    std::string error;
    EXPECT_EQ(LamCommandStacking(2).Execute(manager, result, error), CommandNewLaminate);
    EXPECT_EQ(result.RootGroup().GetLayup().Stacking(), 2);
    EXPECT_EQ(result.Damping(), 0.125);
    EXPECT_EQ(Describe(result.RootGroup().GetLayup()), "1 G5[2 3] L6>5s");
    EXPECT_EQ(manager.CurrentLaminate().RootGroup().GetLayup().Stacking(), 0);
    EXPECT_EQ(manager.GetLayupManager()->GetClipboard().items.Size(), 1);
    EXPECT_TRUE(manager.GetLayupManager()->GetClipboard().filled);
}

} // namespace
