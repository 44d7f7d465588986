// The layup dialog rebuilding its tree and sketch from the laminate, as after
// every edit, offscreen.

#include "bench/layupdialogbench.h"
#include "gui/forms/layupform.h"

#include <benchmark/benchmark.h>

namespace {

// shown: the dialog is on screen and the rebuild's deferred layout and
// painting run too, as the user waits for them.
void BM_Refresh(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const bool shown = state.range(1) != 0;
    benchlayup::Request request(n);
    LayupForm form(nullptr, &request.context, false);
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

int main(int argc, char **argv) { return benchlayup::Main(argc, argv); }
