#pragma once

#include "core/plyhandle.h"
#include "core/plysimple.h"

#include <vector>

// Stacking rule of a root layup; any other code behaves as StackingSimple.
enum StackingRule : int {
    StackingSimple = 0,            // A
    StackingFullSymmetric = 1,     // A, then A reversed
    StackingSymmetricWithCore = 2, // A, then A reversed without its first ply
    StackingFullRepeat = 3,        // A, then A
    StackingRepeatWithCore = 4,    // A, then A without its last ply
};

// An ordered list of ply items, bottom of the stack first, with a stacking
// code. Items are held by shared handles in two parallel lists: one for
// changing items, one for reading them. Copies are deep; a sharing copy (what
// copies of groups and laminates make) shares the simple plies with its source
// and clones the groups and links, and a shared ply is copied when it is
// changed through Unshare.
//
// The lists never hold a null handle. Erasing or replacing items may leave
// links elsewhere in the tree with stale targets: whoever edits a tree calls
// SetRoot on its root before the links are used again.
class Layup
{
public:
    using Iterator = std::vector<PlyHandle>::const_iterator;
    using ConstIterator = std::vector<ConstPlyHandle>::const_iterator;
    enum SharePlies { Share };

    Layup() = default;
    // Deep copy: every item cloned, nothing shared.
    Layup(const Layup &other);
    // The simple plies' holders shared with other, groups and links cloned
    // (themselves sharing their plies).
    Layup(const Layup &other, SharePlies);
    // Takes other's items; other keeps its stacking code and no items.
    Layup(Layup &&other) noexcept;
    // Deep copy; safe when other lies inside one of this layup's items.
    Layup &operator=(const Layup &other);
    Layup &operator=(Layup &&other) noexcept;
    virtual ~Layup();

    // Same stacking, same size and items pairwise IsEqual.
    bool operator==(const Layup &other) const;

    int Size() const { return static_cast<int>(plies_.size()); }
    int Stacking() const { return stacking_; }
    void SetStacking(int stacking) { stacking_ = stacking; }

    // The handles themselves cannot be replaced through these, so the two
    // lists stay parallel; the items can be changed.
    Iterator Begin() { return plies_.cbegin(); }
    Iterator End() { return plies_.cend(); }
    ConstIterator ConstBegin() const { return const_plies_.cbegin(); }
    ConstIterator ConstEnd() const { return const_plies_.cend(); }
    // Throws std::out_of_range unless 0 <= index < Size().
    const PlyHandle &operator[](int index);
    const ConstPlyHandle &operator[](int index) const;

    // Appends the same holder (shared with its other owners). Returns false and
    // adds nothing for a null handle.
    bool Add(const PlyHandle &item);
    // Takes ownership of a newly made item and appends it. Returns false and
    // adds nothing for null.
    bool Add(PlyBase *item);
    // Appends a new heap copy of each ply of the range, in order.
    template <class It>
    void AddRange(It first, It last)
    {
        for (; first != last; ++first)
            Add(new PlySimple(*first));
    }
    // Inserts the shared item before position; returns the new item's position.
    // A null handle is refused: nothing is inserted and End() is returned.
    // Throws std::out_of_range for a position outside Begin()..End().
    Iterator Insert(Iterator position, const PlyHandle &item);
    // Removes the item at position from both lists; returns the position after it.
    // Throws std::out_of_range for a position outside Begin()..End()-1.
    Iterator Erase(Iterator position);
    // Puts a newly made item, taking ownership, in the place of the one at
    // index, which is released. Returns false and changes nothing for null.
    // Throws std::out_of_range unless 0 <= index < Size().
    bool Replace(int index, PlyBase *item);
    // Releases every item; the stacking code stays.
    void Clear();
    // Exchanges the items with other; the stacking codes stay where they were.
    void Swap(Layup &other) noexcept;

    // The item at index, to be changed: a simple ply that another layup also
    // holds is first replaced here by a copy of its own, so that the change
    // stays in this layup. Throws std::out_of_range unless 0 <= index < Size().
    PlyBase *Unshare(int index);
    // Whether every item is a simple ply, so that walks over the groups of a
    // tree can pass over plain lists of plies.
    bool PliesOnly() const { return others_ == 0; }

private:
    void ReserveOneMore();
    static bool IsGroup(const PlyBase &item);
    static int Other(const PlyBase &item) { return item.IsPly() ? 0 : 1; }

    int stacking_ = StackingSimple;
    int others_ = 0; // items that are not simple plies
    std::vector<PlyHandle> plies_;
    std::vector<ConstPlyHandle> const_plies_;
};
