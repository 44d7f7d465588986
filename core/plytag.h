#pragma once

#include <set>

class PlyGroup;
class Selection;

// What a tag names.
enum PlyTagKind : int {
    PlyTagPly = 0,   // a simple ply
    PlyTagGroup = 1, // a group or a link
};

// Names one selected item independently of ply numbers, so that a selection
// can be carried over an edit that renumbers the plies (a paste). A ply is
// named by its serial (PlyGroup::AssignSerials) and the id of the group or
// link that shows it: a ply that a link repeats is named with the link's id,
// apart from the same ply shown by its own group. A group is named by its id.
struct PlyTag
{
    int kind = PlyTagPly;
    int index = 0;  // a ply's serial, or a group's id
    int parent = 0; // the id of the group or link showing the ply; 0 for a group

    // Ply tags first, by parent then serial; then group tags by id.
    bool operator<(const PlyTag &other) const;

    // The tags of the selected plies and groups of work, whose items carry
    // serials. Numbers and ids that work does not hold are only logged.
    static std::set<PlyTag> fromSelection(const PlyGroup &work, const Selection &selection);
    // The selection of the items of work that bear the tags, plies in stack
    // order; empty for no tags.
    static Selection toSelection(const PlyGroup &work, const std::set<PlyTag> &tags);
    // Adds to out the items of group, and of the groups and link expansions it
    // holds, that bear the tags; stops once out holds as many items as there are tags.
    static void collect(const PlyGroup &group, const std::set<PlyTag> &tags, Selection &out);
};
