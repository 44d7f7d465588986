// Undo by replay, loading and saving, driven through the host stand-in.

#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

// A store whose current laminate has n plies that form no stacking rule.
LamHost::StoreData StoreWith(int n)
{
    std::mt19937 random(static_cast<unsigned>(n));
    LamHost::HostLaminate lam;
    lam.name = "Bench";
    lam.referencePlane = -1.0f;
    for (int i = 0; i < n; ++i) {
        const float angles[] = {0.0f, 45.0f, -45.0f, 90.0f};
        lam.plies.push_back({0.125f * static_cast<float>(1 + random() % 4), angles[random() % 4],
                             static_cast<int>(1 + random() % 5), static_cast<int>(random() % 16)});
    }
    LamHost::StoreData data;
    data.laminates.push_back(lam);
    data.current = 0;
    return data;
}

std::unique_ptr<LaminateManager> NewManager(const UnitSystem &units)
{
    const lamCallbacksImp *t = LamHost::CallbackTable();
    return std::make_unique<LaminateManager>(t->GetCurrentLaminate, t->GetCurrentLaminatePlies, t->SaveLaminate,
                                             nullptr, units);
}

void AddOnTop(LaminateManager &manager, int i)
{
    LayupManager &layup = *manager.GetLayupManager();
    layup.SetInsertBefore(false);
    layup.AddPly(Selection(), 1 + i % 5, 0.125f, i % 2 ? 45.0f : -45.0f, i % 16);
}

// The i-th of the edits on a loaded laminate: an added ply or a modified one.
void Edit(LaminateManager &manager, int i, int plies)
{
    LayupManager &layup = *manager.GetLayupManager();
    Selection selection;
    selection.plies = {1 + (i * 37) % plies};
    switch (i % 4) {
    case 0:
        layup.SetInsertBefore(true);
        layup.AddPly(selection, 1 + i % 5, 0.25f, 30.0f, 3);
        break;
    case 1:
        layup.ModifyAngle(selection, i % 8 ? 60.0f : -60.0f);
        break;
    case 2:
        layup.ModifyThickness(selection, 0.375f);
        break;
    default:
        layup.ModifyMaterial(selection, 6 + i % 3);
        break;
    }
}

// One undo with K plies added one by one to an empty laminate.
void BM_UndoAfterAddedPlies(benchmark::State &state)
{
    const int k = static_cast<int>(state.range(0));
    const UnitSystem units;
    auto manager = NewManager(units);
    for (int i = 0; i < k; ++i)
        AddOnTop(*manager, i);
    std::string error;
    for (auto _ : state) {
        if (!manager->Undo(error))
            state.SkipWithError(error.c_str());
        state.PauseTiming();
        AddOnTop(*manager, k - 1); // the undone edit again
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoAfterAddedPlies)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMicrosecond);

// One undo after the given number of edits of a loaded laminate of plies plies.
void UndoAfterEditsOfLoaded(benchmark::State &state, int plies, int edits)
{
    LamHost::Store store(StoreWith(plies));
    store.Activate();
    const UnitSystem units;
    auto manager = NewManager(units);
    std::string error;
    if (!manager->LoadCurrentLaminate(error))
        state.SkipWithError(error.c_str());
    for (int i = 0; i < edits; ++i)
        Edit(*manager, i, plies);
    for (auto _ : state) {
        if (!manager->Undo(error))
            state.SkipWithError(error.c_str());
        state.PauseTiming();
        Edit(*manager, edits - 1, plies);
        state.ResumeTiming();
    }
}

// One undo after 40 edits of a loaded laminate of N plies.
void BM_UndoAfterEditsOfLoaded(benchmark::State &state)
{
    UndoAfterEditsOfLoaded(state, static_cast<int>(state.range(0)), 40);
}
BENCHMARK(BM_UndoAfterEditsOfLoaded)->Arg(200)->Arg(800)->Arg(3200)->Unit(benchmark::kMicrosecond);

// One undo after K edits of a loaded laminate of 1,600 plies: the cost of an
// undo against the length of the history.
void BM_UndoAfterKEditsOf1600(benchmark::State &state)
{
    UndoAfterEditsOfLoaded(state, 1600, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_UndoAfterKEditsOf1600)->Arg(100)->Arg(1600)->Unit(benchmark::kMicrosecond);

void BM_Load(benchmark::State &state)
{
    LamHost::Store store(StoreWith(static_cast<int>(state.range(0))));
    store.Activate();
    const UnitSystem units;
    auto manager = NewManager(units);
    std::string error;
    for (auto _ : state) {
        if (!manager->LoadCurrentLaminate(error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_Save(benchmark::State &state)
{
    LamHost::Store store(StoreWith(static_cast<int>(state.range(0))));
    store.Activate();
    const UnitSystem units;
    auto manager = NewManager(units);
    std::string error;
    if (!manager->LoadCurrentLaminate(error))
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        if (!manager->SaveLaminate(error))
            state.SkipWithError(error.c_str());
        state.PauseTiming();
        store.ClearRecords(); // the store keeps a copy of every save
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
