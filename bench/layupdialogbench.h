#pragma once

// What the layup dialog's benchmarks share: their layups, a request's context
// on the host stand-in, and a main with an offscreen application.

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/plysimple.h"
#include "gui/guiappcontext.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

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

// A modify request's context on the demo store, its layup replaced by Layup(n).
struct Request
{
    explicit Request(int n)
    {
        store.Activate();
        context.CreateApplication(true);
        context.Initialize();
        context.LaminateInit(false);
        context.GetLaminate().SetLayup(Layup(n));
    }

    LamHost::Store store{LamHost::DemoStore()};
    GuiAppContext context{LamHost::CallbackTable()};
};

inline int Main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    unsetenv("CORVANE_DEBUG");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchlayup
