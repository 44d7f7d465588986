#pragma once

#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

// Builds random ply trees for property tests. Every ply gets a unique name, so
// orders can be compared exactly; `flat` records the plies in stack order as
// they were made, numbered from 1 (links add nothing to it).
class RandomTree
{
public:
    explicit RandomTree(unsigned seed, bool withLinks = false) : rng_(seed), withLinks_(withLinks) {}

    PlyGroup Build()
    {
        flat.clear();
        nextGroup_ = 1;
        PlyGroup root(0);
        links_.clear();
        Fill(root.GetLayup(), 0);
        // Any id: an earlier or later group, an ancestor or the link itself (cycles), or none.
        for (PlyGroupLink *link : links_)
            link->SetTargetGroupId(Pick(1, nextGroup_));
        root.GetLayup().SetStacking(Pick(0, 5));
        root.SetRoot(&root);
        root.Renumber(1);
        for (size_t i = 0; i < flat.size(); ++i)
            flat[i].SetId(static_cast<int>(i) + 1);
        return root;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    std::vector<PlySimple> flat;

private:
    void Fill(Layup &layup, int depth)
    {
        for (int n = Pick(0, depth == 0 ? 8 : 4); n > 0; --n) {
            const int kind = Pick(0, 9);
            if (kind < 6 || depth >= 3) {
                static const float kAngles[] = {0.0f, 45.0f, -45.0f, 90.0f, 30.0f};
                auto *ply = new PlySimple(0, std::string("p").append(std::to_string(flat.size())));
                ply->SetThickness(0.125f * static_cast<float>(Pick(1, 8)));
                ply->SetAngle(kAngles[Pick(0, 4)]);
                ply->SetMaterial(Pick(1, 3));
                ply->SetColor(Pick(1, 3));
                flat.push_back(*ply);
                layup.Add(ply);
            } else if (withLinks_ && kind >= 8) {
                links_.push_back(new PlyGroupLink(nextGroup_++, 0, Pick(0, 3), 0));
                layup.Add(links_.back());
            } else {
                auto *group = new PlyGroup(nextGroup_++);
                layup.Add(group);
                Fill(group->GetLayup(), depth + 1);
                group->GetLayup().SetStacking(Pick(0, 4));
            }
        }
    }

    std::mt19937 rng_;
    bool withLinks_;
    std::vector<PlyGroupLink *> links_;
    int nextGroup_ = 1;
};

// Equal lists: same length and plies pairwise IsEqual (number, name, material,
// colour, thickness and angle).
inline bool SamePlies(const std::vector<PlySimple> &a, const std::vector<PlySimple> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!a[i].IsEqual(b[i]))
            return false;
    }
    return true;
}

inline std::vector<PlySimple> Collect(const PlyBase &item)
{
    std::vector<PlySimple> out;
    item.CollectPlies(out);
    return out;
}

// The plies without their numbers (a transformed link numbers its plies anew),
// optionally reversed, optionally negated.
inline std::vector<PlySimple> Unnumbered(std::vector<PlySimple> plies, bool reversed = false, bool negated = false)
{
    for (PlySimple &ply : plies) {
        ply.SetId(0);
        if (negated)
            ply.Mirror();
    }
    if (reversed)
        std::reverse(plies.begin(), plies.end());
    return plies;
}

inline float SumThickness(const std::vector<PlySimple> &plies)
{
    float sum = 0.0f;
    for (const PlySimple &ply : plies)
        sum += ply.Thickness();
    return sum;
}

// Every group and link of the tree below item, item first, in pre-order.
inline void Walk(PlyGroupBase &item, std::vector<PlyGroupBase *> &out)
{
    out.push_back(&item);
    if (auto *group = dynamic_cast<PlyGroup *>(&item)) {
        for (auto it = group->GetLayup().Begin(); it != group->GetLayup().End(); ++it) {
            if (auto *child = dynamic_cast<PlyGroupBase *>(it->Get()))
                Walk(*child, out);
        }
    }
}
