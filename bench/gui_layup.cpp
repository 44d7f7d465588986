// The layup dialog rebuilding its tree and sketch from the laminate, as after
// every edit, offscreen.

#include "bench/benchlayup.h"
#include "core/laminate.h"
#include "gui/forms/layupform.h"
#include "gui/guiappcontext.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

namespace {

using benchlayup::Layup;

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
