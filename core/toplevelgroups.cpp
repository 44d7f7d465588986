#include "core/toplevelgroups.h"

#include "core/layup.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"

#include <algorithm>

TopLevelGroups::TopLevelGroups(const Layup &layup)
    : marked_(static_cast<size_t>(layup.Size()), 0)
{
    int index = 0;
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it, ++index) {
        const PlyBase &item = **it;
        if (!item.IsGroupItem())
            continue;
        const auto *link = dynamic_cast<const PlyGroupLink *>(&item);
        byId_.push_back({item.Id(), index, item.Id(), link != nullptr});
        if (link)
            byTarget_.push_back({link->TargetGroupId(), index, item.Id(), true});
        else if (const auto *group = dynamic_cast<const PlyGroup *>(&item); group && !group->GetLayup().PliesOnly())
            flat_ = false;
    }
    const auto order = [](const Entry &a, const Entry &b) { return a.key != b.key ? a.key < b.key : a.index < b.index; };
    std::sort(byId_.begin(), byId_.end(), order);
    std::sort(byTarget_.begin(), byTarget_.end(), order);
}

std::pair<std::vector<TopLevelGroups::Entry>::const_iterator, std::vector<TopLevelGroups::Entry>::const_iterator>
TopLevelGroups::With(const std::vector<Entry> &entries, int id) const
{
    return std::equal_range(entries.begin(), entries.end(), Entry{id, 0, 0, false},
                            [](const Entry &a, const Entry &b) { return a.key < b.key; });
}

int TopLevelGroups::FirstOf(int id, bool linksOnly) const
{
    const auto [first, last] = With(byId_, id);
    for (auto entry = first; entry != last; ++entry) {
        if (!Marked(entry->index) && (entry->link || !linksOnly))
            return entry->index;
    }
    return -1;
}

int TopLevelGroups::First(int id) const
{
    return FirstOf(id, false);
}

int TopLevelGroups::FirstLink(int id) const
{
    return FirstOf(id, true);
}

void TopLevelGroups::Mark(int id)
{
    const auto [first, last] = With(byId_, id);
    for (auto entry = first; entry != last; ++entry)
        marked_[static_cast<size_t>(entry->index)] = 1;
    // The links that target a gone id went with it.
    if (!gone_.insert(id).second)
        return;
    std::vector<int> pending{id};
    while (!pending.empty()) {
        const auto [from, to] = With(byTarget_, pending.back());
        pending.pop_back();
        for (auto entry = from; entry != to; ++entry) {
            char &mark = marked_[static_cast<size_t>(entry->index)];
            if (mark)
                continue;
            mark = 1;
            if (gone_.insert(entry->id).second)
                pending.push_back(entry->id);
        }
    }
}
