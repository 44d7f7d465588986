// Groups and links.

#include "core/layupmanager.h"

#include "core/editcommands.h"
#include "core/laminate.h"
#include "core/layupmaker.h"
#include "core/layupmanager_p.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/selection.h"
#include "util/trace.h"

#include <algorithm>

namespace {

std::string Num(int value)
{
    return std::to_string(value);
}

// The index of item among layup's own items; -1 when it is not one of them.
int IndexOf(const Layup &layup, const PlyBase *item)
{
    for (int i = 0; i < layup.Size(); ++i) {
        if (layup[i].Get() == item)
            return i;
    }
    return -1;
}

std::vector<PlySimple> PliesOf(const PlyBase &item)
{
    std::vector<PlySimple> plies;
    item.CollectPlies(plies);
    return plies;
}

int LinkTypeOf(PlyMatch match)
{
    return match == PlyMatchReversed ? LinkSymmetry : match == PlyMatchAntisymmetric ? LinkAntisymmetry : LinkRepeat;
}

} // namespace

int LayupManager::Impl::LargestGroupId(const PlyGroup &work)
{
    int largest = work.MaxGroupId(0);
    const Layup &layup = work.GetLayup();
    for (auto it = layup.ConstBegin(); !layup.PliesOnly() && it != layup.ConstEnd(); ++it) {
        if (!(*it)->IsGroupItem())
            continue;
        if (const auto *link = dynamic_cast<const PlyGroupLink *>(it->Get()))
            largest = std::max(largest, link->TargetGroupId());
        else if (const auto *group = dynamic_cast<const PlyGroup *>(it->Get()))
            largest = std::max(largest, LargestGroupId(*group));
    }
    return largest;
}

bool LayupManager::CreateGroup(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    std::vector<int> plies = selection.plies;
    std::sort(plies.begin(), plies.end());
    plies.erase(std::unique(plies.begin(), plies.end()), plies.end());
    if (plies.empty()) {
        d.error = "empty list of plies";
        return false;
    }
    for (size_t i = 1; i < plies.size(); ++i) {
        const int expected = plies.front() + static_cast<int>(i);
        if (plies[i] != expected) {
            TraceLine([&] {
                return std::string("plies not consecutive: ply ").append(Num(expected)).append(" not selected");
            });
            d.error = "selected plies not consecutive";
            return false;
        }
    }
    TraceLine("CreateGroup: consecutive plies OK.");

    const auto selected = [&plies](const PlyBase &item) {
        return item.IsPly() && std::binary_search(plies.begin(), plies.end(), item.Id());
    };
    Layup &layup = work.GetLayup();
    Layup members;
    int last = -1;
    for (int i = 0; i < layup.Size(); ++i) {
        if (selected(*layup[i])) {
            members.Add(layup[i]);
            last = i;
        }
    }
    if (members.Size() < static_cast<int>(plies.size())) {
        d.error = "Some selected plies cannot be grouped";
        TraceLine(d.error);
        return false;
    }
    TraceLine("CreateGroup: plies identified.");

    // The group goes where the last member was; the members go.
    Layup rebuilt;
    rebuilt.SetStacking(layup.Stacking());
    for (int i = 0; i < layup.Size(); ++i) {
        if (i == last) {
            rebuilt.Add(new PlyGroup(Impl::LargestGroupId(work) + 1, members));
            TraceLine("CreateGroup: group created.");
        }
        if (!selected(*layup[i]))
            rebuilt.Add(layup[i]);
    }
    layup.Swap(rebuilt);
    TraceLine("CreateGroup: old plies deleted.");
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<GroupCommand>(selection));
    return true;
}

bool LayupManager::Ungroup(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    for (const int id : selection.Groups()) {
        const PlyHandle found = work.FindGroup(id);
        if (!found) {
            TraceLine([&] { return std::string("Could not find selected group ").append(Num(id)); });
            d.error = "Could not find selected group";
            return false;
        }
        const std::vector<PlySimple> plies = PliesOf(*found);
        Layup &layup = work.GetLayup();
        const int index = dynamic_cast<PlyGroup *>(found.Get()) ? IndexOf(layup, found.Get()) : -1;
        if (index < 0) {
            TraceLine([&] { return std::string("Could not find selected group ").append(Num(id)).append("\n"); });
            d.error = "Could not find selected group";
            return false;
        }
        Layup rebuilt;
        rebuilt.SetStacking(layup.Stacking());
        for (int i = 0; i < layup.Size(); ++i) {
            if (i == index)
                rebuilt.AddRange(plies.begin(), plies.end());
            rebuilt.Add(layup[i]);
        }
        layup.Swap(rebuilt);
        LayupMaker::RemoveGroupAndLinks(work, id);
        work.SetRoot(&work);
    }
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<UngroupCommand>(selection));
    return true;
}

