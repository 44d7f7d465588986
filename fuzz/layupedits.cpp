// Sequences of layup manager operations with selections taken from the
// input, some of them undone on the way, all of them undone at the end,
// on a laminate manager as a request uses it. Aborts when:
// - after any step the layup is unsound: ply numbers not 1..N in stack
//   order, counts that disagree with the plies, a top-level group id twice or
//   not positive, a group inside a group, or a link whose target is missing
//   (unless a delete or cut emptied that group: such links stay);
// - a refused operation changed the laminate or recorded a command, or one
//   operation recorded more than one;
// - an undo does not give the laminate as it was before the undone edit, or
//   undoing everything does not give the starting laminate.

#include "core/lamcommand.h"
#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"
#include "tests/core/layupbuilder.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using layuptest::Describe;

// Counts the commands it takes, so that each step knows whether it recorded one.
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

[[noreturn]] void Fail(const std::string &what, const Laminate &laminate)
{
    std::fprintf(stderr, "layup edits: %s\nlayup: %s\n", what.c_str(),
                 Describe(laminate.RootGroup().GetLayup()).c_str());
    std::abort();
}

void CheckSound(const Laminate &laminate, const std::set<int> &emptied)
{
    const PlyGroup &root = laminate.RootGroup();
    std::vector<PlySimple> plies;
    root.CollectPlies(plies);
    for (size_t i = 0; i < plies.size(); ++i) {
        if (plies[i].Id() != static_cast<int>(i) + 1)
            Fail("ply " + std::to_string(i + 1) + " numbered " + std::to_string(plies[i].Id()), laminate);
    }
    if (root.CountPlies() != static_cast<int>(plies.size()))
        Fail("ply count", laminate);
    std::vector<PlySimple> full;
    root.CollectPliesExpanded(full);
    if (root.CountPliesExpanded() != static_cast<int>(full.size()))
        Fail("expanded ply count", laminate);
    std::set<int> ids;
    const Layup &layup = root.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (dynamic_cast<const PlySimple *>(&item))
            continue;
        if (item.Id() <= 0 || !ids.insert(item.Id()).second)
            Fail("group id " + std::to_string(item.Id()), laminate);
        if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            if (!link->Target() && !emptied.count(link->TargetGroupId()))
                Fail("link " + std::to_string(link->Id()) + " to a missing group", laminate);
            continue;
        }
        const Layup &inner = dynamic_cast<const PlyGroup &>(item).GetLayup();
        for (auto child = inner.ConstBegin(); child != inner.ConstEnd(); ++child) {
            if (!dynamic_cast<const PlySimple *>(child->Get()))
                Fail("group " + std::to_string(item.Id()) + " nested", laminate);
        }
    }
}

// The top-level groups of before that are gone from after without being selected.
void NoteEmptied(const PlyGroup &before, const PlyGroup &after, const Selection &selection, std::set<int> &emptied)
{
    const Layup &layup = before.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const auto *group = dynamic_cast<const PlyGroup *>(it->Get());
        if (group && !selection.ContainsGroup(group->Id()) && !after.FindGroup(group->Id()))
            emptied.insert(group->Id());
    }
}

std::vector<int> GroupIds(const PlyGroup &root)
{
    std::vector<int> ids;
    const Layup &layup = root.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if (dynamic_cast<const PlyGroupBase *>(it->Get()))
            ids.push_back((*it)->Id());
    }
    return ids;
}

const float kThicknesses[] = {0.25f, 0.5f, 0.125f};
const float kAngles[] = {0.0f, 45.0f, -45.0f, 90.0f};

// Ply numbers around the stack's (one beyond it now and then) and groups
// that exist (or now and then one that does not).
Selection TakeSelection(FuzzedDataProvider &in, const PlyGroup &root)
{
    Selection selection;
    const int plies = root.CountPlies();
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        selection.plies.push_back(in.ConsumeIntegralInRange(0, plies + 1));
    const std::vector<int> ids = GroupIds(root);
    for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) {
        if (!ids.empty() && in.ConsumeIntegralInRange(0, 7) != 0)
            selection.SelectGroup(ids[in.ConsumeIntegralInRange<size_t>(0, ids.size() - 1)]);
        else
            selection.SelectGroup(in.ConsumeIntegralInRange(-1, 12));
    }
    return selection;
}

enum Operation {
    Add, Modify, Delete, Cut, Copy, Paste, Group, Ungroup, Link, Unlink, AutoGroup, Stacking, Undo, OperationCount
};

