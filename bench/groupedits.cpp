// Ungroup, Link and Unlink of every group or link of a large layup in one call,
// timed alone: through the laminate manager that a script's or a dialog's edit
// goes through, the undo history's record of it included. The layup is a host
// laminate of four plies, [0/45/-45/90], pasted into range(0) plies in one group
// per four (after Cut: groups; after Copy: links to the first group). The rows
// of bench/script.cpp time the same edits as whole script requests.

#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

enum Edit { UngroupAll, LinkAll, UnlinkAll };

std::unique_ptr<LaminateManager> Shaped(int plies, bool links)
{
    const lamCallbacksImp *table = LamHost::CallbackTable();
    auto manager = std::make_unique<LaminateManager>(table->GetCurrentLaminate, table->GetCurrentLaminatePlies,
                                                     table->SaveLaminate, nullptr, UnitSystem());
    std::string error;
    if (!manager->LoadCurrentLaminate(error))
        return nullptr;
    LayupManager &layup = *manager->GetLayupManager();
    Selection first;
    first.plies = {1, 2, 3, 4};
    layup.CreateGroup(first);
    Selection group;
    group.SelectGroup(1);
    if (links)
        layup.Copy(group);
    else
        layup.Cut(group);
    Selection none;
    layup.SetInsertBefore(false);
    layup.Paste(none, false, false, links ? plies / 4 - 1 : plies / 4);
    return manager;
}

void EditEvery(benchmark::State &state, Edit edit)
{
    const int plies = static_cast<int>(state.range(0));
    LamHost::StoreData data = LamHost::DemoStore();
    LamHost::HostLaminate &laminate = data.laminates[data.current];
    laminate.plies.clear();
    for (const float angle : {0.0f, 45.0f, -45.0f, 90.0f})
        laminate.plies.push_back({0.125f, angle, 301, 2});
    LamHost::Store store(data);
    store.Activate();
    Selection selection;
    for (int id = edit == UnlinkAll ? 2 : 1; id <= plies / 4; ++id)
        selection.SelectGroup(id);
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LaminateManager> manager = Shaped(plies, edit == UnlinkAll);
        if (!manager) {
            state.SkipWithError("the laminate did not load");
            break;
        }
        LayupManager &layup = *manager->GetLayupManager();
        state.ResumeTiming();
        const bool done = edit == UngroupAll ? layup.Ungroup(selection)
                        : edit == LinkAll    ? layup.CreateLink(selection)
                                             : layup.Unlink(selection);
        state.PauseTiming();
        std::string last;
        const bool recorded = done && manager->LastCommandName(last);
        manager.reset();
        if (!recorded) {
            state.SkipWithError("the edit was refused");
            break;
        }
        state.ResumeTiming();
    }
}

void BM_UngroupEvery(benchmark::State &state) { EditEvery(state, UngroupAll); }
void BM_LinkEvery(benchmark::State &state) { EditEvery(state, LinkAll); }
void BM_UnlinkEvery(benchmark::State &state) { EditEvery(state, UnlinkAll); }

void Sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(4000)->Arg(16000)->Arg(64000)->ArgName("plies")->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_UngroupEvery)->Apply(Sizes);
BENCHMARK(BM_LinkEvery)->Apply(Sizes);
BENCHMARK(BM_UnlinkEvery)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
