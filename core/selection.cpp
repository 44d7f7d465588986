#include "core/selection.h"

#include <algorithm>

void Selection::Clear()
{
    plies.clear();
    ClearGroups();
}

void Selection::ClearGroups()
{
    groups_.clear();
    firstAnchor_ = 0;
    lastAnchor_ = 0;
}

bool Selection::ContainsGroup(int id) const
{
    return std::binary_search(groups_.begin(), groups_.end(), id);
}

void Selection::SelectGroup(int id)
{
    if (firstAnchor_ == 0)
        firstAnchor_ = id;
    if (ContainsGroup(id))
        return;
    lastAnchor_ = id;
    groups_.insert(std::upper_bound(groups_.begin(), groups_.end(), id), id);
}

void Selection::SetGroups(const std::vector<int> &ids)
{
    if (ids.empty())
        return;
    if (groups_.empty()) {
        groups_ = ids;
        std::sort(groups_.begin(), groups_.end());
        firstAnchor_ = ids.front();
        lastAnchor_ = ids.back();
        return;
    }
    for (int id : ids) {
        if (!ContainsGroup(id)) {
            groups_.insert(std::upper_bound(groups_.begin(), groups_.end(), id), id);
            lastAnchor_ = id;
        }
    }
}

void Selection::ResetGroups(const std::vector<int> &ids)
{
    if (ids.empty()) {
        ClearGroups();
        return;
    }
    if (groups_.empty()) {
        SetGroups(ids);
        return;
    }
    const auto newId = std::find_if(ids.rbegin(), ids.rend(), [this](int id) { return !ContainsGroup(id); });
    if (newId != ids.rend())
        lastAnchor_ = *newId;
    groups_ = ids;
    std::sort(groups_.begin(), groups_.end());
    if (newId == ids.rend() && !ContainsGroup(lastAnchor_))
        lastAnchor_ = ids.back();
    if (!ContainsGroup(firstAnchor_))
        firstAnchor_ = ids.front();
}
