#include "core/plytag.h"

#include "core/plygroup.h"
#include "core/selection.h"
#include "util/trace.h"

#include <optional>
#include <string>

namespace {

// The serial of the simple ply numbered number among group's own items.
std::optional<int> SerialOf(const PlyGroup &group, int number)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if ((*it)->Id() == number && dynamic_cast<const PlySimple *>(it->Get()))
            return (*it)->Serial();
    }
    return std::nullopt;
}

size_t Held(const Selection &selection)
{
    return selection.plies.size() + selection.Groups().size();
}

// The walk of PlyTag::collect, with the id under which group's plies are
// tagged; true once out is complete.
bool Collect(const PlyGroup &group, int parent, const std::set<PlyTag> &tags, Selection &out)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (const auto *inner = dynamic_cast<const PlyGroupBase *>(&item)) {
            if (tags.count(PlyTag{PlyTagGroup, item.Id(), 0})) {
                out.SelectGroup(item.Id());
                if (Held(out) >= tags.size())
                    return true;
            }
            bool done = false;
            if (const auto *plain = dynamic_cast<const PlyGroup *>(inner)) {
                done = Collect(*plain, plain->Id(), tags, out);
            } else {
                // A link's expansion is a copy of its target under the target's
                // id; its plies are tagged with the link's.
                done = Collect(inner->ExpandedCopy(), item.Id(), tags, out);
            }
            if (done)
                return true;
        } else if (tags.count(PlyTag{PlyTagPly, item.Serial(), parent})) {
            out.plies.push_back(item.Id());
            if (Held(out) >= tags.size())
                return true;
        }
    }
    return false;
}

} // namespace

bool PlyTag::operator<(const PlyTag &other) const
{
    if (kind != other.kind)
        return kind == PlyTagPly;
    if (kind == PlyTagGroup)
        return index < other.index;
    return parent != other.parent ? parent < other.parent : index < other.index;
}

std::set<PlyTag> PlyTag::fromSelection(const PlyGroup &work, const Selection &selection)
{
    TraceLine("Begin PlyTag::fromSelection\n");
    std::set<PlyTag> tags;
    // The owner lookup only reads the tree; it is declared for mutable trees.
    auto &tree = const_cast<PlyGroup &>(work);
    for (const int number : selection.plies) {
        PlyGroupBase *owner = tree.FindOwnerOfPly(number);
        std::optional<int> serial;
        if (const auto *group = dynamic_cast<const PlyGroup *>(owner))
            serial = SerialOf(*group, number);
        else if (owner)
            serial = SerialOf(owner->ExpandedCopy(), number);
        if (serial)
            tags.insert(PlyTag{PlyTagPly, *serial, owner->Id()});
        else
            TraceLine([&] {
                return std::string("ply ")
                    .append(std::to_string(number))
                    .append(" not found in PlyTag::fromSelection!\n");
            });
    }
    for (const int id : selection.Groups()) {
        if (work.FindGroup(id))
            tags.insert(PlyTag{PlyTagGroup, id, 0});
        else
            TraceLine([&] {
                return std::string("group ")
                    .append(std::to_string(id))
                    .append(" not found in PlyTag::fromSelection!\n");
            });
    }
    return tags;
}

Selection PlyTag::toSelection(const PlyGroup &work, const std::set<PlyTag> &tags)
{
    Selection selection;
    if (!tags.empty())
        collect(work, tags, selection);
    return selection;
}

void PlyTag::collect(const PlyGroup &group, const std::set<PlyTag> &tags, Selection &out)
{
    Collect(group, group.Id(), tags, out);
}
