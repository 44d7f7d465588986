#include "core/plygroup.h"

#include <algorithm>
#include <type_traits>

namespace {

const char *const kGroupName = "Group";

// The group kind that matches a handle's constness.
template <class Handle>
using GroupOf = std::conditional_t<std::is_const_v<std::remove_pointer_t<decltype(std::declval<Handle>().Get())>>,
                                   const PlyGroup, PlyGroup>;

template <class Handle, class It>
Handle FindPlyIn(It first, It last, int number, int start)
{
    int counter = start;
    for (; first != last; ++first) {
        const Handle &item = *first;
        if (item->IsPly()) {
            if (++counter == number)
                return item;
        } else {
            const int count = item->CountPlies();
            if (counter < number && number <= counter + count) {
                // The plies of a link's expansion are not items of the tree.
                auto *group = dynamic_cast<GroupOf<Handle> *>(item.Get());
                return group ? group->FindPly(number, counter) : Handle();
            }
            counter += count;
        }
        if (counter > number)
            break;
    }
    return Handle();
}

template <class Handle, class It>
Handle FindGroupIn(It first, It last, int id)
{
    for (It it = first; it != last; ++it) {
        if (it->Get()->Id() == id && (*it)->IsGroupItem())
            return *it;
    }
    // Only groups are searched inside: a link holds no items.
    for (It it = first; it != last; ++it) {
        if (auto *group = dynamic_cast<GroupOf<Handle> *>(it->Get())) {
            Handle found = group->FindGroup(id);
            if (found)
                return found;
        }
    }
    return Handle();
}

} // namespace

PlyGroup::PlyGroup(int id)
    : PlyGroupBase(id, kGroupName)
{
}

PlyGroup::PlyGroup(int id, const Layup &layup)
    : PlyGroupBase(id, kGroupName), layup_(layup, Layup::Share)
{
    SetRoot(this);
}

PlyGroup::PlyGroup(const PlyGroup &other)
    : PlyGroupBase(other), layup_(other.layup_, Layup::Share)
{
    SetRoot(this);
}

PlyGroup::PlyGroup(PlyGroup &&other)
    : PlyGroupBase(other)
{
    layup_.Swap(other.layup_);
    layup_.SetStacking(other.layup_.Stacking());
    SetRoot(this);
}

PlyGroup &PlyGroup::operator=(const PlyGroup &other)
{
    if (this == &other)
        return *this;
    // Copy first: other may lie inside the items this group is about to release.
    Layup copy(other.layup_, Layup::Share);
    PlyGroupBase::operator=(other);
    layup_.Swap(copy);
    layup_.SetStacking(copy.Stacking());
    SetRoot(this);
    return *this;
}

PlyGroup &PlyGroup::operator=(PlyGroup &&other)
{
    if (this == &other)
        return *this;
    // Taken first: other may lie inside the items this group is about to release.
    Layup taken;
    taken.Swap(other.layup_);
    taken.SetStacking(other.layup_.Stacking());
    PlyGroupBase::operator=(other);
    layup_.Swap(taken);
    layup_.SetStacking(taken.Stacking());
    SetRoot(this);
    return *this;
}

PlyGroup::~PlyGroup() = default;

int PlyGroup::CountPliesExpanded() const
{
    const int n = CountPlies();
    switch (layup_.Stacking()) {
    case StackingFullSymmetric:
    case StackingFullRepeat:
        return 2 * n;
    case StackingSymmetricWithCore:
    case StackingRepeatWithCore:
        return n > 0 ? 2 * n - 1 : 0;
    default:
        return n;
    }
}

float PlyGroup::TotalThickness() const
{
    const float t = Thickness();
    switch (layup_.Stacking()) {
    case StackingFullSymmetric:
    case StackingFullRepeat:
        return 2.0f * t;
    case StackingSymmetricWithCore:
    case StackingRepeatWithCore: {
        // The core is the last ply of the whole flat list, wherever it lies.
        std::vector<PlySimple> flat;
        CollectPlies(flat);
        return flat.empty() ? 2.0f * t : 2.0f * t - flat.back().Thickness();
    }
    default:
        return t;
    }
}

void PlyGroup::CollectPliesExpanded(std::vector<PlySimple> &out) const
{
    std::vector<PlySimple> flat;
    CollectPlies(flat);
    out.insert(out.end(), flat.begin(), flat.end());
    if (flat.empty())
        return;
    switch (layup_.Stacking()) {
    case StackingFullSymmetric:
        out.insert(out.end(), flat.rbegin(), flat.rend());
        break;
    case StackingSymmetricWithCore:
        out.insert(out.end(), flat.rbegin() + 1, flat.rend());
        break;
    case StackingFullRepeat:
        out.insert(out.end(), flat.begin(), flat.end());
        break;
    case StackingRepeatWithCore:
        out.insert(out.end(), flat.begin(), flat.end() - 1);
        break;
    default:
        break;
    }
}

PlyHandle PlyGroup::FindPly(int number, int start)
{
    return FindPlyIn<PlyHandle>(layup_.Begin(), layup_.End(), number, start);
}

ConstPlyHandle PlyGroup::FindPly(int number, int start) const
{
    return FindPlyIn<ConstPlyHandle>(layup_.ConstBegin(), layup_.ConstEnd(), number, start);
}

