#include "core/layupmanager.h"

#include "core/lamcommandtaker.h"
#include "core/laminate.h"
#include "core/layupmanager_p.h"
#include "core/plycommands.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "util/logger.h"
#include "util/tolerance.h"

namespace {

constexpr float kTolerance = 1e-6f;
constexpr int kPasteSerialStart = -999999;

void Trace(const std::string &line)
{
    Tuvo::Logger::Root()->Log(line);
}

bool IsGroupItem(const PlyBase &item)
{
    return dynamic_cast<const PlyGroupBase *>(&item) != nullptr;
}

bool SamePlies(const std::vector<PlySimple> &a, const std::vector<PlySimple> &b)
{
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].Material() != b[i].Material() || a[i].Color() != b[i].Color()
            || ValuesDiffer(a[i].Thickness(), b[i].Thickness(), kTolerance)
            || ValuesDiffer(a[i].Angle(), b[i].Angle(), kTolerance))
            return false;
    }
    return true;
}

// A link that stands for the pasted copy of original when work still holds a
// group or link with original's id and the same plies; null otherwise. A paste
// with negated angles in the original order has no link type that expresses it.
std::unique_ptr<PlyBase> LinkToOriginal(PlyGroup &work, const PlyBase &original, int id, bool reversed,
                                        bool negated)
{
    const PlyHandle existing = work.FindGroup(original.Id());
    if (!existing)
        return nullptr;
    Trace("Paste: group w/same id");
    if (negated && !reversed)
        return nullptr;
    std::vector<PlySimple> present;
    std::vector<PlySimple> copied;
    dynamic_cast<const PlyGroupBase &>(*existing).ExpandedCopy().CollectPlies(present);
    dynamic_cast<const PlyGroupBase &>(original).ExpandedCopy().CollectPlies(copied);
    if (present.size() != copied.size())
        return nullptr;
    Trace("Paste: groups same?");
    if (!SamePlies(present, copied))
        return nullptr;
    Trace("Paste: create link");
    const int type = !reversed ? LinkRepeat : negated ? LinkAntisymmetry : LinkSymmetry;
    auto link = std::make_unique<PlyGroupLink>(id, existing->Id(), type, 1);
    Trace("Paste: clone is link");
    return link;
}

} // namespace

LayupManager::Impl::Impl(MaterialList *materials, Laminate *laminate, LamCommandTaker *taker)
    : materials(materials)
    , laminate(laminate)
    , taker(taker)
    , defaultTaker(taker)
{
}

PlyInserter LayupManager::Impl::ComputeInserter(PlyGroup &work, const std::vector<int> &plies,
                                                const std::vector<int> &groups, bool before) const
{
    return PlyInserter::Compute(work, plies, groups, before);
}

bool LayupManager::Impl::pasteClipboard(PlyGroup &work, const PlyInserter &inserter, bool reversed, bool negated,
                                        int count)
{
    const Layup &items = clipboard.items;
    const bool intoGroup = inserter.Group() != work.Id();
    if (intoGroup) {
        for (int i = 0; i < items.Size(); ++i) {
            if (IsGroupItem(*items[i])) {
                error = "Paste: cannot nest groups";
                return false;
            }
        }
        Trace("LayupManager::Impl::pasteClipboard pasting inside a group!");
    }

    // The handle keeps the target alive until its layup is replaced.
    PlyHandle site;
    PlyGroup *target = &work;
    if (intoGroup) {
        site = work.FindGroup(inserter.Group());
        target = site ? dynamic_cast<PlyGroup *>(&*site) : nullptr;
    }
    if (!target || target->Id() != inserter.Group() || inserter.Position() < 1
        || inserter.Position() > target->GetLayup().Size() + 1) {
        error = "Unexpected error locating paste site";
        return false;
    }
    Trace("Paste: paste site located");

    Layup &layup = target->GetLayup();
    Layup merged;
    merged.SetStacking(layup.Stacking());
    const int split = inserter.Position() - 1;
    for (int i = 0; i < split; ++i)
        merged.Add(layup[i]);
    Trace("Paste: part 1 copied");

    PlyGroup source(-1, items);
    if (reversed)
        source.Reverse();
    if (negated)
        source.Mirror();
    source.AssignSerials(kPasteSerialStart);
    Trace("Paste: clipboard->source OK");

    int maxId = work.MaxGroupId(0);
    const Layup &sourceItems = source.GetLayup();
    const int n = sourceItems.Size();
    for (int repeat = 0; repeat < count; ++repeat) {
        for (int k = 0; k < n; ++k) {
            std::unique_ptr<PlyBase> clone(sourceItems[k]->Clone());
            if (IsGroupItem(*clone)) {
                clone->SetId(++maxId);
                Trace(std::string("pasting group, using id = ").append(std::to_string(maxId)));
                // The item of the clipboard that this source item was made from.
                const PlyBase &original = *items[reversed ? n - 1 - k : k];
                if (clipboard.filled) {
                    if (auto link = LinkToOriginal(work, original, maxId, reversed, negated)) {
                        link->SetSerial(clone->Serial());
                        clone = std::move(link);
                    }
                }
            }
            merged.Add(clone.release());
            Trace("Paste: clone(s) added");
        }
    }
    Trace("Paste: clipboard copied");
    for (int i = split; i < layup.Size(); ++i)
        merged.Add(layup[i]);
    Trace("Paste: part 2 copied");

    if (intoGroup)
        Trace("applying changes in group");
    layup.Swap(merged);
    work.SetRoot(&work);
    work.Renumber(1);
    Trace("LayupManager::Impl::pasteClipboard done");
    return true;
}

