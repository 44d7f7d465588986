// Replaying an automatic grouping installs the layup it recorded.

#include "core/autogroupcommand.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

Laminate StartingLaminate(const UnitSystem &units)
{
    Laminate laminate;
    laminate.Reset(units);
    laminate.SetDamping(0.01);
    laminate.SetLayup(Root({Ply(1, 0.25f, 45.0f), Ply(2), Ply(1, 0.25f, 45.0f), Ply(2), Ply(3)}, StackingFullSymmetric));
    return laminate;
}

Selection Plies(std::vector<int> numbers)
{
    Selection selection;
    selection.plies = std::move(numbers);
    return selection;
}

// Executes the recorded commands from start with taking off, as an undo does.
Laminate Replay(const Laminate &start, const CommandRecorder &recorder)
{
    const UnitSystem units;
    LaminateManager replay(nullptr, nullptr, nullptr, nullptr, units);
    replay.CurrentLaminate() = start;
    replay.SetEnabled(false);
    for (const auto &command : recorder.commands) {
        Laminate result;
        std::string error;
        const int outcome = command->Execute(replay, result, error);
        EXPECT_NE(outcome, CommandFailed) << command->Name() << ": " << error;
        if (outcome == CommandNewLaminate)
            replay.CurrentLaminate() = result;
    }
    return replay.CurrentLaminate();
}

class AutoGroupReplay : public ::testing::Test
{
protected:
    AutoGroupReplay()
    {
        live.CurrentLaminate() = start;
        layup().SetTaker(&recorder);
    }
    LayupManager &layup() { return *live.GetLayupManager(); }
    void RunAutoGroup()
    {
        while (!layup().AutoGroup(nullptr)) {
        }
    }
    std::string Layout(const Laminate &laminate) const { return Describe(laminate.RootGroup().GetLayup()); }

    const UnitSystem units;
    const Laminate start = StartingLaminate(units);
    LaminateManager live{nullptr, nullptr, nullptr, nullptr, units};
    CommandRecorder recorder;
};

TEST_F(AutoGroupReplay, GivesTheSameLayup)
{
    ASSERT_TRUE(layup().AddPly(Plies({5}), 4, 0.5f, 0.0f, 0));
    RunAutoGroup();
    ASSERT_EQ(recorder.LastName(), "AutoGroup");
    EXPECT_EQ(Layout(live.CurrentLaminate()), "G1[1 2] L2>1r 4 3");
    const Laminate replayed = Replay(start, recorder);
    EXPECT_TRUE(replayed.IsEqual(live.CurrentLaminate())) << Layout(replayed);
}

TEST_F(AutoGroupReplay, LaterEditsReplayOnTheGroupedLayup)
{
    RunAutoGroup();
    // Into the group, which the link repeats; then a change of the grouped ply.
    ASSERT_TRUE(layup().AddPly(Plies({2}), 5, 0.125f, 90.0f, 1));
    ASSERT_TRUE(layup().ModifyAngle(Plies({1}), -30.0f));
    ASSERT_EQ(recorder.Count(), 3);
    EXPECT_EQ(Layout(live.CurrentLaminate()), "G1[1 5 2] L2>1r 3");
    const Laminate replayed = Replay(start, recorder);
    EXPECT_TRUE(replayed.IsEqual(live.CurrentLaminate())) << Layout(replayed);
}

TEST_F(AutoGroupReplay, InstallsTheRecordedLayupWhateverTheLayupWas)
{
    RunAutoGroup();
    ASSERT_EQ(recorder.Count(), 1);
    const Laminate grouped = live.CurrentLaminate();

    const UnitSystem units;
    LaminateManager other(nullptr, nullptr, nullptr, nullptr, units);
    other.CurrentLaminate().SetLayup(Root({Ply(7), Group(3, {Ply(8)})}));
    other.CurrentLaminate().SetDamping(0.5);
    Laminate result;
    std::string error;
    EXPECT_EQ(recorder.commands[0]->Execute(other, result, error), CommandNewLaminate);
    EXPECT_EQ(error, "");
    // The layup is the recorded one, the properties those of the laminate it replaced.
    EXPECT_TRUE(result.RootGroup().IsEqual(grouped.RootGroup()));
    EXPECT_EQ(result.RootGroup().GetLayup().Stacking(), StackingFullSymmetric);
    EXPECT_EQ(result.Damping(), 0.5);
    EXPECT_EQ(Layout(other.CurrentLaminate()), "7 G3[8]");
}

} // namespace
