#include "core/layupmanager.h"

#include "core/lamcommandtaker.h"
#include "core/laminate.h"
#include "core/layupmanager_p.h"
#include "core/plycommands.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "util/trace.h"
#include "util/tolerance.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr int kPasteSerialStart = -999999;
// The longest full stack that a paste may produce.
constexpr long long kMaxPlies = 100000;

// Where a simple ply sits: its layup and its index there.
struct PlyPlace
{
    Layup *layup = nullptr;
    int index = 0;
};

// The places of the simple plies of group in the order of their numbers, groups
// entered. A link's plies are not items of the tree: they stand as empty
// places, as a lookup by number finds none there.
void NumberPlies(PlyGroup &group, std::vector<PlyPlace> &byNumber)
{
    Layup &layup = group.GetLayup();
    for (int i = 0; i < layup.Size(); ++i) {
        PlyBase *item = layup[i].Get();
        if (item->IsPly())
            byNumber.push_back({&layup, i});
        else if (auto *inner = dynamic_cast<PlyGroup *>(item))
            NumberPlies(*inner, byNumber);
        else
            byNumber.insert(byNumber.end(), static_cast<size_t>(std::max(item->CountPlies(), 0)), PlyPlace());
    }
}

bool SamePlies(const std::vector<PlySimple> &a, const std::vector<PlySimple> &b)
{
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].Material() != b[i].Material() || a[i].Color() != b[i].Color()
            || ValuesDiffer(a[i].Thickness(), b[i].Thickness(), kPlyTolerance)
            || ValuesDiffer(a[i].Angle(), b[i].Angle(), kPlyTolerance))
            return false;
    }
    return true;
}

// Whether group's plies and links bear the numbers that Renumber(next) would
// give them; next then is the number after them.
bool Numbered(const PlyGroup &group, int &next)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (item.IsPly()) {
            if (item.Id() != next++)
                return false;
        } else if (const auto *inner = dynamic_cast<const PlyGroup *>(&item)) {
            if (!Numbered(*inner, next))
                return false;
        } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            if (link->FirstPlyNumber() != next)
                return false;
            next += link->CountPlies();
        } else {
            return false;
        }
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
    TraceLine("Paste: group w/same id");
    if (negated && !reversed)
        return nullptr;
    std::vector<PlySimple> present;
    std::vector<PlySimple> copied;
    dynamic_cast<const PlyGroupBase &>(*existing).ExpandedCopy().CollectPlies(present);
    dynamic_cast<const PlyGroupBase &>(original).ExpandedCopy().CollectPlies(copied);
    if (present.size() != copied.size())
        return nullptr;
    TraceLine("Paste: groups same?");
    if (!SamePlies(present, copied))
        return nullptr;
    TraceLine("Paste: create link");
    const int type = !reversed ? LinkRepeat : negated ? LinkAntisymmetry : LinkSymmetry;
    auto link = std::make_unique<PlyGroupLink>(id, existing->Id(), type, 1);
    TraceLine("Paste: clone is link");
    return link;
}

// The clipboard's items as a paste into work inserts them. A link whose target
// is pasted with it stays (the paste points it at the target's copy). A link
// to an item of work stands for that item; in a reversed or negated paste it
// becomes a group of its expansion instead, since the host keeps no transform
// of a link beyond its type. A link that finds its target nowhere stands for
// no plies and is left out, so that the paste adds no dangling link.
PlyGroup PasteSource(PlyGroup &work, const Layup &items, bool transformed)
{
    PlyGroup pool(-1, items);
    Layup &layup = pool.GetLayup();
    for (bool dropped = true; dropped;) {
        dropped = false;
        std::set<int> ids;
        for (int i = 0; i < layup.Size(); ++i) {
            if (layup[i]->IsGroupItem())
                ids.insert(layup[i]->Id());
        }
        Layup kept;
        for (int i = 0; i < layup.Size(); ++i) {
            const auto *link = dynamic_cast<const PlyGroupLink *>(layup[i].Get());
            if (!link || ids.count(link->TargetGroupId())) {
                kept.Add(layup[i]);
                continue;
            }
            PlyGroupLink probe(*link);
            probe.SetRoot(&work);
            if (!probe.Target())
                dropped = true;
            else if (transformed)
                kept.Add(new PlyGroup(link->Id(), probe.ExpandedCopy().GetLayup()));
            else
                kept.Add(layup[i]);
        }
        layup.Swap(kept);
    }
    pool.SetRoot(&pool);
    return pool;
}

