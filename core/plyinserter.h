#pragma once

#include <vector>

class PlyGroup;

// Where new items go: the group whose layup receives them (0 is the root), the
// 1-based index in that layup of the first new item (size + 1 appends on top)
// and the insertion side it was computed for.
class PlyInserter
{
public:
    PlyInserter() = default;
    PlyInserter(int group, int position, bool before) : group_(group), position_(position), before_(before) {}

    // The insertion point of a selection in work (a copy of the root group):
    // beside the selected group, or below the lowest (before) or above the
    // highest (after) selected ply, in the group that holds it. Invalid for
    // plies and groups together, two or more groups, a group that is not at the
    // top level, and a ply inside a link. A ply number that no item bears puts
    // the point at the bottom (before) or top (after) of the root.
    static PlyInserter Compute(PlyGroup &work, const std::vector<int> &plies, const std::vector<int> &groups,
                               bool before);

    int Group() const { return group_; }
    int Position() const { return position_; }
    bool Before() const { return before_; }
    bool After() const { return !before_; }
    bool IsValid() const { return group_ >= 0 && position_ >= 0; }

private:
    int group_ = -1;
    int position_ = 0;
    bool before_ = false;
};
