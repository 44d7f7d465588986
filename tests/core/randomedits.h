#pragma once

// Random edits of a laminate through its layup manager, of every kind and
// with selections that are mostly sensible and sometimes not, for property
// tests. The material palette is small so that groups often match and links
// can be made.

#include "core/layupmanager.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/selection.h"

#include <algorithm>
#include <random>
#include <vector>

namespace layuptest {

enum EditKind {
    EditAdd,
    EditModify,
    EditDelete,
    EditCut,
    EditCopy,
    EditPaste,
    EditGroup,
    EditUngroup,
    EditLink,
    EditUnlink,
};

struct RandomEdit
{
    EditKind kind;
    bool done;           // the manager's result
    Selection selection; // as the edit was called with it
    Selection after;     // a paste's rewritten selection
};

class RandomEdits
{
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    template <class T, size_t N>
    T PickOf(const T (&values)[N])
    {
        return values[Pick(0, static_cast<int>(N) - 1)];
    }

    // One edit of the laminate whose root is given; big layups mostly shrink.
    RandomEdit Run(LayupManager &manager, const PlyGroup &root)
    {
        const int plies = root.CountPlies();
        if (plies > 40)
            return Shrink(manager, root, plies);
        // Weighted so that layups grow to a few dozen plies with several groups and links.
        static const EditKind kinds[] = {EditAdd,   EditAdd,   EditModify, EditDelete, EditCut,   EditCopy,
                                         EditCopy,  EditPaste, EditPaste,  EditPaste,  EditGroup, EditGroup,
                                         EditGroup, EditUngroup, EditLink, EditLink,   EditLink,  EditUnlink};
        const EditKind kind = PickOf(kinds);
        RandomEdit edit{kind, false, {}, {}};
        const float thicknesses[] = {0.25f, 0.5f};
        const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
        switch (kind) {
        case EditAdd:
            edit.selection = Insertion(root, plies);
            manager.SetInsertBefore(Chance(50));
            edit.done = manager.AddPly(edit.selection, Pick(1, 3), PickOf(thicknesses), PickOf(angles), Pick(0, 1));
            break;
        case EditModify:
            edit.selection = SomePlies(plies);
            switch (Pick(0, 3)) {
            case 0:
                edit.done = manager.ModifyMaterial(edit.selection, Pick(1, 3));
                break;
            case 1:
                edit.done = manager.ModifyThickness(edit.selection, PickOf(thicknesses));
                break;
            case 2:
                edit.done = manager.ModifyAngle(edit.selection, PickOf(angles));
                break;
            default:
                edit.done = manager.ModifyColor(edit.selection, Pick(0, 1));
                break;
            }
            break;
        case EditDelete:
        case EditCut:
        case EditCopy:
            edit.selection = Items(root, plies);
            edit.done = kind == EditDelete ? manager.Delete(edit.selection)
                      : kind == EditCut    ? manager.Cut(edit.selection)
                                           : manager.Copy(edit.selection);
            break;
        case EditPaste: {
            edit.selection = Insertion(root, plies);
            edit.after = edit.selection;
            manager.SetInsertBefore(Chance(50));
            const bool reversed = Chance(40);
            edit.done = manager.Paste(edit.after, reversed, reversed && Chance(50), Chance(10) ? 0 : Pick(1, 3));
            break;
        }
        case EditGroup:
            edit.selection = Chance(80) ? Range(plies) : SomePlies(plies);
            edit.done = manager.CreateGroup(edit.selection);
            break;
        case EditUngroup:
            edit.selection = Groups(root, Pick(1, 2), false);
            edit.done = manager.Ungroup(edit.selection);
            break;
        case EditLink:
            edit.selection = Groups(root, Pick(2, 3), false);
            edit.done = manager.CreateLink(edit.selection);
            break;
        case EditUnlink:
            edit.selection = Groups(root, Pick(1, 2), true);
            edit.done = manager.Unlink(edit.selection);
            break;
        }
        return edit;
    }

    // The ids of root's top-level groups and links, or of its links only.
    static std::vector<int> GroupIds(const PlyGroup &root, bool linksOnly)
    {
        std::vector<int> ids;
        const Layup &layup = root.GetLayup();
        for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
            const PlyBase *item = it->Get();
            if (linksOnly ? dynamic_cast<const PlyGroupLink *>(item) != nullptr
                          : dynamic_cast<const PlyGroupBase *>(item) != nullptr)
                ids.push_back(item->Id());
        }
        return ids;
    }

private:
    // Deletes the upper part of the plies and about half of the groups.
    RandomEdit Shrink(LayupManager &manager, const PlyGroup &root, int plies)
    {
        RandomEdit edit{EditDelete, false, {}, {}};
        for (int number = plies / 3; number <= plies; ++number)
            edit.selection.plies.push_back(number);
        for (const int id : GroupIds(root, false)) {
            if (Chance(50))
                edit.selection.SelectGroup(id);
        }
        edit.done = manager.Delete(edit.selection);
        return edit;
    }

    // One to three ply numbers, now and then one that is not a ply.
    Selection SomePlies(int plies)
    {
        Selection selection;
        for (int n = Pick(1, 3); n > 0; --n)
            selection.plies.push_back(Pick(Chance(90) ? 1 : 0, std::max(plies, 1) + (Chance(90) ? 0 : 1)));
        return selection;
    }

    // A run of consecutive ply numbers.
    Selection Range(int plies)
    {
        Selection selection;
        const int first = Pick(1, std::max(plies, 1));
        const int end = first + Pick(1, 4);
        for (int number = first; number < end && number <= plies; ++number)
            selection.plies.push_back(number);
        return selection;
    }

    // count ids of groups (or of links) of root, now and then one that is not there.
    Selection Groups(const PlyGroup &root, int count, bool linksOnly)
    {
        std::vector<int> ids = GroupIds(root, linksOnly && Chance(85));
        std::shuffle(ids.begin(), ids.end(), random_);
        Selection selection;
        for (int i = 0; i < count && i < static_cast<int>(ids.size()); ++i)
            selection.SelectGroup(ids[i]);
        if (ids.empty() || Chance(5))
            selection.SelectGroup(99);
        return selection;
    }

    // What delete, cut and copy act on: plies, groups or both.
    Selection Items(const PlyGroup &root, int plies)
    {
        const int choice = Pick(0, 9);
        Selection selection = choice < 6 ? (Chance(50) ? Range(plies) : SomePlies(plies)) : Selection();
        if (choice >= 4) {
            const Selection groups = Groups(root, Pick(1, 2), false);
            selection.SetGroups(groups.Groups());
        }
        return selection;
    }

    // Where an insertion goes: nothing, plies, a group; now and then an invalid mix.
    Selection Insertion(const PlyGroup &root, int plies)
    {
        const int choice = Pick(0, 9);
        if (choice < 3)
            return Selection();
        if (choice < 7)
            return SomePlies(plies);
        Selection selection = Groups(root, choice == 9 ? 2 : 1, false);
        if (choice == 9 && Chance(50))
            selection.plies.push_back(Pick(1, std::max(plies, 1)));
        return selection;
    }

    std::mt19937 random_;
};

} // namespace layuptest
