// The layup manager's queries (action state, thickness and angle choices), the
// material check and its side of automatic grouping.

#include "core/layupmanager.h"

#include "core/autogroupcommand.h"
#include "core/lamcommandtaker.h"
#include "core/laminate.h"
#include "core/layupactionstate.h"
#include "core/layupmanager_p.h"
#include "core/materialcatalog.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "util/logger.h"
#include "util/tolerance.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr float kThicknessFactor = 0.0001f;
constexpr float kAngleTolerance = 0.01f;

// Adds value unless a survivor does not differ from it at tolerance, so that of
// close values the first offered stays. A survivor that lies between value and
// a farther one is also relatively closer to value, so asking the two
// neighbours is enough. A NaN differs from nothing and is never added.
void AddMerged(std::set<float> &survivors, float value, float tolerance)
{
    if (std::isnan(value))
        return;
    const auto next = survivors.lower_bound(value);
    if (next != survivors.end() && !ValuesDiffer(*next, value, tolerance))
        return;
    if (next != survivors.begin() && !ValuesDiffer(*std::prev(next), value, tolerance))
        return;
    survivors.insert(value);
}

// Calls visit with every simple ply of group in layup order; groups are
// entered, links are not.
template <class Visit>
void ForEachPly(const PlyGroup &group, const Visit &visit)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if ((*it)->IsPly())
            visit(static_cast<const PlySimple &>(**it));
        else if (const auto *inner = dynamic_cast<const PlyGroup *>(it->Get()))
            ForEachPly(*inner, visit);
    }
}

bool HoldsGroupItem(const Layup &items)
{
    for (auto it = items.ConstBegin(); it != items.ConstEnd(); ++it) {
        if ((*it)->IsGroupItem())
            return true;
    }
    return false;
}

// Every number is a simple ply of the tree (not one of a link's expansion).
bool AllPliesExist(const PlyGroup &work, const std::vector<int> &plies)
{
    return std::all_of(plies.begin(), plies.end(), [&work](int number) { return !work.FindPly(number, 0).IsNull(); });
}

// The numbers, without repeats, run without gap, and each is a ply of the
// root's own layup.
bool ConsecutiveTopLevel(PlyGroup &work, std::vector<int> plies)
{
    std::sort(plies.begin(), plies.end());
    plies.erase(std::unique(plies.begin(), plies.end()), plies.end());
    for (size_t i = 0; i < plies.size(); ++i) {
        if (plies[i] != plies.front() + static_cast<int>(i))
            return false;
    }
    return std::all_of(plies.begin(), plies.end(), [&work](int number) { return work.FindOwnerOfPly(number) == &work; });
}

// Whether the selected groups can be linked: at most one link among them (the
// parent then), every one found, none linked to the parent or the parent to it.
bool Linkable(PlyGroup &work, const std::vector<int> &groups)
{
    int parent = groups.front();
    int links = 0;
    for (const int id : groups) {
        if (dynamic_cast<const PlyGroupLink *>(work.FindGroup(id).Get()) && ++links == 1)
            parent = id;
    }
    if (links > 1)
        return false;
    const PlyHandle parentItem = work.FindGroup(parent);
    const auto *parentGroup = dynamic_cast<const PlyGroupBase *>(parentItem.Get());
    if (!parentGroup)
        return false;
    for (const int id : groups) {
        if (id == parent)
            continue;
        // An id that names nothing cannot be linked either.
        const PlyHandle item = work.FindGroup(id);
        const auto *child = dynamic_cast<const PlyGroupBase *>(item.Get());
        if (!child || child->CountLinksTo(parent) != 0 || parentGroup->CountLinksTo(id) != 0)
            return false;
    }
    return true;
}

} // namespace

void LayupManager::GetActionState(const Selection &selection, LayupActionState &out) const
{
    const Impl &d = *impl_;
    out = LayupActionState();
    PlyGroup work = d.laminate->RootGroup();
    const std::vector<int> &plies = selection.plies;
    std::vector<int> groups = selection.Groups();
    std::sort(groups.begin(), groups.end());
    const bool anyPly = !plies.empty();
    const bool anyGroup = !groups.empty();

    const PlyInserter inserter = d.ComputeInserter(work, plies, groups, d.insertBefore);
    out.canAdd = inserter.IsValid();

    const bool plyExists = AllPliesExist(work, plies);
    out.canEditSingle = plies.size() == 1 && !anyGroup && plyExists;
    out.canModify = anyPly && !anyGroup && plyExists;
    out.canDelete = (anyPly || anyGroup) && plyExists;
    out.canCut = out.canDelete;
    out.canCopy = anyPly || anyGroup;

    out.canPaste = out.canAdd && d.clipboard.items.Size() > 0
                && (inserter.Group() == 0 || !HoldsGroupItem(d.clipboard.items));

    out.canGroup = anyPly && !anyGroup && ConsecutiveTopLevel(work, plies);

    out.canUngroup = !anyPly && anyGroup;
    out.canUnlink = out.canUngroup;
    for (const int id : groups) {
        const PlyBase *item = work.FindGroup(id).Get();
        out.canUngroup = out.canUngroup && dynamic_cast<const PlyGroup *>(item);
        out.canUnlink = out.canUnlink && dynamic_cast<const PlyGroupLink *>(item);
    }
    out.canLink = !anyPly && groups.size() >= 2 && Linkable(work, groups);
}

