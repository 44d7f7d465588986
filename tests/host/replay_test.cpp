// Replaying the recorded commands from the starting laminate rebuilds the live
// laminate: the property that undo by replay rests on.

#include "host/laminatemanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/laminatecommands.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/unitsystem.h"

#include <gtest/gtest.h>

#include <random>

using namespace layuptest;

namespace {

class Edits
{
public:
    explicit Edits(unsigned seed) : random_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <class T, size_t N>
    T PickOf(const T (&values)[N])
    {
        return values[Pick(0, N - 1)];
    }

    // Mostly plies that exist, now and then one that does not or one inside a
    // link; a group only sometimes, and sometimes together with plies.
    Selection RandomSelection(int plyCount, bool forInsertion)
    {
        Selection selection;
        const int plies = Pick(0, 3);
        for (int i = 0; i < plies; ++i)
            selection.plies.push_back(Pick(0, plyCount + 1));
        if (forInsertion && Pick(0, 3) == 0)
            selection.SelectGroup(PickOf({5, 6, 99}));
        return selection;
    }

private:
    std::mt19937 random_;
};

Laminate StartingLaminate(const UnitSystem &units)
{
    Laminate laminate;
    laminate.Reset(units);
    laminate.SetDamping(0.01);
    laminate.SetLayup(Root({Ply(1, 0.25f, 0.0f), Group(5, {Ply(2, 0.125f, 45.0f), Ply(3, 0.125f, -45.0f)}),
                            Ply(4, 0.5f, 90.0f), Link(6, 5, 1), Ply(1, 0.25f, 0.0f)}));
    return laminate;
}

// Runs one edit on the live manager; false when the layup manager refused it.
bool RandomEdit(Edits &edits, LaminateManager &live, LamCommandTaker &recorder)
{
    LayupManager &layup = *live.GetLayupManager();
    const int plyCount = live.CurrentLaminate().RootGroup().CountPlies();
    const float thicknesses[] = {0.125f, 0.25f, 0.2500001f, 0.5f};
    const float angles[] = {-45.0f, 0.0f, 45.0f, 45.00002f, 90.0f};
    switch (edits.Pick(0, 6)) {
    case 0:
    case 1:
        layup.SetInsertBefore(edits.Pick(0, 1) == 0);
        return layup.AddPly(edits.RandomSelection(plyCount, true), edits.Pick(1, 5), edits.PickOf(thicknesses),
                            edits.PickOf(angles), edits.Pick(0, 3));
    case 2:
        return layup.ModifyMaterial(edits.RandomSelection(plyCount, false), edits.Pick(1, 5));
    case 3:
        return layup.ModifyThickness(edits.RandomSelection(plyCount, false), edits.PickOf(thicknesses));
    case 4:
        return layup.ModifyAngle(edits.RandomSelection(plyCount, false), edits.PickOf(angles));
    case 5:
        return layup.ModifyColor(edits.RandomSelection(plyCount, false), edits.Pick(0, 3));
    default: {
        // As the laminate manager applies its own commands.
        auto command = std::make_unique<LamCommandStacking>(edits.Pick(0, 4));
        Laminate result;
        std::string error;
        EXPECT_EQ(command->Execute(live, result, error), CommandNewLaminate);
        live.CurrentLaminate() = result;
        recorder.Submit(std::move(command));
        return true;
    }
    }
}

// Executes the first count commands from start, with taking off as in an undo.
Laminate Replay(const Laminate &start, const CommandRecorder &recorder, int count)
{
    UnitSystem units;
    LaminateManager replay(nullptr, nullptr, nullptr, nullptr, units);
    replay.CurrentLaminate() = start;
    replay.SetEnabled(false);
    for (int i = 0; i < count; ++i) {
        Laminate result;
        std::string error;
        const int outcome = recorder.commands[i]->Execute(replay, result, error);
        EXPECT_NE(outcome, CommandFailed) << "command " << i << ": " << error;
        if (outcome == CommandNewLaminate)
            replay.CurrentLaminate() = result;
    }
    EXPECT_EQ(replay.GetLayupManager()->GetClipboard().items.Size(), 0);
    return replay.CurrentLaminate();
}

TEST(Replay, RebuildsTheLiveLaminateAfterEveryEdit)
{
    const UnitSystem units;
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE(std::string("seed ").append(std::to_string(seed)));
        Edits edits(seed);
        const Laminate start = StartingLaminate(units);
        LaminateManager live(nullptr, nullptr, nullptr, nullptr, units);
        live.CurrentLaminate() = start;
        CommandRecorder recorder;
        live.GetLayupManager()->SetTaker(&recorder);
        for (int step = 0; step < 40; ++step) {
            const Laminate before = live.CurrentLaminate();
            const int recorded = recorder.Count();
            if (!RandomEdit(edits, live, recorder)) {
                EXPECT_TRUE(live.CurrentLaminate().IsEqual(before));
                EXPECT_EQ(recorder.Count(), recorded);
            } else if (recorder.Count() == recorded) {
                // Only a change within tolerance records nothing.
                EXPECT_TRUE(live.CurrentLaminate().IsEqual(before));
            }
            const Laminate replayed = Replay(start, recorder, recorder.Count());
            ASSERT_TRUE(replayed.IsEqual(live.CurrentLaminate()))
                << "step " << step << "\nlive:     " << Describe(live.CurrentLaminate().RootGroup().GetLayup())
                << "\nreplayed: " << Describe(replayed.RootGroup().GetLayup());
        }
    }
}

} // namespace
