// Rebuilding the layup sketch as the dialogs do (Clear, Show, Draw) for
// layups of 200 to 3,200 drawn plies (also 12,800 and 50,000 in Feature
// View), in Feature and Scale Explode view, plain and with a symmetric
// stacking rule; the first rebuild of a new sketch; a large sketch built and
// torn down, as a dialog opens and closes; and one cut down to 100 plies.

#include "bench/layupdialogbench.h"
#include "core/layup.h"
#include "gui/views/layupsketcher.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsScene>

#include <chrono>
#include <memory>

namespace {

Layup MakeLayup(int plies, int stacking)
{
    const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
    Layup layup;
    for (int i = 1; i <= plies; ++i) {
        auto *ply = new PlySimple(i, "ply");
        ply->SetThickness(0.125f);
        ply->SetAngle(angles[i % 4]);
        ply->SetColor(i % 16 + 1);
        layup.Add(ply);
    }
    layup.SetStacking(stacking);
    return layup;
}

// Arguments: drawn plies, view mode, stacking rule (the plies stored are
// halved under the symmetric rule, so the drawn count stays the same).
void ShowThenDraw(benchmark::State &state)
{
    const int drawn = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    const int stacking = static_cast<int>(state.range(2));
    const Layup layup = MakeLayup(stacking == StackingFullSymmetric ? drawn / 2 : drawn, stacking);
    QGraphicsScene scene(0, 0, 1000, 3000);
    LayupSketcher sketch(&scene, nullptr, nullptr);
    sketch.SetViewMode(mode);
    // The rows are made by the first rebuild and polished by the event loop,
    // as in a dialog already open: what is timed is a redraw.
    sketch.Show(layup);
    sketch.Draw(25 * drawn, 0.125f * drawn);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        sketch.Clear();
        sketch.Show(layup);
        sketch.Draw(25 * drawn, 0.125f * drawn);
    }
    state.SetItemsProcessed(state.iterations() * drawn);
}

// The first rebuild of a dialog: the scene, the sketch and every row made anew.
void FirstShowThenDraw(benchmark::State &state)
{
    const int plies = static_cast<int>(state.range(0));
    const Layup layup = MakeLayup(plies, StackingSimple);
    for (auto _ : state) {
        QGraphicsScene scene(0, 0, 1000, 3000);
        LayupSketcher sketch(&scene, nullptr, nullptr);
        sketch.Show(layup);
        sketch.Draw(25 * plies, 0.125f * plies);
        // The dialog's event loop polishes the new items before it closes.
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * plies);
}

// A dialog's life: scene and sketch made, drawn and polished, then the sketch
// deleted before the scene, as the dialogs do. The counter "teardown" is the
// deletions' share, in seconds per iteration.
void BuildThenTearDown(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const int plies = static_cast<int>(state.range(0));
    const Layup layup = MakeLayup(plies, StackingSimple);
    double teardown = 0.0;
    for (auto _ : state) {
        auto scene = std::make_unique<QGraphicsScene>(0, 0, 1000, 3000);
        auto sketch = std::make_unique<LayupSketcher>(scene.get(), nullptr, nullptr);
        sketch->Show(layup);
        sketch->Draw(25 * plies, 0.125f * plies);
        QCoreApplication::processEvents();
        const Clock::time_point start = Clock::now();
        sketch.reset();
        scene.reset();
        teardown += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["teardown"] = benchmark::Counter(teardown, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * plies);
}

// A redraw after most plies of a large laminate were deleted: only 100 stay.
void DropMostRows(benchmark::State &state)
{
    const int plies = static_cast<int>(state.range(0));
    const Layup large = MakeLayup(plies, StackingSimple), small = MakeLayup(100, StackingSimple);
    QGraphicsScene scene(0, 0, 1000, 3000);
    LayupSketcher sketch(&scene, nullptr, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        sketch.Show(large);
        sketch.Draw(25 * plies, 0.125f * plies);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        sketch.Clear();
        sketch.Show(small);
        sketch.Draw(2500, 12.5f);
    }
}

void Sizes(benchmark::internal::Benchmark *b)
{
    for (const int stacking : {StackingSimple, StackingFullSymmetric})
        for (const int mode : {SketchFeatureView, SketchScaleExplodeView})
            for (const int plies : {200, 1000, 3200})
                b->Args({plies, mode, stacking});
    b->ArgNames({"plies", "mode", "stacking"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(ShowThenDraw)->Apply(Sizes);
// The redraw of a large laminate, to see that it grows linearly.
BENCHMARK(ShowThenDraw)
    ->Args({12800, SketchFeatureView, StackingSimple})
    ->Args({50000, SketchFeatureView, StackingSimple})
    ->ArgNames({"plies", "mode", "stacking"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FirstShowThenDraw)->Arg(200)->Arg(1000)->Arg(3200)->ArgName("plies")->Unit(benchmark::kMillisecond);
BENCHMARK(DropMostRows)->Arg(12800)->Arg(50000)->ArgName("plies")->Unit(benchmark::kMillisecond);
BENCHMARK(BuildThenTearDown)->Arg(3200)->Arg(12800)->Arg(50000)->ArgName("plies")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return benchlayup::Main(argc, argv); }
