#include "core/plygrouplink.h"

#include "core/plygroup.h"

#include <algorithm>
#include <unordered_set>

namespace {

const char *const kLinkName = "Link";

// True when expanding item would expand link again: item is the link, holds
// it, or reaches it through the targets of the links it holds.
bool Reaches(const PlyBase &item, const PlyGroupLink &link, const PlyGroup &root)
{
    // A group of plies alone, as most targets are, is answered without a walk.
    if (const auto *group = dynamic_cast<const PlyGroup *>(&item); group && group->GetLayup().PliesOnly())
        return false;
    std::vector<const PlyBase *> pending{&item};
    std::unordered_set<const PlyBase *> seen;
    while (!pending.empty()) {
        const PlyBase *current = pending.back();
        pending.pop_back();
        if (current == &link)
            return true;
        if (!seen.insert(current).second)
            continue;
        if (const auto *group = dynamic_cast<const PlyGroup *>(current)) {
            const Layup &layup = group->GetLayup();
            for (auto it = layup.ConstBegin(); !layup.PliesOnly() && it != layup.ConstEnd(); ++it) {
                if ((*it)->IsGroupItem())
                    pending.push_back(it->Get());
            }
        } else if (const auto *other = dynamic_cast<const PlyGroupLink *>(current)) {
            // The tree keeps the item alive after the handle goes.
            if (const ConstPlyHandle next = root.FindGroup(other->TargetGroupId()))
                pending.push_back(next.Get());
        }
    }
    return false;
}

// True when item lies in the tree below scope (link expansions not included).
bool Holds(const PlyGroupBase &scope, const PlyBase *item)
{
    const auto *group = dynamic_cast<const PlyGroup *>(&scope);
    if (!group || !item)
        return false;
    const Layup &layup = group->GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if (it->Get() == item)
            return true;
        if (const auto *child = dynamic_cast<const PlyGroup *>(it->Get()); child && Holds(*child, item))
            return true;
    }
    return false;
}

} // namespace

PlyGroupLink::PlyGroupLink(int id, int targetGroupId, int linkType, int firstPlyNumber)
    : PlyGroupBase(id, kLinkName), targetGroupId_(targetGroupId), linkType_(linkType),
      firstPlyNumber_(firstPlyNumber)
{
}

PlyGroupLink::PlyGroupLink(const PlyGroupLink &other)
    : PlyGroupBase(other), targetGroupId_(other.targetGroupId_), linkType_(other.linkType_),
      firstPlyNumber_(other.firstPlyNumber_), reversed_(other.reversed_), mirrored_(other.mirrored_)
{
}

PlyGroupLink &PlyGroupLink::operator=(const PlyGroupLink &other)
{
    if (this != &other) {
        PlyGroupBase::operator=(other);
        targetGroupId_ = other.targetGroupId_;
        linkType_ = other.linkType_;
        firstPlyNumber_ = other.firstPlyNumber_;
        reversed_ = other.reversed_;
        mirrored_ = other.mirrored_;
        root_ = nullptr;
        ResetLinks();
    }
    return *this;
}

PlyGroupLink::~PlyGroupLink() = default;

void PlyGroupLink::SetTargetGroupId(int id)
{
    if (id != targetGroupId_) {
        targetGroupId_ = id;
        ResetLinks();
    }
}

const PlyGroupBase *PlyGroupLink::Target() const
{
    if (!resolved_) {
        target_.Release();
        if (root_) {
            PlyHandle found = root_->FindGroup(targetGroupId_);
            const auto *target = dynamic_cast<const PlyGroupBase *>(found.Get());
            if (target && !Reaches(*target, *this, *root_))
                target_ = found;
        }
        resolved_ = true;
    }
    return static_cast<const PlyGroupBase *>(target_.Get());
}

PlyGroupBase *PlyGroupLink::MutableTarget()
{
    Target();
    return static_cast<PlyGroupBase *>(target_.Get());
}

