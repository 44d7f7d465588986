// The undo history: undo by replay, checkpoints, and the manager's own edits
// (properties, stacking, reset).

#include "host/laminatemanager.h"

#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/randomedits.h"
#include "core/plycommands.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/materiallist.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace layuptest;

namespace {

// A manager that counts the commands it takes, so that a test knows which
// edits were recorded.
class CountingManager : public LaminateManager
{
public:
    using LaminateManager::LaminateManager;
    void Take(std::unique_ptr<LamCommand> command) override
    {
        ++taken;
        LaminateManager::Take(std::move(command));
    }
    int taken = 0;
};

// A command whose replay fails.
class FailingCommand : public LamCommand
{
public:
    int Execute(LaminateManagerAccess &, Laminate &, std::string &error) const override
    {
        error = "replay refused";
        return CommandFailed;
    }
    std::string Name() const override { return "Failing"; }
};

Selection PlySelection(std::vector<int> plies)
{
    Selection selection;
    selection.plies = std::move(plies);
    return selection;
}

std::string ClipboardText(const LayupClipboard &clipboard)
{
    return Describe(clipboard.items) + (clipboard.filled ? " (filled)" : "");
}

class UndoHistoryTest : public ::testing::Test
{
protected:
    LayupManager &Layup() { return *manager.GetLayupManager(); }
    std::string Layout() const { return Describe(manager.CurrentLaminate().RootGroup().GetLayup()); }
    bool AddOnTop(int material)
    {
        Layup().SetInsertBefore(false);
        return Layup().AddPly(Selection(), material, 0.25f, 0.0f, 1);
    }
    // Undoes until the history is empty; the number of undos.
    int UndoAll()
    {
        int undone = 0;
        std::string error;
        while (manager.Undo(error))
            ++undone;
        EXPECT_EQ(error, "undo stack is empty");
        return undone;
    }
    Laminate Default() const
    {
        Laminate laminate;
        laminate.Reset(units);
        return laminate;
    }

    UnitSystem units;
    CountingManager manager{nullptr, nullptr, nullptr, nullptr, units};
};

TEST_F(UndoHistoryTest, UndoOfTheOnlyEditGivesTheDefaultLaminate)
{
    ASSERT_TRUE(AddOnTop(3));
    std::string error = "stale";
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(manager.CurrentLaminate().IsEqual(Default()));
    std::string name = "stale";
    EXPECT_FALSE(manager.LastCommandName(name));
    EXPECT_EQ(name, "");
    EXPECT_FALSE(manager.Undo(error));
    EXPECT_EQ(error, "undo stack is empty");
    EXPECT_TRUE(manager.IsEnabled());
}

TEST_F(UndoHistoryTest, UndoReplaysTheOlderCommandsWithoutRecordingThem)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(AddOnTop(2));
    ASSERT_TRUE(Layup().ModifyAngle(PlySelection({1}), 45.0f));
    ASSERT_TRUE(AddOnTop(3));
    ASSERT_EQ(manager.taken, 4);
    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(Layout(), "1 2");
    EXPECT_EQ(Plies(manager.CurrentLaminate().RootGroup())[0].Angle(), 45.0f);
    EXPECT_EQ(manager.taken, 4); // the replayed edits submitted, nothing was taken
    std::string name;
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "Modify Angle");
    EXPECT_TRUE(manager.IsEnabled());
    EXPECT_EQ(UndoAll(), 3);
    EXPECT_EQ(Layout(), "");
}

TEST_F(UndoHistoryTest, UndoOfACutLeavesTheClipboardAsTheRemainingCommandsLeaveIt)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(AddOnTop(2));
    ASSERT_TRUE(Layup().Copy(PlySelection({1})));
    Layup().SetClipboard(LayupClipboard{Root({Ply(7)}).GetLayup(), false}); // outside any command
    ASSERT_TRUE(Layup().Cut(PlySelection({2})));
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "2");
    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(Layout(), "1 2");
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "1 (filled)");
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "");
}

