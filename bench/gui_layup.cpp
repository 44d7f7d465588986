// The layup dialog rebuilding its tree and sketch from the laminate, as after
// every edit, offscreen.

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/plysimple.h"
#include "gui/forms/layupform.h"
#include "gui/guiappcontext.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

namespace {

// n plies from the bottom: eight plain plies, then a group of eight, in turn.
PlyGroup Layup(int n)
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

// shown: the dialog is on screen and the rebuild's deferred layout and
// painting run too, as the user waits for them.
void BM_Refresh(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const bool shown = state.range(1) != 0;
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    GuiAppContext context(LamHost::CallbackTable());
    context.CreateApplication(true);
    context.Initialize();
    context.LaminateInit(false);
    context.GetLaminate().SetLayup(Layup(n));
    LayupForm form(nullptr, &context, false);
    if (shown) {
        form.show();
        QCoreApplication::processEvents();
    }
    for (auto _ : state) {
        form.Refresh(true, true);
        if (shown)
            QCoreApplication::processEvents();
    }
    state.SetLabel(shown ? "shown" : "hidden");
}

BENCHMARK(BM_Refresh)
    ->ArgsProduct({{200, 1000, 3200}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
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