std::set<float> LayupManager::GetThicknesses() const
{
    std::set<float> exact;
    ForEachPly(impl_->laminate->RootGroup(), [&exact](const PlySimple &ply) {
        if (!std::isnan(ply.Thickness()))
            exact.insert(ply.Thickness());
    });
    std::set<float> merged;
    if (exact.empty())
        return merged;
    const float tolerance = *exact.rbegin() * kThicknessFactor;
    for (const float thickness : exact)
        AddMerged(merged, thickness, tolerance);
    return merged;
}

std::set<float> LayupManager::GetAngles() const
{
    std::set<float> merged;
    for (const float angle : {0.0f, 45.0f, -45.0f, 90.0f})
        AddMerged(merged, angle, kAngleTolerance);
    ForEachPly(impl_->laminate->RootGroup(), [&merged](const PlySimple &ply) {
        AddMerged(merged, ply.Angle(), kAngleTolerance);
        AddMerged(merged, -ply.Angle(), kAngleTolerance);
    });
    return merged;
}

bool LayupManager::Impl::CheckPlyMaterials(PlyGroup &group, int *plyNumber, int *materialId, bool &reported)
{
    bool known = true;
    Layup &layup = group.GetLayup();
    for (int i = 0; i < layup.Size(); ++i) {
        if (!layup[i]->IsPly()) {
            if (auto *inner = dynamic_cast<PlyGroup *>(layup[i].Get()))
                known = CheckPlyMaterials(*inner, plyNumber, materialId, reported) && known;
            continue;
        }
        auto *ply = static_cast<PlySimple *>(layup[i].Get());
        // -1 marks a ply repaired before, so that a second check passes.
        if (!ply || ply->Material() == -1 || materials->Contains(ply->Material()))
            continue;
        if (!reported) {
            reported = true;
            Tuvo::Logger::Root()->Log(std::string("Ply ")
                                          .append(std::to_string(ply->Id()))
                                          .append(" references non-existing material ")
                                          .append(std::to_string(ply->Material())));
            error = "Ply %1 references non-existing material %2";
            if (plyNumber)
                *plyNumber = ply->Id();
            if (materialId)
                *materialId = ply->Material();
        }
        // The work copy shares its plies with the laminate.
        static_cast<PlySimple *>(layup.Unshare(i))->SetMaterial(-1);
        known = false;
    }
    return known;
}

bool LayupManager::CheckMaterials(int *plyNumber, int *materialId)
{
    Impl &d = *impl_;
    d.error.clear();
    // Without a catalogue nothing can be judged unknown.
    if (!d.materials)
        return true;
    PlyGroup work = d.laminate->RootGroup();
    bool reported = false;
    if (d.CheckPlyMaterials(work, plyNumber, materialId, reported))
        return true;
    d.laminate->SetLayup(std::move(work));
    if (d.taker)
        d.taker->LayupModified();
    return false;
}

bool LayupManager::AutoGroup(float *progress)
{
    Impl &d = *impl_;
    d.error.clear();
    if (!d.maker) {
        const PlyGroup &root = d.laminate->RootGroup();
        d.savedLayup = root.GetLayup();
        d.clipboard.Clear();
        std::vector<PlySimple> plies;
        root.CollectPlies(plies);
        d.maker.reset(LayupMaker::CondenseSetup(plies));
    }
    if (!d.maker->Step(progress))
        return false;

    PlyGroup result = d.maker->GetResult();
    result.Renumber(1);
    result.GetLayup().SetStacking(d.savedLayup.Stacking());
    // Compared as a tree, so that the saved layup's links resolve as the result's do.
    const PlyGroup saved(0, d.savedLayup);
    if (!(result.GetLayup() == saved.GetLayup())) {
        auto command = std::make_unique<AutoGroupCommand>(result.GetLayup());
        d.laminate->SetLayup(std::move(result));
        d.Record(std::move(command));
    }
    if (progress)
        *progress = 1.0f;
    ResetAutoGroup();
    return true;
}

void LayupManager::ResetAutoGroup()
{
    impl_->maker.reset();
    impl_->savedLayup = Layup();
}