TEST_F(UndoHistoryTest, AFailingReplayRestoresEverything)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(manager.Submit(std::make_unique<FailingCommand>()));
    ASSERT_TRUE(AddOnTop(2));
    ASSERT_TRUE(Layup().Copy(PlySelection({2})));
    const Laminate before = manager.CurrentLaminate();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        std::string error;
        EXPECT_FALSE(manager.Undo(error));
        EXPECT_EQ(error, "replay refused");
        EXPECT_TRUE(manager.CurrentLaminate().IsEqual(before));
        EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "2 (filled)");
        // The undone command is back, so the next undo meets the same failure.
        std::string name;
        EXPECT_TRUE(manager.LastCommandName(name));
        EXPECT_EQ(name, "Copy");
        EXPECT_TRUE(manager.IsEnabled());
    }
}

TEST_F(UndoHistoryTest, CancelEditDropsExactlyTheCommandsSinceTheCheckpoint)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(AddOnTop(2));
    manager.BeginEdit();
    const Laminate checkpoint = manager.CurrentLaminate();
    ASSERT_TRUE(AddOnTop(3));
    ASSERT_TRUE(Layup().ModifyMaterial(PlySelection({1, 2}), 8));
    manager.SetStacking(StackingFullRepeat);
    manager.CancelEdit();
    EXPECT_TRUE(manager.CurrentLaminate().IsEqual(checkpoint));
    EXPECT_EQ(Layout(), "1 2");
    std::string name;
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "New Ply");
    EXPECT_EQ(UndoAll(), 2);

    // Nothing recorded since the checkpoint: nothing dropped.
    ASSERT_TRUE(AddOnTop(1));
    manager.BeginEdit();
    manager.CancelEdit();
    EXPECT_EQ(Layout(), "1");
    EXPECT_EQ(UndoAll(), 1);
}

TEST_F(UndoHistoryTest, CancelEditPutsBackTheClipboardOfTheCheckpoint)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(AddOnTop(2));
    ASSERT_TRUE(Layup().Copy(PlySelection({1})));
    manager.BeginEdit();
    ASSERT_TRUE(Layup().Cut(PlySelection({2})));
    manager.CancelEdit();
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "1 (filled)");
    // So a paste now is one that the history can replay.
    Selection top = PlySelection({2});
    Layup().SetInsertBefore(false);
    ASSERT_TRUE(Layup().Paste(top, false, false, 1));
    EXPECT_EQ(Layout(), "1 2 1");
    ASSERT_TRUE(AddOnTop(3));
    std::string error;
    ASSERT_TRUE(manager.Undo(error)) << error;
    EXPECT_EQ(Layout(), "1 2 1");
}

TEST_F(UndoHistoryTest, SetPropertiesRecordsOnlyAChange)
{
    ASSERT_TRUE(AddOnTop(1));
    manager.SetProperties(manager.CurrentLaminate());
    EXPECT_EQ(manager.taken, 1);

    Layup().SetClipboard(LayupClipboard{Root({Ply(5)}).GetLayup(), true});
    Laminate edited = manager.CurrentLaminate();
    edited.SetDamping(0.125);
    edited.SetFailureTheory(Laminate::Hoffman);
    edited.SetLayup(Root({Ply(9)})); // only the properties are taken
    manager.SetProperties(edited);
    EXPECT_EQ(manager.taken, 2);
    std::string name;
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "Set Properties");
    EXPECT_EQ(manager.CurrentLaminate().Damping(), 0.125);
    EXPECT_EQ(manager.CurrentLaminate().FailureTheory(), Laminate::Hoffman);
    EXPECT_EQ(Layout(), "1");
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "");

    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(manager.CurrentLaminate().Damping(), 0.0);
    EXPECT_EQ(manager.CurrentLaminate().FailureTheory(), Laminate::TsaiWu);
}

