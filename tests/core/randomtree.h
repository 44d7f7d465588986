#pragma once

#include "core/plygroup.h"
#include "core/plysimple.h"

#include <random>
#include <string>
#include <vector>

// Builds random ply trees for property tests. Every ply gets a unique name, so
// orders can be compared exactly; `flat` records the plies in stack order as
// they were made, numbered from 1.
class RandomTree
{
public:
    explicit RandomTree(unsigned seed) : rng_(seed) {}

    PlyGroup Build()
    {
        flat.clear();
        nextGroup_ = 1;
        PlyGroup root(0);
        Fill(root.GetLayup(), 0);
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
        for (int n = Pick(0, 4); n > 0; --n) {
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
            } else {
                auto *group = new PlyGroup(nextGroup_++);
                layup.Add(group);
                Fill(group->GetLayup(), depth + 1);
                group->GetLayup().SetStacking(Pick(0, 4));
            }
        }
    }

    std::mt19937 rng_;
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
