// The undo history: undo by replay, checkpoints, and the manager's own edits
// (properties, stacking, reset).

#include "host/laminatemanager.h"

#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/plycommands.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
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
    int Execute(LaminateManager &, Laminate &, std::string &error) const override
    {
        error = "replay refused";
        return CommandFailed;
    }
    std::string Name() const override { return "Failing"; }
};

// A layup command that fills the clipboard with one ply of a material, as a
// recorded Copy would.
class FillClipboardCommand : public LayupCommand
{
public:
    explicit FillClipboardCommand(int material) : material_(material) {}
    std::string Name() const override { return "Fill"; }
    bool Apply(LayupManager &manager) const override
    {
        LayupClipboard clipboard;
        clipboard.items.Add(Ply(material_));
        clipboard.filled = true;
        manager.SetClipboard(clipboard);
        return true;
    }

private:
    int material_;
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
    // Fills the clipboard as a recorded edit would.
    void Fill(int material)
    {
        auto command = std::make_unique<FillClipboardCommand>(material);
        ASSERT_TRUE(command->Apply(Layup()));
        ASSERT_TRUE(manager.Submit(std::move(command)));
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

TEST_F(UndoHistoryTest, UndoLeavesTheClipboardAsTheRemainingCommandsLeaveIt)
{
    ASSERT_TRUE(AddOnTop(1));
    Fill(4);
    FillClipboardCommand(7).Apply(Layup()); // changed outside any command
    ASSERT_TRUE(Layup().ModifyColor(PlySelection({1}), 9));
    std::string error;
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "4 (filled)");
    ASSERT_TRUE(manager.Undo(error));
    EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "");
}