// One operation; whether the manager accepted it.
bool Run(FuzzedDataProvider &in, CountingManager &manager, Operation op, Selection &selection)
{
    LayupManager &layup = *manager.GetLayupManager();
    switch (op) {
    case Add:
        layup.SetInsertBefore(in.ConsumeBool());
        return layup.AddPly(selection, in.ConsumeIntegralInRange(1, 3), in.PickValueInArray(kThicknesses),
                            in.PickValueInArray(kAngles), in.ConsumeIntegralInRange(0, 1));
    case Modify:
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: return layup.ModifyMaterial(selection, in.ConsumeIntegralInRange(1, 3));
        case 1: return layup.ModifyThickness(selection, in.PickValueInArray(kThicknesses));
        case 2: return layup.ModifyAngle(selection, in.PickValueInArray(kAngles));
        default: return layup.ModifyColor(selection, in.ConsumeIntegralInRange(0, 1));
        }
    case Delete: return layup.Delete(selection);
    case Cut: return layup.Cut(selection);
    case Copy: return layup.Copy(selection);
    case Paste: {
        layup.SetInsertBefore(in.ConsumeBool());
        const bool reversed = in.ConsumeBool();
        return layup.Paste(selection, reversed, reversed && in.ConsumeBool(), in.ConsumeIntegralInRange(0, 3));
    }
    case Group: return layup.CreateGroup(selection);
    case Ungroup: return layup.Ungroup(selection);
    case Link: return layup.CreateLink(selection);
    case Unlink: return layup.Unlink(selection);
    case AutoGroup:
        while (!layup.AutoGroup(nullptr)) {
        }
        return true;
    case Stacking:
        manager.SetStacking(in.ConsumeIntegralInRange(0, 5));
        return true;
    default:
        return true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const UnitSystem units;
    CountingManager manager(nullptr, nullptr, nullptr, nullptr, units);
    LayupManager &layup = *manager.GetLayupManager();

    // The start: a flat stack, grouped automatically now and then, with a stacking rule.
    layup.SetInsertBefore(false);
    for (int n = in.ConsumeIntegralInRange(0, 16); n > 0; --n)
        layup.AddPly(Selection(), in.ConsumeIntegralInRange(1, 3), in.PickValueInArray(kThicknesses),
                     in.PickValueInArray(kAngles), in.ConsumeIntegralInRange(0, 1));
    if (in.ConsumeBool()) {
        while (!layup.AutoGroup(nullptr)) {
        }
    }
    manager.SetStacking(in.ConsumeIntegralInRange(0, 4));
    manager.ClearUndoStack();
    layup.ClearClipboard();
    const Laminate start = manager.CurrentLaminate();
    std::set<int> emptied;
    CheckSound(start, emptied);

    std::vector<Laminate> before; // the laminate before each command still recorded
    for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
        const auto op = static_cast<Operation>(in.ConsumeIntegralInRange(0, OperationCount - 1));
        const Laminate was = manager.CurrentLaminate();
        if (op == Undo) {
            std::string error;
            if (before.empty()) {
                if (manager.Undo(error) || error != "undo stack is empty")
                    Fail("undo without history: " + error, manager.CurrentLaminate());
                continue;
            }
            if (!manager.Undo(error))
                Fail("undo refused: " + error, manager.CurrentLaminate());
            if (!manager.CurrentLaminate().IsEqual(before.back()))
                Fail("undo gave another laminate than before the edit; expected " +
                         Describe(before.back().RootGroup().GetLayup()),
                     manager.CurrentLaminate());
            before.pop_back();
            CheckSound(manager.CurrentLaminate(), emptied);
            continue;
        }
        Selection selection = TakeSelection(in, was.RootGroup());
        const Selection asGiven = selection;
        const int taken = manager.taken;
        const bool done = Run(in, manager, op, selection);
        const Laminate &now = manager.CurrentLaminate();
        if (manager.taken > taken + 1)
            Fail("one operation, several commands", now);
        if (!done && (manager.taken != taken || !now.IsEqual(was)))
            Fail("a refused operation changed the laminate: " + layup.GetErrorMessage(), now);
        if (manager.taken == taken + 1)
            before.push_back(was);
        else if (!now.IsEqual(was))
            Fail("changed without a command", now);
        if (op == Delete || op == Cut)
            NoteEmptied(was.RootGroup(), now.RootGroup(), asGiven, emptied);
        CheckSound(now, emptied);
    }

    while (!before.empty()) {
        std::string error;
        if (!manager.Undo(error))
            Fail("undo refused: " + error, manager.CurrentLaminate());
        if (!manager.CurrentLaminate().IsEqual(before.back()))
            Fail("undo gave another laminate than before the edit", manager.CurrentLaminate());
        before.pop_back();
    }
    if (!manager.CurrentLaminate().IsEqual(start))
        Fail("undoing everything did not give the start; expected " + Describe(start.RootGroup().GetLayup()),
             manager.CurrentLaminate());
    return 0;
}
