// Rebuilding the layup sketch as the dialogs do (Clear, Show, Draw) for
// layups of 200, 1,000 and 3,200 drawn plies, in Feature and Scale Explode
// view, plain and with a symmetric stacking rule; and the first rebuild of a
// new sketch.

#include "bench/layupdialogbench.h"
#include "core/layup.h"
#include "gui/views/layupsketcher.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsScene>


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

void Sizes(benchmark::internal::Benchmark *b)
{
    for (const int stacking : {StackingSimple, StackingFullSymmetric})
        for (const int mode : {SketchFeatureView, SketchScaleExplodeView})
            for (const int plies : {200, 1000, 3200})
                b->Args({plies, mode, stacking});
    b->ArgNames({"plies", "mode", "stacking"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(ShowThenDraw)->Apply(Sizes);
BENCHMARK(FirstShowThenDraw)->Arg(200)->Arg(1000)->Arg(3200)->ArgName("plies")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return benchlayup::Main(argc, argv); }