TEST_F(UndoHistoryTest, SetStackingRecordsOnlyANewRule)
{
    ASSERT_TRUE(AddOnTop(1));
    const struct
    {
        int rule;
        bool changes;
        int stacking;
        const char *name;
    } steps[] = {{0, false, 0, "New Ply"},
                 {7, false, 0, "New Ply"},
                 {-1, false, 0, "New Ply"},
                 {2, true, 2, "Symmetric stacking with core"},
                 {2, false, 2, "Symmetric stacking with core"},
                 {4, true, 4, "Repeat stacking with core"},
                 {5, true, 0, "Simple stacking"},
                 {1, true, 1, "Full Symmetric stacking"},
                 {3, true, 3, "Full Repeat stacking"}};
    int recorded = 1;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.rule);
        EXPECT_EQ(manager.SetStacking(step.rule), step.changes);
        recorded += step.changes ? 1 : 0;
        EXPECT_EQ(manager.taken, recorded);
        EXPECT_EQ(manager.CurrentLaminate().RootGroup().GetLayup().Stacking(), step.stacking);
        std::string name;
        EXPECT_TRUE(manager.LastCommandName(name));
        EXPECT_EQ(name, step.name);
    }
    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(manager.CurrentLaminate().RootGroup().GetLayup().Stacking(), 1);
}

TEST_F(UndoHistoryTest, ResetReturnsToTheSavedLaminateAndCanBeUndone)
{
    EXPECT_FALSE(manager.Reset());
    ASSERT_TRUE(AddOnTop(1));
    manager.MarkSaved();
    EXPECT_FALSE(manager.Reset());
    ASSERT_TRUE(AddOnTop(2));
    manager.SetStacking(StackingFullSymmetric);
    Layup().SetClipboard(LayupClipboard{Root({Ply(5)}).GetLayup(), true});
    EXPECT_TRUE(manager.Reset());
    EXPECT_EQ(Layout(), "1");
    EXPECT_EQ(manager.CurrentLaminate().RootGroup().GetLayup().Stacking(), 0);
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "");
    std::string name;
    EXPECT_TRUE(manager.LastCommandName(name));
    EXPECT_EQ(name, "Reset");
    EXPECT_FALSE(manager.Reset());

    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(Layout(), "1 2");
    EXPECT_EQ(manager.CurrentLaminate().RootGroup().GetLayup().Stacking(), 1);
}

TEST_F(UndoHistoryTest, ClearUndoStackMakesTheCurrentLaminateTheStart)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(AddOnTop(2));
    manager.ClearUndoStack();
    std::string name;
    EXPECT_FALSE(manager.LastCommandName(name));
    ASSERT_TRUE(AddOnTop(3));
    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(Layout(), "1 2");
    EXPECT_FALSE(manager.Undo(error));
}

TEST_F(UndoHistoryTest, UndoRepeatsTheRepairOfUnknownMaterials)
{
    LamHost::Store store(LamHost::DemoStore());
    store.Data().laminates[0].plies = {{0.25f, 0.0f, 301, 1}, {0.5f, 45.0f, 999, 2}};
    store.Activate();
    const lamCallbacksImp *t = LamHost::CallbackTable();
    MaterialList materials(t->GetMaterial, t->SelectMaterial);
    LaminateManager loaded(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate, &materials, units);
    std::string error;
    ASSERT_TRUE(loaded.LoadCurrentLaminate(error)) << error;
    materials.Add(301);
    materials.Add(999); // unknown to the host
    ASSERT_FALSE(loaded.GetLayupManager()->CheckMaterials(nullptr, nullptr));
    loaded.GetLayupManager()->SetInsertBefore(false);
    ASSERT_TRUE(loaded.GetLayupManager()->AddPly(Selection(), 301, 0.25f, 90.0f, 3));
    ASSERT_TRUE(loaded.Undo(error)) << error;
    // Replayed from the laminate as loaded, the repair made outside the history is made again.
    EXPECT_EQ(Describe(loaded.CurrentLaminate().RootGroup().GetLayup()), "301 -1");
}

// ---- Random edit sequences, then undo step by step. ----

// What an operation does to the clipboard.
enum class ClipboardEffect {
    Keeps,    // never touches it
    Replaces, // recorded, its command sets or clears it; refused, it may have touched it
    Outside   // may change it in a way that no recorded command repeats
};

struct EditContext
{
    CountingManager &manager;
    RandomEdits &edits;

    LayupManager &Layup() { return *manager.GetLayupManager(); }
};