int PlyGroup::AssignSerials(int start)
{
    int counter = start;
    for (int i = 0; i < layup_.Size(); ++i) {
        PlyBase *item = layup_[i].Get();
        if (item->Serial() != counter) {
            item = layup_.Unshare(i);
            item->SetSerial(counter);
        }
        ++counter;
        // The counter continues from the group's result, so serials stay unique.
        if (auto *group = item->IsGroupItem() ? dynamic_cast<PlyGroup *>(item) : nullptr)
            counter = group->AssignSerials(counter);
    }
    return counter;
}

bool PlyGroup::IsEqual(const PlyBase &other) const
{
    const auto *group = dynamic_cast<const PlyGroup *>(&other);
    return PlyBase::IsEqual(other) && group && layup_ == group->layup_;
}

PlyBase *PlyGroup::Clone() const
{
    return new PlyGroup(*this);
}

void PlyGroup::CollectPlies(std::vector<PlySimple> &out) const
{
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it)
        (*it)->CollectPlies(out);
}

int PlyGroup::CountPlies() const
{
    if (layup_.PliesOnly())
        return layup_.Size();
    int count = 0;
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it)
        count += (*it)->CountPlies();
    return count;
}

int PlyGroup::Renumber(int first)
{
    int used = 0;
    int index = 0;
    for (auto it = layup_.Begin(); it != layup_.End(); ++it, ++index) {
        const PlyBase *item = it->Get();
        // A ply that keeps its number is left alone, so that a copy keeps sharing it.
        if (item->IsPly() && item->Id() == first + used)
            ++used;
        else
            used += layup_.Unshare(index)->Renumber(first + used);
    }
    return used;
}

void PlyGroup::Reverse()
{
    ReverseWithin(*this);
}

void PlyGroup::Mirror()
{
    MirrorWithin(*this);
}

float PlyGroup::Thickness() const
{
    float thickness = 0.0f;
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it)
        thickness += (*it)->Thickness();
    return thickness;
}

void PlyGroup::SetRoot(PlyGroup *root)
{
    if (layup_.PliesOnly())
        return;
    for (auto it = layup_.Begin(); it != layup_.End(); ++it) {
        if (auto *group = dynamic_cast<PlyGroupBase *>(it->Get()))
            group->SetRoot(root);
    }
    ResetLinks();
}

void PlyGroup::ResetLinks()
{
    if (layup_.PliesOnly())
        return;
    for (auto it = layup_.Begin(); it != layup_.End(); ++it) {
        if (auto *group = dynamic_cast<PlyGroupBase *>(it->Get()))
            group->ResetLinks();
    }
}

int PlyGroup::CountLinksTo(int groupId) const
{
    int count = 0;
    if (layup_.PliesOnly())
        return count;
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it) {
        if (auto *group = dynamic_cast<const PlyGroupBase *>(it->Get()))
            count += group->CountLinksTo(groupId);
    }
    return count;
}

void PlyGroup::CountLinks(std::unordered_map<int, int> &counts) const
{
    if (layup_.PliesOnly())
        return;
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it) {
        if (auto *group = dynamic_cast<const PlyGroupBase *>(it->Get()))
            group->CountLinks(counts);
    }
}

int PlyGroup::MaxGroupId(int atLeast) const
{
    int result = std::max(Id(), atLeast);
    if (layup_.PliesOnly())
        return result;
    for (auto it = layup_.ConstBegin(); it != layup_.ConstEnd(); ++it) {
        if (auto *group = dynamic_cast<const PlyGroupBase *>(it->Get()))
            result = group->MaxGroupId(result);
    }
    return result;
}

PlyHandle PlyGroup::FindGroup(int id)
{
    return !layup_.PliesOnly() ? FindGroupIn<PlyHandle>(layup_.Begin(), layup_.End(), id) : PlyHandle();
}

ConstPlyHandle PlyGroup::FindGroup(int id) const
{
    return !layup_.PliesOnly() ? FindGroupIn<ConstPlyHandle>(layup_.ConstBegin(), layup_.ConstEnd(), id)
                                : ConstPlyHandle();
}

PlyGroupBase *PlyGroup::FindOwnerOfPly(int number)
{
    for (auto it = layup_.Begin(); it != layup_.End(); ++it) {
        if ((*it)->IsPly() && (*it)->Id() == number)
            return this;
    }
    if (layup_.PliesOnly())
        return nullptr;
    for (auto it = layup_.Begin(); it != layup_.End(); ++it) {
        if (auto *group = dynamic_cast<PlyGroupBase *>(it->Get())) {
            if (PlyGroupBase *owner = group->FindOwnerOfPly(number))
                return owner;
        }
    }
    return nullptr;
}

PlyGroup PlyGroup::ExpandedCopy() const
{
    return *this;
}

void PlyGroup::ReverseWithin(const PlyGroupBase &scope)
{
    // Handles move to the new list unchanged: the items are shared, not cloned.
    Layup reversed;
    for (int i = layup_.Size() - 1; i >= 0; --i) {
        const PlyHandle &item = layup_[i];
        if (auto *group = item->IsGroupItem() ? dynamic_cast<PlyGroupBase *>(item.Get()) : nullptr)
            group->ReverseWithin(scope);
        else
            item->Reverse();
        reversed.Add(item);
    }
    layup_.Swap(reversed);
}

void PlyGroup::MirrorWithin(const PlyGroupBase &scope)
{
    for (int i = 0; i < layup_.Size(); ++i) {
        if (auto *group = layup_[i]->IsGroupItem() ? dynamic_cast<PlyGroupBase *>(layup_[i].Get()) : nullptr)
            group->MirrorWithin(scope);
        else
            layup_.Unshare(i)->Mirror();
    }
}