bool LayupManager::Impl::LinkGroups(PlyGroup &work, int parentId, const std::vector<int> &children, bool strict)
{
    const PlyHandle parent = work.FindGroup(parentId);
    if (!parent) {
        error = "Error: tried to access a bogus parent group";
        TraceLine(error);
        return false;
    }
    const std::vector<PlySimple> parentPlies = PliesOf(*parent);
    const auto *parentLink = dynamic_cast<const PlyGroupLink *>(parent.Get());
    for (const int childId : children) {
        if (childId == parentId)
            continue;
        TraceLine([&] {
            return std::string("Trying to link group ")
                .append(Num(childId))
                .append(" to parent ")
                .append(Num(parentId));
        });
        const PlyHandle child = work.FindGroup(childId);
        if (!child) {
            TraceLine([&] { return std::string("Error, trying to access bogus group ").append(Num(childId)); });
            error = "Error: tried to access a bogus child group";
            return false;
        }
        if (parentLink)
            TraceLine("Parent is a PlyGroupLink");
        if (parentLink && parentLink->TargetGroupId() == childId) {
            TraceLine([&] {
                return std::string("Group ")
                    .append(Num(parentId))
                    .append(" is already a link to ")
                    .append(Num(childId));
            });
            if (strict) {
                error = "Parent group is linked to child group";
                return false;
            }
            continue;
        }
        TraceLine("Parent is NOT linked to child");
        const int references = dynamic_cast<const PlyGroupBase &>(*parent).CountLinksTo(childId);
        TraceLine([&] { return std::string("CountReferences returns ").append(Num(references)); });
        if (references > 0) {
            TraceLine([&] {
                return std::string("Group ").append(Num(parentId)).append(" depends on group ").append(Num(childId));
            });
            if (strict) {
                error = "Parent group is related to child group";
                return false;
            }
            continue;
        }
        const std::vector<PlySimple> childPlies = PliesOf(*child);
        if (childPlies.size() != parentPlies.size()) {
            if (strict) {
                error = "Groups have different size";
                return false;
            }
            TraceLine([&] {
                return std::string("Group ")
                    .append(Num(parentId))
                    .append(" and ")
                    .append(Num(childId))
                    .append(" have different size");
            });
            continue;
        }
        TraceLine("CreateLink: groups have same length");
        const PlyMatch match = LayupMaker::MatchPlies(parentPlies, childPlies);
        if (match == PlyMatchNone) {
            if (strict) {
                error = "Contents of selected groups do not match";
                return false;
            }
            TraceLine([&] {
                return std::string("Group ")
                    .append(Num(parentId))
                    .append(" and ")
                    .append(Num(childId))
                    .append(" do not match (cannot link)");
            });
            continue;
        }
        TraceLine("CreateLink: groups match");
        Layup &layup = work.GetLayup();
        const int index = IndexOf(layup, child.Get());
        if (index < 0) {
            error = "Error inserting link in layup";
            return false;
        }
        const int first = childPlies.empty() ? 0 : childPlies.front().Id();
        Layup rebuilt;
        rebuilt.SetStacking(layup.Stacking());
        for (int i = 0; i < layup.Size(); ++i) {
            if (i == index)
                rebuilt.Add(new PlyGroupLink(childId, parentId, LinkTypeOf(match), first));
            else
                rebuilt.Add(layup[i]);
        }
        layup.Swap(rebuilt);
        work.SetRoot(&work);
        TraceLine([&] {
            return std::string("CreateLink: group ")
                .append(Num(childId))
                .append(" now linked to parent group ")
                .append(Num(parentId));
        });
    }
    return true;
}

bool LayupManager::CreateLink(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    TraceLine("LayupManager::CreateLink begins");
    const std::vector<int> &groups = selection.Groups();
    if (groups.size() < 2) {
        d.error = "Unsuitable selection";
        return false;
    }
    int parent = selection.FirstGroupAnchor();
    if (!selection.ContainsGroup(parent))
        parent = groups.front() != selection.LastGroupAnchor() ? groups.front() : groups.back();
    int link = 0;
    for (const int id : groups) {
        const PlyHandle found = work.FindGroup(id);
        if (!found) {
            TraceLine([&] { return std::string("Error, group ").append(Num(id)).append(" not found"); });
            d.error = "Error, group not found";
            return false;
        }
        if (!dynamic_cast<const PlyGroupLink *>(found.Get()))
            continue;
        if (link) {
            TraceLine([&] {
                return std::string("Error, group ")
                    .append(Num(link))
                    .append(" and ")
                    .append(Num(id))
                    .append(" are already links");
            });
            d.error = "Error, groups already linked";
            return false;
        }
        link = id;
        parent = id;
    }
    if (!d.LinkGroups(work, parent, groups, groups.size() == 2))
        return false;
    TraceLine("CreateLink ends");
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<LinkCommand>(selection));
    return true;
}

bool LayupManager::Unlink(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    for (const int id : selection.Groups()) {
        Layup &layup = work.GetLayup();
        int index = -1;
        for (int i = 0; i < layup.Size() && index < 0; ++i) {
            if (layup[i]->Id() == id && dynamic_cast<const PlyGroupLink *>(layup[i].Get()))
                index = i;
        }
        if (index < 0) {
            TraceLine([&] { return std::string("Unlink: group ").append(Num(id)).append(" not found."); });
            d.error = "Selected group not found";
            return false;
        }
        const auto &link = dynamic_cast<const PlyGroupLink &>(*layup[index]);
        auto *group = new PlyGroup(id, link.ExpandedCopy().GetLayup());
        Layup rebuilt;
        rebuilt.SetStacking(layup.Stacking());
        for (int i = 0; i < layup.Size(); ++i) {
            if (i == index)
                rebuilt.Add(group);
            else
                rebuilt.Add(layup[i]);
        }
        layup.Swap(rebuilt);
        work.SetRoot(&work);
    }
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<UnlinkCommand>(selection));
    return true;
}
