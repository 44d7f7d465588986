// Edits that take the whole stack of a large layup: modifying every ply,
// selecting every group and deleting everything. The first two once looked
// each item up from the bottom of the stack and took time in the square of the
// stack (35 s for 100,000 plies); a delete once erased each ply from a list of
// the selected numbers.

#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/plygroup.h"
#include "core/plysimple.h"
#include "core/selection.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// n plies, every fourth pair in a group, so that numbers cross group bounds.
Laminate Stack(int n)
{
    PlyGroup root(0);
    for (int i = 0; i < n;) {
        auto make = [&i] {
            auto *ply = new PlySimple(0, "ply");
            ply->SetMaterial(1 + i % 3);
            ply->SetThickness(0.125f);
            ply->SetAngle(i % 2 ? 45.0f : -45.0f);
            ++i;
            return ply;
        };
        if (i % 8 == 0 && i + 2 <= n) {
            auto *group = new PlyGroup(i / 8 + 1);
            group->GetLayup().Add(make());
            group->GetLayup().Add(make());
            root.GetLayup().Add(group);
        } else {
            root.GetLayup().Add(make());
        }
    }
    root.SetRoot(&root);
    root.Renumber(1);
    Laminate laminate;
    laminate.SetLayup(root);
    return laminate;
}

void ModifyEveryPly(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    Laminate laminate = Stack(n);
    LayupManager manager(nullptr, &laminate, nullptr);
    Selection all;
    for (int number = 1; number <= n; ++number)
        all.plies.push_back(number);
    float thickness = 0.25f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager.ModifyThickness(all, thickness));
        thickness = thickness == 0.25f ? 0.5f : 0.25f;
    }
    state.SetComplexityN(n);
}
BENCHMARK(ModifyEveryPly)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Unit(benchmark::kMillisecond)->Complexity();

// A script's loop of SelectGroup over every group.
void SelectEveryGroup(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Selection selection;
        for (int id = 1; id <= n; ++id)
            selection.SelectGroup(id);
        benchmark::DoNotOptimize(selection.Groups().size());
    }
    state.SetComplexityN(n);
}
BENCHMARK(SelectEveryGroup)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Unit(benchmark::kMillisecond)->Complexity();

// Select all (every ply and group) and delete, on a fresh copy each time.
void DeleteAll(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const Laminate stack = Stack(n);
    Selection all;
    for (int number = 1; number <= n; ++number)
        all.plies.push_back(number);
    std::vector<int> groups;
    for (int id = 1; id <= (n + 7) / 8; ++id)
        groups.push_back(id);
    all.SetGroups(groups);
    for (auto _ : state) {
        state.PauseTiming();
        Laminate laminate = stack;
        LayupManager manager(nullptr, &laminate, nullptr);
        state.ResumeTiming();
        benchmark::DoNotOptimize(manager.Delete(all));
        if (laminate.RootGroup().CountPlies() != 0)
            state.SkipWithError("plies left after deleting all");
    }
}
BENCHMARK(DeleteAll)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
