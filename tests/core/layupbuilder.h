#pragma once

// Builds small ply trees for tests and writes them as compact text: a ply as
// its material id, a group as G<id>[...], a link as L<id>><target> with r, s
// or a for its type, e.g. "1 G5[2 3] L6>5s 4".

#include "core/layup.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace layuptest {

inline PlySimple *Ply(int material, float thickness = 0.25f, float angle = 0.0f, int color = 0)
{
    auto *ply = new PlySimple(0, "");
    ply->SetMaterial(material);
    ply->SetThickness(thickness);
    ply->SetAngle(angle);
    ply->SetColor(color);
    return ply;
}

inline PlyGroup *Group(int id, std::initializer_list<PlyBase *> items)
{
    auto *group = new PlyGroup(id);
    for (PlyBase *item : items)
        group->GetLayup().Add(item);
    return group;
}

inline PlyGroupLink *Link(int id, int target, int type)
{
    return new PlyGroupLink(id, target, type, 0);
}

// A root group (id 0) with its links resolved and its plies numbered from 1.
inline PlyGroup Root(std::initializer_list<PlyBase *> items, int stacking = 0)
{
    PlyGroup root(0);
    root.GetLayup().SetStacking(stacking);
    for (PlyBase *item : items)
        root.GetLayup().Add(item);
    root.SetRoot(&root);
    root.Renumber(1);
    return root;
}

inline std::string Describe(const Layup &layup);

inline std::string Describe(const PlyBase &item)
{
    if (auto *ply = dynamic_cast<const PlySimple *>(&item))
        return std::to_string(ply->Material());
    if (auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
        const int type = link->LinkType();
        return std::string("L")
            .append(std::to_string(link->Id()))
            .append(">")
            .append(std::to_string(link->TargetGroupId()))
            .append(type == 1 ? "s" : type == 2 ? "a" : "r");
    }
    const auto &group = dynamic_cast<const PlyGroup &>(item);
    return std::string("G").append(std::to_string(group.Id())).append("[").append(Describe(group.GetLayup())).append("]");
}

inline std::string Describe(const Layup &layup)
{
    std::string text;
    for (int i = 0; i < layup.Size(); ++i)
        text.append(i ? " " : "").append(Describe(*layup[i]));
    return text;
}

inline std::vector<PlySimple> Plies(const PlyBase &item)
{
    std::vector<PlySimple> plies;
    item.CollectPlies(plies);
    return plies;
}

// The materials of the flat ply list, links expanded.
inline std::string Flat(const PlyBase &item)
{
    std::string text;
    for (const PlySimple &ply : Plies(item))
        text.append(text.empty() ? "" : " ").append(std::to_string(ply.Material()));
    return text;
}

} // namespace layuptest
