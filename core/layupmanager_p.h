#pragma once

#include "core/layup.h"
#include "core/layupclipboard.h"
#include "core/layupmaker.h"
#include "core/layupmanager.h"
#include "core/plyinserter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class PlyGroup;
class PlySimple;

struct LayupManager::Impl
{
    Impl(const MaterialCatalog *materials, Laminate *laminate, LamCommandTaker *taker);

    // Inserts the clipboard's items count times at the inserter's place in work
    // (a copy of the root), reversed and/or with negated angles, and renumbers
    // work unless told not to (when the caller installs it at once). Pasted groups and links get fresh ids above every id of work; while
    // the clipboard is filled by Copy, a group whose original is still in work
    // with the same plies goes in as a link to the original instead. Pasted items
    // carry serials from -999999 up. The clipboard is not changed. Fails, leaving
    // work as it was, with "Paste: cannot nest groups" (groups into a group) or
    // "Unexpected error locating paste site".
    bool pasteClipboard(PlyGroup &work, const PlyInserter &inserter, bool reversed, bool negated, int count,
                        bool renumber = true);
    PlyInserter ComputeInserter(PlyGroup &work, const std::vector<int> &plies, const std::vector<int> &groups,
                                bool before) const;
    // Sets a value on each selected ply of a copy of the root through set, which
    // tells whether the value changed; installs the copy when one did. False,
    // with the error text for what, when a number is not a ply of the tree.
    bool modifyPlies(const std::vector<int> &plies, const char *what, const std::function<bool(PlySimple &)> &set,
                     bool &changed);
    // Submits a command of a successful edit to the current taker.
    void Record(std::unique_ptr<LamCommand> command);

    // Structural edits (core/layupmanager_clipboard.cpp, core/layupmanager_groups.cpp).
    //
    // The common core of Delete and Cut: removes the selected items from the
    // laminate, appending them to taken in stack order when it is not null.
    // Always true.
    bool CutSelection(const Selection &selection, Layup *taken);
    // Links each child (ascending ids) of work's top level to the group or link
    // parentId in place, as CreateLink does once it has chosen the parent.
    // strict (two groups selected): a child that cannot be linked fails the
    // call; otherwise it is skipped. False with the error text, work then
    // partly changed.
    bool LinkGroups(PlyGroup &work, int parentId, const std::vector<int> &children, bool strict);
    // The largest id that an item of work bears or that a link of work names;
    // new groups go above it, so that a link whose group a cut emptied never
    // takes a new group for its own.
    static int LargestGroupId(const PlyGroup &work);

    // The material check (core/layupmanager_queries.cpp).
    //
    // Gives every simple ply of group (groups entered, links skipped) whose
    // material the catalogue does not know the material -1; the first such ply
    // of the walk, when reported is still false, is logged, set as the error
    // text and written to the out arguments (either may be null), and reported
    // becomes true. False when a ply was repaired.
    bool CheckPlyMaterials(PlyGroup &group, int *plyNumber, int *materialId, bool &reported);

    const MaterialCatalog *materials;
    Laminate *laminate;
    LayupClipboard clipboard;
    bool insertBefore = true;
    unsigned insertSideChoices = 0;
    std::string error;
    LamCommandTaker *taker;
    LamCommandTaker *defaultTaker;
    std::unique_ptr<LayupMaker> maker; // the automatic grouping in progress
    Layup savedLayup;                  // the layup as automatic grouping found it
};