bool PlyGroupLink::IsEqual(const PlyBase &other) const
{
    const auto *link = dynamic_cast<const PlyGroupLink *>(&other);
    if (!PlyBase::IsEqual(other) || !link || linkType_ != link->linkType_
        || targetGroupId_ != link->targetGroupId_ || firstPlyNumber_ != link->firstPlyNumber_
        || reversed_ != link->reversed_ || mirrored_ != link->mirrored_)
        return false;
    const PlyGroupBase *mine = Target();
    const PlyGroupBase *theirs = link->Target();
    if (!mine || !theirs)
        return !mine && !theirs;
    return mine->IsEqual(*theirs);
}

PlyBase *PlyGroupLink::Clone() const
{
    return new PlyGroupLink(*this);
}

void PlyGroupLink::CollectPlies(std::vector<PlySimple> &out) const
{
    const PlyGroupBase *target = Target();
    if (!target)
        return;
    // Collected from the target in place, so that links inside it resolve in
    // this tree; then transformed and numbered as ExpandedCopy does it.
    const size_t begin = out.size();
    target->CollectPlies(out);
    if (Reversed())
        std::reverse(out.begin() + static_cast<std::ptrdiff_t>(begin), out.end());
    int number = firstPlyNumber_;
    for (size_t i = begin; i < out.size(); ++i) {
        if (Negated())
            out[i].Mirror();
        out[i].SetId(number++);
    }
}

int PlyGroupLink::CountPlies() const
{
    const PlyGroupBase *target = Target();
    return target ? target->CountPlies() : 0;
}

int PlyGroupLink::Renumber(int first)
{
    firstPlyNumber_ = first;
    const PlyGroupBase *target = MutableTarget();
    return target ? target->CountPlies() : 0;
}

void PlyGroupLink::Reverse()
{
    ReverseWithin(*this);
}

void PlyGroupLink::Mirror()
{
    MirrorWithin(*this);
}

float PlyGroupLink::Thickness() const
{
    const PlyGroupBase *target = Target();
    return target ? target->Thickness() : 0.0f;
}

void PlyGroupLink::SetRoot(PlyGroup *root)
{
    if (root_ != root) {
        ResetLinks();
        root_ = root;
    }
}

void PlyGroupLink::ResetLinks()
{
    target_.Release();
    resolved_ = false;
}

int PlyGroupLink::CountLinksTo(int groupId) const
{
    const PlyGroupBase *target = Target();
    return (targetGroupId_ == groupId ? 1 : 0) + (target ? target->CountLinksTo(groupId) : 0);
}

void PlyGroupLink::CountLinks(std::unordered_map<int, int> &counts) const
{
    ++counts[targetGroupId_];
    if (const PlyGroupBase *target = Target())
        target->CountLinks(counts);
}

int PlyGroupLink::MaxGroupId(int atLeast) const
{
    return std::max(Id(), atLeast);
}

PlyHandle PlyGroupLink::FindGroup(int)
{
    return PlyHandle();
}

ConstPlyHandle PlyGroupLink::FindGroup(int) const
{
    return ConstPlyHandle();
}

PlyGroupBase *PlyGroupLink::FindOwnerOfPly(int number)
{
    return number >= firstPlyNumber_ && number < firstPlyNumber_ + CountPlies() ? this : nullptr;
}

PlyGroup PlyGroupLink::ExpandedCopy() const
{
    const PlyGroupBase *target = Target();
    PlyGroup expansion = target ? target->ExpandedCopy() : PlyGroup(0);
    // The copy is the root of its own links, so the walks below treat the
    // targets inside it as part of it.
    if (Reversed())
        expansion.Reverse();
    if (Negated())
        expansion.Mirror();
    expansion.Renumber(firstPlyNumber_);
    return expansion;
}

void PlyGroupLink::ReverseWithin(const PlyGroupBase &scope)
{
    // A target inside scope is reversed by the same walk; doing it here too
    // would undo it.
    if (!Holds(scope, Target()))
        reversed_ = !reversed_;
}

void PlyGroupLink::MirrorWithin(const PlyGroupBase &scope)
{
    if (!Holds(scope, Target()))
        mirrored_ = !mirrored_;
}

bool PlyGroupLink::Reversed() const
{
    return (linkType_ == LinkSymmetry || linkType_ == LinkAntisymmetry) != reversed_;
}

bool PlyGroupLink::Negated() const
{
    return (linkType_ == LinkAntisymmetry) != mirrored_;
}