struct EditOperation
{
    const char *name;
    int weight;
    // Runs one random edit of its kind; what it did to the clipboard.
    std::function<ClipboardEffect(EditContext &)> run;
};

ClipboardEffect EffectOf(EditKind kind)
{
    switch (kind) {
    case EditAdd: // empties it
    case EditCut:
    case EditCopy:
        return ClipboardEffect::Replaces;
    default:
        return ClipboardEffect::Keeps;
    }
}

// Every edit the random sequences draw from: each layup edit of the layup
// manager and the manager's own edits.
const std::vector<EditOperation> &EditOperations()
{
    static const std::vector<EditOperation> operations = {
        {"layup edit", 12,
         [](EditContext &c) {
             return EffectOf(c.edits.Run(c.Layup(), c.manager.CurrentLaminate().RootGroup()).kind);
         }},
        {"auto group", 1,
         [](EditContext &c) {
             while (!c.Layup().AutoGroup(nullptr)) {
             }
             // Emptied when the grouping starts; its command does not empty it.
             return ClipboardEffect::Outside;
         }},
        {"properties", 2,
         [](EditContext &c) {
             Laminate edited = c.manager.CurrentLaminate();
             switch (c.edits.Pick(0, 5)) {
             case 0:
                 edited.SetFailureTheory(c.edits.Pick(1, 6));
                 break;
             case 1:
                 edited.SetReferencePlane(c.edits.Pick(0, 3), c.edits.PickOf({-0.5f, 0.0f, 0.25f}));
                 break;
             case 2:
                 edited.SetDamping(c.edits.PickOf({0.0, 0.01, 0.02}));
                 break;
             case 3:
                 edited.SetBondingStress(c.edits.PickOf({0.0f, 12.5f}));
                 break;
             case 4:
                 edited.SetTsaiWuCoefficient(c.edits.PickOf({-0.5f, 0.25f}));
                 break;
             default:
                 break; // unchanged: records nothing
             }
             c.manager.SetProperties(edited);
             return ClipboardEffect::Replaces;
         }},
        {"stacking", 2,
         [](EditContext &c) {
             c.manager.SetStacking(c.edits.Pick(0, 7));
             return ClipboardEffect::Keeps;
         }},
        {"reset", 1,
         [](EditContext &c) {
             c.manager.Reset();
             return ClipboardEffect::Replaces;
         }},
        {"mark saved", 1,
         [](EditContext &c) {
             c.manager.MarkSaved();
             return ClipboardEffect::Keeps;
         }},
    };
    return operations;
}

// The state before a recorded edit, and whether its clipboard is what the
// recorded commands made of it (so that an undo must give it back).
struct Recorded
{
    Laminate laminate;
    LayupClipboard clipboard;
    bool clipboardFromCommands;
};

class RandomUndo
{
public:
    RandomUndo(CountingManager &manager, unsigned seed) : manager_(manager), edits_(seed) {}

    // Runs one random operation, updating the expected history.
    void Edit()
    {
        const auto &operations = EditOperations();
        int total = 0;
        for (const EditOperation &op : operations)
            total += op.weight;
        int draw = edits_.Pick(1, total);
        size_t chosen = 0;
        while (draw > operations[chosen].weight)
            draw -= operations[chosen++].weight;
        const EditOperation &op = operations[chosen];
        SCOPED_TRACE(op.name);
        Recorded before{manager_.CurrentLaminate(), Layup().GetClipboard(), clipboardFromCommands_};
        const int taken = manager_.taken;
        EditContext context{manager_, edits_};
        const ClipboardEffect effect = op.run(context);
        ASSERT_LE(manager_.taken, taken + 1) << "one edit, one command";
        const bool recorded = manager_.taken == taken + 1;
        if (recorded)
            expected_.push_back(std::move(before));
        else
            ASSERT_TRUE(manager_.CurrentLaminate().IsEqual(before.laminate)) << "changed without a command";
        if (effect == ClipboardEffect::Replaces)
            clipboardFromCommands_ = recorded;
        else if (effect == ClipboardEffect::Outside)
            clipboardFromCommands_ = false;
    }