bool LayupManager::Impl::modifyPlies(const std::vector<int> &plies, const char *what,
                                     const std::function<bool(PlySimple &)> &set, bool &changed)
{
    error.clear();
    changed = false;
    if (plies.empty())
        return true;
    PlyGroup work = laminate->RootGroup();
    for (const int number : plies) {
        const PlyHandle found = work.FindPly(number, 0);
        auto *ply = found ? dynamic_cast<PlySimple *>(&*found) : nullptr;
        if (!ply) {
            Trace(std::string("Ply ").append(std::to_string(number)).append(" not found for modification of ").append(what));
            error = std::string("Ply not found for modification of ").append(what);
            return false;
        }
        changed = set(*ply) || changed;
    }
    if (changed)
        laminate->SetLayup(work);
    return true;
}

void LayupManager::Impl::Record(std::unique_ptr<LamCommand> command)
{
    if (taker)
        taker->Submit(std::move(command));
}

LayupManager::LayupManager(MaterialList *materials, Laminate *laminate, LamCommandTaker *taker)
    : impl_(std::make_unique<Impl>(materials, laminate, taker))
{
}

LayupManager::~LayupManager() = default;

void LayupManager::SetInsertBefore(bool before)
{
    impl_->insertBefore = before;
}

bool LayupManager::AddPly(const Selection &selection, int material, float thickness, float angle, int color)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    const PlyInserter inserter = d.ComputeInserter(work, selection.plies, selection.Groups(), d.insertBefore);
    if (!inserter.IsValid()) {
        d.error = "Invalid insertion operator";
        Trace(std::string("LayupManager::AddPly").append(d.error));
        return false;
    }
    Trace("AddPly: inserter is valid");
    d.clipboard.Clear();
    auto *ply = new PlySimple(0, "");
    ply->SetMaterial(material);
    ply->SetThickness(thickness);
    ply->SetAngle(angle);
    ply->SetColor(color);
    d.clipboard.items.Add(ply);
    const bool pasted = d.pasteClipboard(work, inserter, false, false, 1);
    d.clipboard.Clear();
    if (pasted) {
        d.laminate->SetLayup(work);
        d.Record(std::make_unique<PlyAddCommand>(selection, d.insertBefore, material, thickness, angle, color));
    }
    return pasted;
}

bool LayupManager::ModifyMaterial(const Selection &selection, int material)
{
    bool changed = false;
    const auto set = [material](PlySimple &ply) {
        const bool differs = ply.Material() != material;
        ply.SetMaterial(material);
        return differs;
    };
    if (!impl_->modifyPlies(selection.plies, "material", set, changed))
        return false;
    if (changed)
        impl_->Record(std::make_unique<PlyModMatCommand>(selection, material));
    return true;
}

bool LayupManager::ModifyThickness(const Selection &selection, float thickness)
{
    bool changed = false;
    const auto set = [thickness](PlySimple &ply) {
        const bool differs = ValuesDiffer(ply.Thickness(), thickness, kTolerance);
        ply.SetThickness(thickness);
        return differs;
    };
    if (!impl_->modifyPlies(selection.plies, "thickness", set, changed))
        return false;
    if (changed)
        impl_->Record(std::make_unique<PlyModThickCommand>(selection, thickness));
    return true;
}

bool LayupManager::ModifyAngle(const Selection &selection, float angle)
{
    bool changed = false;
    const auto set = [angle](PlySimple &ply) {
        const bool differs = ValuesDiffer(ply.Angle(), angle, kTolerance);
        ply.SetAngle(angle);
        return differs;
    };
    if (!impl_->modifyPlies(selection.plies, "angle", set, changed))
        return false;
    if (changed)
        impl_->Record(std::make_unique<PlyModAngleCommand>(selection, angle));
    return true;
}

bool LayupManager::ModifyColor(const Selection &selection, int color)
{
    bool changed = false;
    const auto set = [color](PlySimple &ply) {
        const bool differs = ply.Color() != color;
        ply.SetColor(color);
        return differs;
    };
    if (!impl_->modifyPlies(selection.plies, "color", set, changed))
        return false;
    if (changed)
        impl_->Record(std::make_unique<PlyModColorCommand>(selection, color));
    return true;
}

std::string LayupManager::GetErrorMessage() const
{
    return impl_->error;
}

void LayupManager::Renumber()
{
    PlyGroup work = impl_->laminate->RootGroup();
    work.Renumber(1);
    impl_->laminate->SetLayup(work);
}

void LayupManager::SetTaker(LamCommandTaker *taker)
{
    impl_->taker = taker;
}

bool LayupManager::RestoreTaker(std::unique_ptr<LamCommand> command)
{
    impl_->taker = impl_->defaultTaker;
    if (!command || !impl_->defaultTaker)
        return false;
    return impl_->defaultTaker->Submit(std::move(command));
}

const LayupClipboard &LayupManager::GetClipboard() const
{
    return impl_->clipboard;
}

void LayupManager::SetClipboard(const LayupClipboard &clipboard)
{
    impl_->clipboard = clipboard;
}

void LayupManager::ClearClipboard()
{
    impl_->clipboard.Clear();
}
