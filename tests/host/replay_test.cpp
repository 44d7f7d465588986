// Replaying the recorded commands from the starting laminate rebuilds the live
// laminate: the property that undo by replay rests on.

#include "host/laminatemanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/lamcommandreplace.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/randomedits.h"
#include "core/unitsystem.h"

#include <gtest/gtest.h>

using namespace layuptest;

namespace {

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
bool RandomEdit(RandomEdits &edits, LaminateManager &live, LamCommandTaker &recorder)
{
    if (edits.Chance(90))
        return edits.Run(*live.GetLayupManager(), live.CurrentLaminate().RootGroup()).done;
    // As the laminate manager applies its own commands.
    auto command = std::make_unique<LamCommandStacking>(edits.Pick(0, 4));
    Laminate result;
    std::string error;
    EXPECT_EQ(command->Execute(live, result, error), CommandNewLaminate);
    live.CurrentLaminate() = result;
    recorder.Submit(std::move(command));
    return true;
}

// Executes the first count commands from start, with taking off as in an
// undo; the clipboard that the replay leaves goes to clipboard.
Laminate Replay(const Laminate &start, const CommandRecorder &recorder, int count, LayupClipboard &clipboard)
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
    clipboard = replay.GetLayupManager()->GetClipboard();
    return replay.CurrentLaminate();
}

TEST(Replay, RebuildsTheLiveLaminateAfterEveryEdit)
{
    const UnitSystem units;
    for (unsigned seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE(std::string("seed ").append(std::to_string(seed)));
        RandomEdits edits(seed);
        const Laminate start = StartingLaminate(units);
        LaminateManager live(nullptr, nullptr, nullptr, nullptr, units);
        live.CurrentLaminate() = start;
        CommandRecorder recorder;
        live.GetLayupManager()->SetTaker(&recorder);
        for (int step = 0; step < 60; ++step) {
            const Laminate before = live.CurrentLaminate();
            const int recorded = recorder.Count();
            if (!RandomEdit(edits, live, recorder)) {
                EXPECT_TRUE(live.CurrentLaminate().IsEqual(before));
                EXPECT_EQ(recorder.Count(), recorded);
            } else if (recorder.Count() == recorded) {
                // Only a change within tolerance and a paste of nothing record nothing.
                EXPECT_TRUE(live.CurrentLaminate().IsEqual(before));
            }
            LayupClipboard clipboard;
            const Laminate replayed = Replay(start, recorder, recorder.Count(), clipboard);
            ASSERT_TRUE(replayed.IsEqual(live.CurrentLaminate()))
                << "step " << step << "\nlive:     " << Describe(live.CurrentLaminate().RootGroup().GetLayup())
                << "\nreplayed: " << Describe(replayed.RootGroup().GetLayup());
            const LayupClipboard &held = live.GetLayupManager()->GetClipboard();
            ASSERT_TRUE(clipboard.items == held.items)
                << "step " << step << "\nlive:     " << Describe(held.items)
                << "\nreplayed: " << Describe(clipboard.items);
            ASSERT_EQ(clipboard.filled, held.filled);
        }
    }
}

} // namespace