    // A checkpoint around a few edits that are then cancelled: the laminate,
    // the clipboard and the history are as at the checkpoint.
    void CancelledEdit()
    {
        const Recorded checkpoint{manager_.CurrentLaminate(), Layup().GetClipboard(), clipboardFromCommands_};
        const size_t depth = expected_.size();
        manager_.BeginEdit();
        for (int i = edits_.Pick(0, 3); i > 0; --i)
            Edit();
        manager_.CancelEdit();
        ASSERT_TRUE(manager_.CurrentLaminate().IsEqual(checkpoint.laminate));
        ASSERT_TRUE(Layup().GetClipboard().items == checkpoint.clipboard.items);
        ASSERT_EQ(Layup().GetClipboard().filled, checkpoint.clipboard.filled);
        expected_.erase(expected_.begin() + static_cast<std::ptrdiff_t>(std::min(depth, expected_.size())),
                        expected_.end());
        clipboardFromCommands_ = checkpoint.clipboardFromCommands;
    }

    // One undo, checked against the state recorded before the newest edit.
    void Undo()
    {
        std::string error;
        if (expected_.empty()) {
            ASSERT_FALSE(manager_.Undo(error));
            ASSERT_EQ(error, "undo stack is empty");
            return;
        }
        const int taken = manager_.taken;
        ASSERT_TRUE(manager_.Undo(error)) << error;
        ASSERT_EQ(manager_.taken, taken) << "the replay recorded a command";
        const Recorded &before = expected_.back();
        ASSERT_TRUE(manager_.CurrentLaminate().IsEqual(before.laminate))
            << "undo " << expected_.size() << "\nundone:   " << Describe(manager_.CurrentLaminate().RootGroup().GetLayup())
            << "\nexpected: " << Describe(before.laminate.RootGroup().GetLayup());
        if (before.clipboardFromCommands) {
            ASSERT_EQ(Layup().GetClipboard().items, before.clipboard.items);
            ASSERT_EQ(Layup().GetClipboard().filled, before.clipboard.filled);
        }
        expected_.pop_back();
        clipboardFromCommands_ = true; // the replay made it
    }

    int Pick(int low, int high) { return edits_.Pick(low, high); }
    size_t Depth() const { return expected_.size(); }

private:
    LayupManager &Layup() { return *manager_.GetLayupManager(); }

    CountingManager &manager_;
    RandomEdits edits_;
    std::vector<Recorded> expected_;
    bool clipboardFromCommands_ = true;
};

// Starts: the default laminate, a laminate loaded from the host, and a
// grouped laminate made the start with ClearUndoStack.
void Start(CountingManager &manager, int kind)
{
    if (kind == 1) {
        std::string error;
        ASSERT_TRUE(manager.LoadCurrentLaminate(error)) << error;
    } else if (kind == 2) {
        manager.CurrentLaminate().SetLayup(Root({Ply(1, 0.25f, 0.0f), Group(5, {Ply(2, 0.125f, 45.0f), Ply(3)}),
                                                 Ply(4, 0.5f, 90.0f), Link(6, 5, 1), Ply(1)}));
        manager.ClearUndoStack();
    }
}

TEST(UndoHistoryRandom, UndoingStepByStepGivesEachEarlierLaminate)
{
    const UnitSystem units;
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    const lamCallbacksImp *t = LamHost::CallbackTable();
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CountingManager manager(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate, nullptr, units);
        Start(manager, static_cast<int>(seed % 3));
        const Laminate start = manager.CurrentLaminate();
        RandomUndo run(manager, seed);
        for (int step = 0; step < 50; ++step) {
            const int choice = run.Pick(0, 9);
            if (choice == 0)
                run.Undo();
            else if (choice == 1)
                run.CancelledEdit();
            else
                run.Edit();
            if (::testing::Test::HasFatalFailure())
                return;
        }
        while (run.Depth() > 0) {
            run.Undo();
            if (::testing::Test::HasFatalFailure())
                return;
        }
        EXPECT_TRUE(manager.CurrentLaminate().IsEqual(start));
        std::string name;
        EXPECT_FALSE(manager.LastCommandName(name));
        run.Undo(); // empty
    }
}

} // namespace
