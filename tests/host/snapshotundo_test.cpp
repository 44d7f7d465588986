// Undo from the kept replay states against undo by a plain full replay of the
// history: two managers run the same random requests and must agree after
// every step.

#include "host/laminatemanager.h"

#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/layupmanager.h"
#include "core/randomedits.h"
#include "core/unitsystem.h"
#include "host/materiallist.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace layuptest;

namespace {

// A manager that also lists the commands it takes, oldest first.
class RecordingManager : public LaminateManager
{
public:
    using LaminateManager::LaminateManager;
    void Take(std::unique_ptr<LamCommand> command) override
    {
        commands.push_back(command.get());
        LaminateManager::Take(std::move(command));
    }
    std::vector<const LamCommand *> commands;
};

// Recorded like any edit; fails whenever it is executed, so the replay stops there.
class FailingOnReplay : public LamCommand
{
public:
    int Execute(LaminateManagerAccess &, Laminate &, std::string &error) const override
    {
        error = "replay refused";
        return CommandFailed;
    }
    std::string Name() const override { return "Refused"; }
};

// Every value of a laminate and of its manager's clipboard and insertion side, exactly.
std::string Exact(const Laminate &laminate, LayupManager &layup)
{
    std::vector<PlySimple> stack;
    laminate.RootGroup().CollectPliesExpanded(stack);
    std::ostringstream text;
    text << laminate.Name() << (laminate.IsModified() ? " modified " : " ") << Describe(laminate.RootGroup().GetLayup())
         << " |";
    for (const PlySimple &ply : stack)
        text << ' ' << ply.Id() << ':' << ply.Material() << '/' << ply.Color() << '/' << ply.Thickness() << '/'
             << ply.Angle();
    const LayupClipboard &clipboard = layup.GetClipboard();
    text << " clipboard " << Describe(clipboard.items) << (clipboard.filled ? " filled" : "")
         << (layup.InsertBefore() ? " below" : " above");
    return text.str();
}

// The plain undo: drops the newest command and executes the others from base
// with an empty clipboard; a failure puts laminate, clipboard and command back.
bool PlainUndo(RecordingManager &manager, const Laminate &base, bool repair, std::string &error)
{
    if (manager.commands.empty()) {
        error = "undo stack is empty";
        return false;
    }
    const LamCommand *undone = manager.commands.back();
    manager.commands.pop_back();
    LayupManager &layup = *manager.GetLayupManager();
    const LayupClipboard clipboard = layup.GetClipboard();
    const Laminate fallback = manager.CurrentLaminate();
    layup.ClearClipboard();
    manager.CurrentLaminate() = base;
    manager.SetEnabled(false);
    for (const LamCommand *command : manager.commands) {
        Laminate result;
        const int outcome = command->Execute(manager, result, error);
        if (outcome == CommandNewLaminate && !result.IsEqual(manager.CurrentLaminate())) {
            manager.CurrentLaminate() = result;
        } else if (outcome == CommandFailed) {
            manager.CurrentLaminate() = fallback;
            layup.SetClipboard(clipboard);
            manager.commands.push_back(undone);
            manager.SetEnabled(true);
            return false;
        }
    }
    manager.SetEnabled(true);
    if (repair)
        layup.CheckMaterials(nullptr, nullptr);
    error.clear();
    return true;
}

TEST(SnapshotUndo, AgreesWithAPlainFullReplayAfterEveryStep)
{
    LamHost::Store store(LamHost::DemoStore());
    store.Data().laminates[0].plies = {{0.25f, 0.0f, 301, 1}, {0.5f, 45.0f, 999, 2}, {0.25f, 90.0f, 301, 1}};
    store.Activate();
    const lamCallbacksImp *t = LamHost::CallbackTable();
    const UnitSystem units;
    int undos = 0, failedUndos = 0;
    for (unsigned seed = 0; seed < 12; ++seed) {
        // The edits see the same laminates, so the same seed makes the same edits.
        MaterialList materialsA(t->GetMaterial, t->SelectMaterial), materialsB(t->GetMaterial, t->SelectMaterial);
        RecordingManager kept(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate, &materialsA, units);
        RecordingManager plain(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate, &materialsB, units);
        RandomEdits editsA(seed), editsB(seed);
        std::mt19937 random(seed + 1000);
        Laminate base = plain.CurrentLaminate();
        Laminate checkpoint = base;
        LayupClipboard checkpointClipboard;
        size_t depth = 0;
        bool repair = false;
        LayupManager &a = *kept.GetLayupManager();
        LayupManager &b = *plain.GetLayupManager();
        for (int step = 0; step < 400; ++step) {
            const int roll = std::uniform_int_distribution<int>(0, 99)(random);
            std::string errorA, errorB;
            if (roll < 55) {
                const RandomEdit editA = editsA.Run(a, kept.CurrentLaminate().RootGroup());
                const RandomEdit editB = editsB.Run(b, plain.CurrentLaminate().RootGroup());
                ASSERT_EQ(editA.done, editB.done) << seed << " step " << step;
            } else if (roll < 80) {
                const bool doneA = kept.Undo(errorA);
                ASSERT_EQ(doneA, PlainUndo(plain, base, repair, errorB)) << seed << " step " << step;
                ASSERT_EQ(errorA, errorB);
                undos += doneA ? 1 : 0;
                failedUndos += !doneA && errorA == "replay refused" ? 1 : 0;
            } else if (roll < 84) {
                kept.BeginEdit();
                checkpoint = plain.CurrentLaminate();
                checkpointClipboard = b.GetClipboard();
                depth = plain.commands.size();
            } else if (roll < 88) {
                kept.CancelEdit();
                plain.CurrentLaminate() = checkpoint;
                b.SetClipboard(checkpointClipboard);
                if (plain.commands.size() > depth)
                    plain.commands.resize(depth);
            } else if (roll < 90) {
                kept.ClearUndoStack();
                plain.commands.clear();
                base = plain.CurrentLaminate();
            } else if (roll < 92) {
                ASSERT_TRUE(kept.LoadCurrentLaminate(errorA)) << errorA;
                ASSERT_TRUE(plain.LoadCurrentLaminate(errorB)) << errorB;
                plain.commands.clear();
                base = plain.CurrentLaminate();
                repair = false;
                checkpoint = base; // as the load resets the checkpoint
                checkpointClipboard.Clear();
                depth = 0;
            } else if (roll < 94) {
                kept.Submit(std::make_unique<FailingOnReplay>());
                plain.Submit(std::make_unique<FailingOnReplay>());
            } else if (roll < 96) {
                const bool knownA = a.CheckMaterials(nullptr, nullptr);
                ASSERT_EQ(knownA, b.CheckMaterials(nullptr, nullptr));
                repair = repair || !knownA;
            } else if (roll < 98) {
                const int rule = std::uniform_int_distribution<int>(0, 4)(random);
                ASSERT_EQ(kept.SetStacking(rule), plain.SetStacking(rule));
            } else {
                while (!a.AutoGroup(nullptr)) {
                }
                while (!b.AutoGroup(nullptr)) {
                }
            }
            ASSERT_EQ(Exact(kept.CurrentLaminate(), a), Exact(plain.CurrentLaminate(), b))
                << seed << " step " << step << " roll " << roll;
        }
    }
    // The runs undo often, also through a refused command.
    EXPECT_GT(undos, 500);
    EXPECT_GT(failedUndos, 20);
}

} // namespace
