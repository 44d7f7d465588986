#pragma once

// Layups of the layup dialog's benchmarks.

#include "core/plygroup.h"
#include "core/plysimple.h"

namespace benchlayup {

// n plies from the bottom: eight plain plies, then a group of eight, in turn.
inline PlyGroup Layup(int n)
{
    const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
    PlyGroup root(0);
    PlyGroup *group = nullptr;
    for (int i = 0; i < n; ++i) {
        auto *ply = new PlySimple(0, "");
        ply->SetMaterial(301);
        ply->SetThickness(0.125f);
        ply->SetAngle(angles[i % 4]);
        ply->SetColor(2 + i % 4);
        if (i % 16 < 8) {
            root.GetLayup().Add(ply);
            group = nullptr;
            continue;
        }
        if (!group) {
            group = new PlyGroup(100 + i);
            root.GetLayup().Add(group);
        }
        group->GetLayup().Add(ply);
    }
    return root;
}

} // namespace benchlayup
