// The layup dialog rebuilding its tree and sketch from the laminate, as after
// every edit, and opening and closing on a large laminate, offscreen.

#include "bench/layupdialogbench.h"
#include "gui/forms/layupform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

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

// The dialog made and filled as it opens, shown once, then deleted. The
// counters "open" and "close" are the two halves, in seconds per iteration.
void BM_OpenClose(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const int n = static_cast<int>(state.range(0));
    benchlayup::Request request(n);
    double open = 0.0, close = 0.0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        auto form = std::make_unique<LayupForm>(nullptr, &request.context, false);
        form->ApplyViewMode();
        form->Refresh(true, true);
        form->show();
        QCoreApplication::processEvents();
        const Clock::time_point opened = Clock::now();
        form.reset();
        QCoreApplication::processEvents();
        open += std::chrono::duration<double>(opened - start).count();
        close += std::chrono::duration<double>(Clock::now() - opened).count();
    }
    state.counters["open"] = benchmark::Counter(open, benchmark::Counter::kAvgIterations);
    state.counters["close"] = benchmark::Counter(close, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_OpenClose)->Arg(3200)->Arg(12800)->Arg(25000)->Arg(50000)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Refresh)
    ->ArgsProduct({{200, 1000, 3200}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return benchlayup::Main(argc, argv); }