TEST_F(UndoHistoryTest, AFailingReplayRestoresEverything)
{
    ASSERT_TRUE(AddOnTop(1));
    ASSERT_TRUE(manager.Submit(std::make_unique<FailingCommand>()));
    ASSERT_TRUE(AddOnTop(2));
    Fill(6);
    const Laminate before = manager.CurrentLaminate();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        std::string error;
        EXPECT_FALSE(manager.Undo(error));
        EXPECT_EQ(error, "replay refused");
        EXPECT_TRUE(manager.CurrentLaminate().IsEqual(before));
        EXPECT_EQ(ClipboardText(Layup().GetClipboard()), "6 (filled)");
        // The undone command is back, so the next undo meets the same failure.
        std::string name;
        EXPECT_TRUE(manager.LastCommandName(name));
        EXPECT_EQ(name, "Fill");
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

TEST_F(UndoHistoryTest, ResetRightAfterALoadIsFalse)
{
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    const lamCallbacksImp *t = LamHost::CallbackTable();
    LaminateManager loaded(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate, nullptr, units);
    std::string error;
    ASSERT_TRUE(loaded.LoadCurrentLaminate(error)) << error;
    EXPECT_FALSE(loaded.Reset());
    std::string name;
    EXPECT_FALSE(loaded.LastCommandName(name));
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

// ---- Random edit sequences, then undo step by step. ----

// What an operation does to the clipboard.
enum class ClipboardEffect {
    Keeps,    // never touches it
    Replaces, // recorded, its command sets or clears it; refused, it may have touched it
    Outside   // changes it without a command
};

struct EditContext
{
    CountingManager &manager;
    std::mt19937 &random;

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    template <class T, size_t N>
    T PickOf(const T (&values)[N])
    {
        return values[Pick(0, N - 1)];
    }
    LayupManager &Layup() { return *manager.GetLayupManager(); }
    int PlyCount() const { return manager.CurrentLaminate().RootGroup().CountPlies(); }
    // Mostly plies that exist, now and then one that does not; sometimes a group.
    Selection RandomSelection(bool withGroups)
    {
        Selection selection;
        for (int i = Pick(0, 3); i > 0; --i)
            selection.plies.push_back(Pick(0, PlyCount() + 1));
        if (withGroups && Pick(0, 3) == 0)
            selection.SelectGroup(PickOf({5, 6, 99}));
        return selection;
    }
    float Thickness() { return PickOf({0.125f, 0.25f, 0.2500001f, 0.5f}); }
    float Angle() { return PickOf({-45.0f, 0.0f, 45.0f, 45.00002f, 90.0f}); }
};

struct EditOperation
{
    const char *name;
    ClipboardEffect clipboard;
    std::function<void(EditContext &)> run;
};

// Every edit the random sequences draw from; an edit of the layup manager is
// one more row.
const std::vector<EditOperation> &EditOperations()
{
    static const std::vector<EditOperation> operations = {
        {"add", ClipboardEffect::Replaces,
         [](EditContext &c) {
             c.Layup().SetInsertBefore(c.Pick(0, 1) == 0);
             c.Layup().AddPly(c.RandomSelection(true), c.Pick(1, 5), c.Thickness(), c.Angle(), c.Pick(0, 3));
         }},
        {"material", ClipboardEffect::Keeps,
         [](EditContext &c) { c.Layup().ModifyMaterial(c.RandomSelection(false), c.Pick(1, 5)); }},
        {"thickness", ClipboardEffect::Keeps,
         [](EditContext &c) { c.Layup().ModifyThickness(c.RandomSelection(false), c.Thickness()); }},
        {"angle", ClipboardEffect::Keeps,
         [](EditContext &c) { c.Layup().ModifyAngle(c.RandomSelection(false), c.Angle()); }},
        {"color", ClipboardEffect::Keeps,
         [](EditContext &c) { c.Layup().ModifyColor(c.RandomSelection(false), c.Pick(0, 3)); }},
        {"clipboard", ClipboardEffect::Outside,
         [](EditContext &c) {
             LayupClipboard clipboard;
             clipboard.items.Add(Ply(c.Pick(1, 5)));
             if (c.Pick(0, 1))
                 clipboard.items.Add(Group(7, {Ply(2), Ply(3)}));
             clipboard.filled = c.Pick(0, 1) == 1;
             c.Layup().SetClipboard(clipboard);
         }},
        {"properties", ClipboardEffect::Replaces,
         [](EditContext &c) {
             Laminate edited = c.manager.CurrentLaminate();
             switch (c.Pick(0, 5)) {
             case 0:
                 edited.SetFailureTheory(c.Pick(1, 6));
                 break;
             case 1:
                 edited.SetReferencePlane(c.Pick(0, 3), c.PickOf({-0.5f, 0.0f, 0.25f}));
                 break;
             case 2:
                 edited.SetDamping(c.PickOf({0.0, 0.01, 0.02}));
                 break;
             case 3:
                 edited.SetBondingStress(c.PickOf({0.0f, 12.5f}));
                 break;
             case 4:
                 edited.SetTsaiWuCoefficient(c.PickOf({-0.5f, 0.25f}));
                 break;
             default:
                 break; // unchanged: records nothing
             }
             c.manager.SetProperties(edited);
         }},
        {"stacking", ClipboardEffect::Keeps, [](EditContext &c) { c.manager.SetStacking(c.Pick(0, 7)); }},
        {"reset", ClipboardEffect::Replaces, [](EditContext &c) { c.manager.Reset(); }},
        {"mark saved", ClipboardEffect::Keeps, [](EditContext &c) { c.manager.MarkSaved(); }},
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
    RandomUndo(CountingManager &manager, unsigned seed) : manager_(manager), random_(seed) {}

    // Runs one random operation, updating the expected history.
    void Edit()
    {
        const auto &operations = EditOperations();
        const EditOperation &op = operations[static_cast<size_t>(Pick(0, static_cast<int>(operations.size()) - 1))];
        SCOPED_TRACE(op.name);
        Recorded before{manager_.CurrentLaminate(), Layup().GetClipboard(), clipboardFromCommands_};
        const int taken = manager_.taken;
        EditContext context{manager_, random_};
        op.run(context);
        ASSERT_LE(manager_.taken, taken + 1) << "one edit, one command";
        const bool recorded = manager_.taken == taken + 1;
        if (recorded)
            expected_.push_back(std::move(before));
        else
            ASSERT_TRUE(manager_.CurrentLaminate().IsEqual(before.laminate)) << "changed without a command";
        if (op.clipboard == ClipboardEffect::Outside || (op.clipboard == ClipboardEffect::Replaces && !recorded))
            clipboardFromCommands_ = false;
        else if (op.clipboard == ClipboardEffect::Replaces)
            clipboardFromCommands_ = true;
    }

    // A checkpoint around a few edits that are then cancelled.
    void CancelledEdit()
    {
        const Laminate checkpoint = manager_.CurrentLaminate();
        const size_t depth = expected_.size();
        manager_.BeginEdit();
        for (int i = Pick(0, 3); i > 0; --i)
            Edit();
        manager_.CancelEdit();
        ASSERT_TRUE(manager_.CurrentLaminate().IsEqual(checkpoint));
        if (expected_.size() > depth) {
            expected_.erase(expected_.begin() + static_cast<std::ptrdiff_t>(depth), expected_.end());
            clipboardFromCommands_ = false; // the dropped commands may have changed it
        }
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

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    size_t Depth() const { return expected_.size(); }

private:
    LayupManager &Layup() { return *manager_.GetLayupManager(); }

    CountingManager &manager_;
    std::mt19937 random_;
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
