#pragma once

#include "core/layup.h"
#include "core/plygroupbase.h"

// A group of ply items; the root of a laminate's tree is a PlyGroup whose
// layup's stacking code is the laminate's stacking rule. Every copy makes
// itself the root of its links (SetRoot(this)); code that places a group into
// a larger tree calls SetRoot with the real root afterwards.
//
// Copies share the simple plies with their source (Layup's sharing copy) and
// clone the groups and links; the group's own operations copy a shared ply
// before they change it, so a copy never changes its source. A ply reached
// through a handle (FindPly, the layup's items) may be shared: change it only
// through the layup's Unshare.
class PlyGroup : public PlyGroupBase
{
public:
    explicit PlyGroup(int id);
    // A copy of layup, its stacking code included.
    PlyGroup(int id, const Layup &layup);
    PlyGroup(const PlyGroup &other);
    // Takes other's items; other is left empty.
    PlyGroup(PlyGroup &&other);
    // Safe when other lies inside this group.
    PlyGroup &operator=(const PlyGroup &other);
    PlyGroup &operator=(PlyGroup &&other);
    ~PlyGroup() override;

    Layup &GetLayup() { return layup_; }
    const Layup &GetLayup() const { return layup_; }

    // Ply count and thickness of the full stack of the layup's stacking rule.
    int CountPliesExpanded() const;
    float TotalThickness() const;
    // Appends the full stack: the flat list followed by its part that the
    // stacking rule repeats.
    void CollectPliesExpanded(std::vector<PlySimple> &out) const;
    // The simple ply at stack position number, where start plies lie below this
    // group; a null handle when the position is outside the group or inside a
    // link's expansion.
    PlyHandle FindPly(int number, int start);
    ConstPlyHandle FindPly(int number, int start) const;
    // Gives every item below this group a serial, from start upward in
    // pre-order; returns the next unused serial. This group's serial stays.
    int AssignSerials(int start);

    bool IsEqual(const PlyBase &other) const override;
    PlyBase *Clone() const override;
    void CollectPlies(std::vector<PlySimple> &out) const override;
    int CountPlies() const override;
    int Renumber(int first) override;
    void Reverse() override;
    void Mirror() override;
    float Thickness() const override;

    void SetRoot(PlyGroup *root) override;
    void ResetLinks() override;
    int CountLinksTo(int groupId) const override;
    void CountLinks(std::unordered_map<int, int> &counts) const override;
    int MaxGroupId(int atLeast) const override;
    PlyHandle FindGroup(int id) override;
    ConstPlyHandle FindGroup(int id) const override;
    PlyGroupBase *FindOwnerOfPly(int number) override;
    PlyGroup ExpandedCopy() const override;
    void ReverseWithin(const PlyGroupBase &scope) override;
    void MirrorWithin(const PlyGroupBase &scope) override;

private:
    Layup layup_;
};
