#pragma once

#include <vector>

// What an editing operation acts on: group ids (groups and links, ascending)
// and ply numbers (in the caller's order), with the first and last group
// selected as anchors for linking. An anchor of 0 means none.
class Selection
{
public:
    Selection() = default;

    // Ply numbers of the selected simple plies; callers fill and read it directly.
    std::vector<int> plies;

    // Read-only view of this object's own group ids, ascending.
    const std::vector<int> &Groups() const { return groups_; }

    void Clear();       // plies and groups
    void ClearGroups(); // groups and both anchors; plies stay
    bool IsEmpty() const { return plies.empty() && groups_.empty(); }

    int FirstGroupAnchor() const { return firstAnchor_; }
    int LastGroupAnchor() const { return lastAnchor_; }
    bool ContainsGroup(int id) const;

    // Adds one group; the first call since the groups were cleared sets the
    // first anchor, each new id becomes the last anchor.
    void SelectGroup(int id);
    // Sets groups from ids (anchors: first and last of ids in the given order).
    // On a selection that already holds groups the new ids are merged in
    // without repetition, the last new one becoming the last anchor.
    void SetGroups(const std::vector<int> &ids);
    // Replaces the groups with ids, keeping the anchors where they are still selected.
    void ResetGroups(const std::vector<int> &ids);

private:
    std::vector<int> groups_;
    int firstAnchor_ = 0;
    int lastAnchor_ = 0;
};
