#pragma once

#include "core/plysimple.h"

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

class Layup;
class PlyGroup;

// How two ply lists of one length compare (LayupMaker::MatchPlies).
enum PlyMatch : int {
    PlyMatchNone = 0,
    PlyMatchEqual = 1,
    PlyMatchReversed = 2,
    PlyMatchAntisymmetric = 3, // reversed with negated angles
};

// Automatic grouping: finds blocks of consecutive plies in a flat list that occur
// again further on, unchanged, reversed or reversed with negated angles, and turns
// the list into a group over each first block and a link in place of each later
// one. The search runs in steps, so that a dialog can show progress and abort
// between them. Also the static ply-list services that editing and loading share.
class LayupMaker
{
public:
    // One pair of blocks found by the search.
    struct Run
    {
        int length;        // plies per block
        int firstStart;    // 0-based index of the first block
        int secondStart;   // 0-based index of the later block
        int parentGroupId; // set while the tree is built
        int linkGroupId;   // set while the tree is built
        bool mirrored;     // the later block is the first reversed
        bool antisymmetric; // reversed and angles negated (mirrored is set too)
    };

    // Copies the plies and prepares the search; the caller owns the maker. Empty
    // input and input without two alike plies finish here.
    static LayupMaker *CondenseSetup(const std::vector<PlySimple> &plies);
    // Abandons a search in progress.
    ~LayupMaker();
    LayupMaker(const LayupMaker &) = delete;
    LayupMaker &operator=(const LayupMaker &) = delete;

    // One unit of work: one first-block position, or the final building of the
    // tree. Returns true when the result is ready. Writes the progress fraction
    // (0..1, exactly 1 with true) when progress is not null.
    bool Step(float *progress = nullptr);
    // The grouped tree, group id 0; an empty group until Step has returned true.
    // It expands to the input plies, or is the flat input when building failed.
    PlyGroup &GetResult();
    // The runs found so far, in the order found.
    const std::vector<Run> &Runs() const;

    // Replaces the block of run (the first block, or the later one when link is
    // true) on the top level of work, the root of its tree, by a new group with
    // id run.parentGroupId or a new link with id run.linkGroupId to the group
    // run.parentGroupId. A block that is exactly one existing group of more than
    // one ply is reused: run.parentGroupId becomes its id and work is unchanged.
    // Returns false with an error text, work unchanged, when the block is not a
    // run of whole top-level items.
    static bool GroupPlies(PlyGroup &work, bool link, Run &run, std::string &error);
    // Compares two ply lists: reversed is tested first, then equal, then reversed
    // with negated angles. Lists of different lengths do not match.
    static PlyMatch MatchPlies(std::span<const PlySimple> a, std::span<const PlySimple> b);
    // Removes the top-level groups and links of root with those ids, then every
    // top-level link that targets one of them, with the links that target those
    // in turn. Takes time in the size of the top level, however many go.
    static void RemoveGroupsAndLinks(PlyGroup &root, const std::vector<int> &groupIds);
    static void RemoveGroupAndLinks(PlyGroup &root, int groupId);
    // Writes a debug description of the group's tree; returns out.
    static std::ostream &Dump(std::ostream &out, const PlyGroup &group);
    // Rewrites a flat layup whose second half repeats or mirrors its first half
    // (around one core ply when the count is odd) as that first half, with the
    // core ply, and the matching stacking rule; leaves any other layup unchanged.
    static void FindStackingRule(Layup &layup);

private:
    struct State;

    LayupMaker();
    void Condense();
    void CondenseFinish();

    State *state_;
};
