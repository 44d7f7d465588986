#pragma once

#include "core/plygroupbase.h"

// How a link expands its target's plies; any other code expands like LinkRepeat.
enum LinkType : int {
    LinkRepeat = 0,       // in the same order
    LinkSymmetry = 1,     // in reverse order
    LinkAntisymmetry = 2, // in reverse order, every angle negated
};

// A ply item that stands for another group (or link) of the same tree, found
// by its group id in the root group given by SetRoot. The target is cached;
// the cache holds a share of the target, so an edit that drops the target
// leaves it stale but never dangling. The root itself is not owned: a link
// placed into another tree must be given that tree's root.
//
// A link is unresolved when it has no root, its target id names no group or
// link of the tree, or expanding the target would expand the link again (the
// target holds it, directly or through other links). An unresolved link
// stands for no plies.
class PlyGroupLink : public PlyGroupBase
{
public:
    // Named "Link"; unresolved until SetRoot.
    PlyGroupLink(int id, int targetGroupId, int linkType, int firstPlyNumber);
    // Copies are unresolved until SetRoot: they never point into the source's tree.
    PlyGroupLink(const PlyGroupLink &other);
    PlyGroupLink &operator=(const PlyGroupLink &other);
    ~PlyGroupLink() override;

    int TargetGroupId() const { return targetGroupId_; }
    // A different id drops the cached target.
    void SetTargetGroupId(int id);
    int LinkType() const { return linkType_; }
    void SetLinkType(int linkType) { linkType_ = linkType; }
    // Number of the first ply of the expansion, set by Renumber.
    int FirstPlyNumber() const { return firstPlyNumber_; }

    // The resolved target, or null; the tree owns it.
    const PlyGroupBase *Target() const;
    PlyGroupBase *MutableTarget();

    // Also requires a link with equal type, target id and first ply number, and
    // equal resolved targets (or both unresolved).
    bool IsEqual(const PlyBase &other) const override;
    PlyBase *Clone() const override;
    void CollectPlies(std::vector<PlySimple> &out) const override;
    int CountPlies() const override;
    // Stores first; returns the target's ply count. The target is not renumbered.
    int Renumber(int first) override;
    // Never change the target: the link records the reversal or mirroring and
    // applies it on top of its type. In a walk over a group that also holds the
    // target, the walk transforms the target and the link stays as it is.
    void Reverse() override;
    void Mirror() override;
    float Thickness() const override;

    void SetRoot(PlyGroup *root) override;
    void ResetLinks() override;
    int CountLinksTo(int groupId) const override;
    void CountLinks(std::unordered_map<int, int> &counts) const override;
    int MaxGroupId(int atLeast) const override;
    // A link holds no items: always a null handle.
    PlyHandle FindGroup(int id) override;
    ConstPlyHandle FindGroup(int id) const override;
    // This link when number lies in its expansion.
    PlyGroupBase *FindOwnerOfPly(int number) override;
    // The target's expansion, transformed by the link type, numbered from the
    // first ply number; an empty group with id 0 when unresolved.
    PlyGroup ExpandedCopy() const override;
    void ReverseWithin(const PlyGroupBase &scope) override;
    void MirrorWithin(const PlyGroupBase &scope) override;

private:
    bool Reversed() const;
    bool Negated() const;

    int targetGroupId_;
    int linkType_;
    int firstPlyNumber_;
    // Set when the link was reversed or mirrored on its own, applied on top of its type.
    bool reversed_ = false;
    bool mirrored_ = false;
    PlyGroup *root_ = nullptr;
    mutable PlyHandle target_;
    mutable bool resolved_ = false; // target_ is up to date
};
