#pragma once

#include <cstddef>
#include <unordered_set>
#include <utility>
#include <vector>

class Layup;

// The groups and links of one layup's top level, found by id and by target id
// in sorted tables, with marks for removal. However many items are looked up or
// marked, building the tables and a sweep over the marks take time in the size
// of the top level (times a search), not in its square. The tables stay valid
// while the top level keeps the same ids at the same places; which of them are
// links they tell as the layup had it.
class TopLevelGroups
{
public:
    explicit TopLevelGroups(const Layup &layup);

    // The index of the first group or link with id that is not marked, as
    // PlyGroup::FindGroup finds it on the top level; -1 when there is none.
    int First(int id) const;
    // The same, of the links alone.
    int FirstLink(int id) const;
    // Whether no top-level group holds a group or link: then nothing is found
    // below the top level, and link targets are top-level items.
    bool Flat() const { return flat_; }

    // Marks every group and link with id, then every link whose target is an
    // id marked now or before, and the links that target those in turn.
    void Mark(int id);
    bool Marked(int index) const { return marked_[static_cast<std::size_t>(index)] != 0; }

private:
    struct Entry
    {
        int key; // the item's id, or a link's target id
        int index;
        int id;
        bool link;
    };
    std::pair<std::vector<Entry>::const_iterator, std::vector<Entry>::const_iterator> With(
        const std::vector<Entry> &entries, int id) const;
    int FirstOf(int id, bool linksOnly) const;

    std::vector<Entry> byId_;     // by id, then index
    std::vector<Entry> byTarget_; // the links, by target id
    std::vector<char> marked_;
    std::unordered_set<int> gone_; // ids whose links are marked
    bool flat_ = true;
};
