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
#include "core/toplevelgroups.h"
#include "util/trace.h"

#include <algorithm>

namespace {

std::string Num(int value)
{
    return std::to_string(value);
}

std::vector<PlySimple> PliesOf(const PlyBase &item)
{
    std::vector<PlySimple> plies;
    item.CollectPlies(plies);
    return plies;
}

// The group or link with id, as work.FindGroup finds it, groups being the
// tables of work's top level.
PlyHandle FindGroup(PlyGroup &work, const TopLevelGroups &groups, int id)
{
    const int index = groups.First(id);
    if (index >= 0)
        return work.GetLayup()[index];
    return groups.Flat() ? PlyHandle() : work.FindGroup(id);
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

// Each group goes as if one at a time, in ascending order, but the top level
// is rebuilt once: a group's plies wait, by its place, for the sweep, and the
// group and the links that go with it are marked. Only a group that holds
// groups or links sees the tree that the groups before it left (its links may
// have targeted them), so the pending work is swept before its plies are taken.
bool LayupManager::Ungroup(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    Layup &layup = work.GetLayup();
    TopLevelGroups groups(layup);
    std::vector<std::pair<int, Layup>> pliesAt; // by the place of their group
    bool pending = false;
    const auto sweep = [&] {
        std::sort(pliesAt.begin(), pliesAt.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        auto next = pliesAt.begin();
        Layup rebuilt;
        rebuilt.SetStacking(layup.Stacking());
        for (int i = 0; i < layup.Size(); ++i) {
            if (next != pliesAt.end() && next->first == i) {
                for (auto ply = next->second.Begin(); ply != next->second.End(); ++ply)
                    rebuilt.Add(*ply);
                ++next;
            }
            if (!groups.Marked(i))
                rebuilt.Add(layup[i]);
        }
        layup.Swap(rebuilt);
        work.SetRoot(&work);
        groups = TopLevelGroups(layup);
        pliesAt.clear();
        pending = false;
    };
    for (const int id : selection.Groups()) {
        int index = groups.First(id);
        if (index < 0 || !dynamic_cast<const PlyGroup *>(layup[index].Get())) {
            // Not on the top level: is it inside a group? Only the log line tells.
            if (index < 0 && pending)
                sweep();
            if (index < 0 && !work.FindGroup(id))
                TraceLine([&] { return std::string("Could not find selected group ").append(Num(id)); });
            else
                TraceLine([&] { return std::string("Could not find selected group ").append(Num(id)).append("\n"); });
            d.error = "Could not find selected group";
            return false;
        }
        const Layup *members = &dynamic_cast<const PlyGroup &>(*layup[index]).GetLayup();
        if (!members->PliesOnly() && pending) {
            sweep();
            index = groups.First(id);
            members = &dynamic_cast<const PlyGroup &>(*layup[index]).GetLayup();
        }
        if (members->PliesOnly()) {
            // The plies themselves, shared as copies of a layup share them.
            pliesAt.emplace_back(index, Layup(*members, Layup::Share));
        } else {
            const std::vector<PlySimple> plies = PliesOf(*layup[index]);
            pliesAt.emplace_back(index, Layup());
            pliesAt.back().second.AddRange(plies.begin(), plies.end());
        }
        groups.Mark(id);
        pending = true;
    }
    if (pending)
        sweep();
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<UngroupCommand>(selection));
    return true;
}

// The children are replaced in place, one by one, so that the top level's
// tables stay valid. A link whose cached target is a replaced child would still
// expand the child; the tree is re-rooted before anything is expanded that could
// reach one, which in a flat tree a plain group's plies and the parent's links
// never do (a child that the parent reaches is never linked).
bool LayupManager::Impl::LinkGroups(PlyGroup &work, int parentId, const std::vector<int> &children, bool strict)
{
    Layup &layup = work.GetLayup();
    const TopLevelGroups groups(layup);
    bool stale = false;
    const PlyHandle parent = FindGroup(work, groups, parentId);
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
        const PlyHandle child = FindGroup(work, groups, childId);
        if (!child) {
            TraceLine([&] { return std::string("Error, trying to access bogus group ").append(Num(childId)); });
            error = "Error: tried to access a bogus child group";
            return false;
        }
        if (stale && !(groups.Flat() && dynamic_cast<const PlyGroup *>(child.Get()))) {
            work.SetRoot(&work);
            stale = false;
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
        const int index = groups.First(childId);
        if (index < 0) {
            error = "Error inserting link in layup";
            return false;
        }
        const int first = childPlies.empty() ? 0 : childPlies.front().Id();
        layup.Replace(index, new PlyGroupLink(childId, parentId, LinkTypeOf(match), first));
        stale = true;
        TraceLine([&] {
            return std::string("CreateLink: group ")
                .append(Num(childId))
                .append(" now linked to parent group ")
                .append(Num(parentId));
        });
    }
    if (stale)
        work.SetRoot(&work);
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
    const TopLevelGroups topLevel(work.GetLayup());
    int link = 0;
    for (const int id : groups) {
        const PlyHandle found = FindGroup(work, topLevel, id);
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

// Each link is replaced in place by its group. In a flat tree a link whose
// cached target is a replaced link expands as the group that replaced it, so
// the tree is re-rooted once at the end; otherwise before each expansion.
bool LayupManager::Unlink(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyGroup work = d.laminate->RootGroup();
    Layup &layup = work.GetLayup();
    const TopLevelGroups groups(layup);
    bool stale = false;
    for (const int id : selection.Groups()) {
        const int index = groups.FirstLink(id);
        if (index < 0) {
            TraceLine([&] { return std::string("Unlink: group ").append(Num(id)).append(" not found."); });
            d.error = "Selected group not found";
            return false;
        }
        if (stale && !groups.Flat())
            work.SetRoot(&work);
        const auto &link = dynamic_cast<const PlyGroupLink &>(*layup[index]);
        layup.Replace(index, new PlyGroup(id, link.ExpandedCopy().GetLayup()));
        stale = true;
    }
    if (stale)
        work.SetRoot(&work);
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<UnlinkCommand>(selection));
    return true;
}