// The plies that one pasted copy of pool adds to work, each item counted as at
// least one so that a repeated paste of empty groups is bounded too.
long long PliesPerCopy(PlyGroup &work, const PlyGroup &pool)
{
    long long plies = 0;
    const Layup &items = pool.GetLayup();
    for (int i = 0; i < items.Size(); ++i) {
        int count = items[i]->CountPlies();
        const auto *link = dynamic_cast<const PlyGroupLink *>(items[i].Get());
        if (link && !pool.FindGroup(link->TargetGroupId())) {
            PlyGroupLink probe(*link);
            probe.SetRoot(&work);
            count = probe.CountPlies();
        }
        plies += std::max(count, 1);
    }
    return plies;
}

// The length of the full stack of a flat list of plies under a stacking rule.
long long FullStack(long long plies, int stacking)
{
    switch (stacking) {
    case StackingFullSymmetric:
    case StackingFullRepeat:
        return 2 * plies;
    case StackingSymmetricWithCore:
    case StackingRepeatWithCore:
        return plies > 0 ? 2 * plies - 1 : 0;
    default:
        return plies;
    }
}

} // namespace

LayupManager::Impl::Impl(const MaterialCatalog *materials, Laminate *laminate, LamCommandTaker *taker)
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
                                        int count, bool renumber)
{
    const bool intoGroup = inserter.Group() != work.Id();
    if (intoGroup) {
        for (int i = 0; i < clipboard.items.Size(); ++i) {
            if (clipboard.items[i]->IsGroupItem()) {
                error = "Paste: cannot nest groups";
                return false;
            }
        }
        TraceLine("LayupManager::Impl::pasteClipboard pasting inside a group!");
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
    TraceLine("Paste: paste site located");

    const PlyGroup pool = PasteSource(work, clipboard.items, reversed || negated);
    if (count > 0) {
        // Counted before anything is built: a huge count must not exhaust memory first.
        const long long copies = std::min<long long>(count, kMaxPlies + 1);
        const long long plies = work.CountPlies() + copies * PliesPerCopy(work, pool);
        if (FullStack(plies, work.GetLayup().Stacking()) > kMaxPlies) {
            error = "Paste: too many plies";
            TraceLine(error);
            return false;
        }
    }

    Layup &layup = target->GetLayup();
    const int split = inserter.Position() - 1;
    // The pasted items are built apart, so that the searches of work below
    // see the layup as it was.
    Layup pasted;
    TraceLine("Paste: part 1 copied");

    const Layup &items = pool.GetLayup();
    PlyGroup source(pool);
    if (reversed)
        source.Reverse();
    if (negated)
        source.Mirror();
    source.AssignSerials(kPasteSerialStart);
    TraceLine("Paste: clipboard->source OK");

    int maxId = LargestGroupId(work);
    const Layup &sourceItems = source.GetLayup();
    const int n = sourceItems.Size();
    for (int repeat = 0; n > 0 && repeat < count; ++repeat) {
        // The ids that this copy gives the pasted groups and links, by their
        // ids in the clipboard, so that a pasted link repeats the pasted copy
        // of its target and not the original, which may be gone.
        std::map<int, int> copyIds;
        for (int k = 0, next = maxId; k < n; ++k) {
            if (sourceItems[k]->IsGroupItem())
                copyIds[sourceItems[k]->Id()] = ++next;
        }
        for (int k = 0; k < n; ++k) {
            std::unique_ptr<PlyBase> clone(sourceItems[k]->Clone());
            if (clone->IsGroupItem()) {
                clone->SetId(++maxId);
                TraceLine([&] { return std::string("pasting group, using id = ").append(std::to_string(maxId)); });
                if (auto *link = dynamic_cast<PlyGroupLink *>(clone.get())) {
                    const auto copy = copyIds.find(link->TargetGroupId());
                    if (copy != copyIds.end())
                        link->SetTargetGroupId(copy->second);
                }
                // The item of the clipboard that this source item was made from.
                const PlyBase &original = *items[reversed ? n - 1 - k : k];
                if (clipboard.filled) {
                    if (auto link = LinkToOriginal(work, original, maxId, reversed, negated)) {
                        link->SetSerial(clone->Serial());
                        clone = std::move(link);
                    }
                }
            }
            pasted.Add(clone.release());
            TraceLine("Paste: clone(s) added");
        }
    }
    TraceLine("Paste: clipboard copied");
    if (intoGroup)
        TraceLine("applying changes in group");
    if (split == layup.Size()) {
        // On top: appended in place rather than the whole list rebuilt.
        for (auto it = pasted.Begin(); it != pasted.End(); ++it)
            layup.Add(*it);
    } else {
        Layup merged;
        merged.SetStacking(layup.Stacking());
        for (int i = 0; i < split; ++i)
            merged.Add(layup[i]);
        for (auto it = pasted.Begin(); it != pasted.End(); ++it)
            merged.Add(*it);
        for (int i = split; i < layup.Size(); ++i)
            merged.Add(layup[i]);
        layup.Swap(merged);
    }
    TraceLine("Paste: part 2 copied");
    work.SetRoot(&work);
    if (renumber)
        work.Renumber(1);
    TraceLine("LayupManager::Impl::pasteClipboard done");
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
    // One walk for the whole selection: looking each number up from the bottom
    // of the stack takes time in the square of the plies when all are selected.
    // Room for every ply of a flat layup at once.
    std::vector<PlyPlace> byNumber;
    byNumber.reserve(static_cast<size_t>(work.GetLayup().Size()));
    NumberPlies(work, byNumber);
    for (const int number : plies) {
        const PlyPlace place = number >= 1 && number <= static_cast<int>(byNumber.size()) ? byNumber[number - 1]
                                                                                          : PlyPlace();
        // The work copy shares its plies with the laminate: the ply changed is a copy of its own.
        auto *ply = place.layup ? static_cast<PlySimple *>(place.layup->Unshare(place.index)) : nullptr;
        if (!ply) {
            TraceLine([&] {
                return std::string("Ply ")
                    .append(std::to_string(number))
                    .append(" not found for modification of ")
                    .append(what);
            });
            error = std::string("Ply not found for modification of ").append(what);
            return false;
        }
        changed = set(*ply) || changed;
    }
    if (changed)
        laminate->SetLayup(std::move(work));
    return true;
}

void LayupManager::Impl::Record(std::unique_ptr<LamCommand> command)
{
    if (taker)
        taker->Submit(std::move(command));
}

LayupManager::LayupManager(const MaterialCatalog *materials, Laminate *laminate, LamCommandTaker *taker)
    : impl_(std::make_unique<Impl>(materials, laminate, taker))
{
}

LayupManager::~LayupManager() = default;

void LayupManager::SetInsertBefore(bool before)
{
    impl_->insertBefore = before;
    ++impl_->insertSideChoices;
}

bool LayupManager::InsertBefore() const
{
    return impl_->insertBefore;
}

unsigned LayupManager::InsertSideChoices() const
{
    return impl_->insertSideChoices;
}

bool LayupManager::AddPly(const Selection &selection, int material, float thickness, float angle, int color)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    const PlyInserter inserter = d.ComputeInserter(work, selection.plies, selection.Groups(), d.insertBefore);
    if (!inserter.IsValid()) {
        d.error = "Invalid insertion operator";
        TraceLine([&] { return std::string("LayupManager::AddPly").append(d.error); });
        return false;
    }
    TraceLine("AddPly: inserter is valid");
    d.clipboard.Clear();
    auto *ply = new PlySimple(0, "");
    ply->SetMaterial(material);
    ply->SetThickness(thickness);
    ply->SetAngle(angle);
    ply->SetColor(color);
    d.clipboard.items.Add(ply);
    // Laminate::SetLayup numbers the plies.
    const bool pasted = d.pasteClipboard(work, inserter, false, false, 1, false);
    d.clipboard.Clear();
    if (pasted) {
        d.laminate->SetLayup(std::move(work));
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
        const bool differs = ValuesDiffer(ply.Thickness(), thickness, kPlyTolerance);
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
        const bool differs = ValuesDiffer(ply.Angle(), angle, kPlyTolerance);
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
    // Every layup the laminate installs is numbered already; a script calls
    // this after each edit, so the check comes before any copy.
    int next = 1;
    if (Numbered(impl_->laminate->RootGroup(), next))
        return;
    PlyGroup work = impl_->laminate->RootGroup();
    work.Renumber(1);
    impl_->laminate->SetLayup(std::move(work));
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
