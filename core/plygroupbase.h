#pragma once

#include "core/plybase.h"
#include "core/plyhandle.h"

#include <unordered_map>

class PlyGroup;

// Common base of the two group kinds, PlyGroup and PlyGroupLink: the operations
// that walk the tree and resolve links.
class PlyGroupBase : public PlyBase
{
public:
    PlyGroupBase(int id, const std::string &name);

    bool IsEqual(const PlyBase &other) const override = 0;

    // Tells every link in this subtree which group is the root of the whole
    // tree (where link targets are searched) and drops the cached targets.
    virtual void SetRoot(PlyGroup *root) = 0;
    // Forgets every cached link target in this subtree.
    virtual void ResetLinks() = 0;
    // The number of links in this subtree (resolved targets included) whose
    // target group id is groupId.
    virtual int CountLinksTo(int groupId) const = 0;
    // Adds to counts, by target group id, the links CountLinksTo counts: the
    // counts for every group in one walk.
    virtual void CountLinks(std::unordered_map<int, int> &counts) const = 0;
    // The largest of atLeast, this item's id and the ids of the groups and links below it.
    virtual int MaxGroupId(int atLeast) const = 0;
    // The group or link with that id below this item (not the item itself),
    // direct children first; a null handle when there is none.
    virtual PlyHandle FindGroup(int id) = 0;
    virtual ConstPlyHandle FindGroup(int id) const = 0;
    // The group or link that directly holds the simple ply numbered number (for
    // a ply at the top level of the root: the root); null when not in this subtree.
    virtual PlyGroupBase *FindOwnerOfPly(int number) = 0;
    // A plain group that stands for this item: a group's copy, or a link's
    // target transformed by the link type and numbered from its first ply.
    virtual PlyGroup ExpandedCopy() const = 0;

    // Reverse and Mirror as one step of a walk over scope, a group that holds
    // this item. A link whose target lies inside scope leaves itself alone,
    // because the same walk transforms that target.
    virtual void ReverseWithin(const PlyGroupBase &scope) = 0;
    virtual void MirrorWithin(const PlyGroupBase &scope) = 0;
};
