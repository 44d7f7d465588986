// A script's cost over the engine's: a new laminate of 1,000 plies built with
// AddPly and saved, once as a whole script request through the session (context,
// interpreter, script, save), once as the same edits made through the
// LayupManager directly. Prints Google Benchmark's lines, then both times and
// their ratio. Also a script that cuts every other ply of a large host laminate.

#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"
#include "host/session.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kPlies = 1000;
const float kAngles[] = {0.0f, 45.0f, -45.0f, 90.0f};

// What the script does, in Lua: plies AddPly calls.
std::string ScriptText(int plies)
{
    return "local angles = {0, 45, -45, 90}\n"
           "for i = 1, "
           + std::to_string(plies)
           + " do\n"
             "  AddPly{Material = 301, Thickness = 0.125, Angle = angles[i % 4 + 1], Color = 2}\n"
             "end\n";
}

std::string WriteScript(int plies)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvane_bench_script.lua";
    std::ofstream(path) << ScriptText(plies);
    return path.string();
}

// Starts each request from the demo store with no records, outside the timing;
// with plies, its current laminate holds that many.
void ResetStore(benchmark::State &state, LamHost::Store &store, int plies = 0)
{
    state.PauseTiming();
    store.Data() = LamHost::DemoStore();
    if (plies > 0) {
        LamHost::HostLaminate &laminate = store.Data().laminates[store.Data().current];
        for (int i = 0; laminate.plies.size() < static_cast<size_t>(plies); ++i)
            laminate.plies.push_back({0.125f, kAngles[i % 4], 301, 1 + i % 16});
    }
    store.ClearRecords();
    store.BeginRequest();
    state.ResumeTiming();
}

// The whole script request with range(0) AddPly calls.
void BM_Script(benchmark::State &state)
{
    const int plies = static_cast<int>(state.range(0));
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    const std::string path = WriteScript(plies);
    store.SetScriptPath(path);
    Session session(LamHost::CallbackTable());
    for (auto _ : state) {
        ResetStore(state, store);
        session.Modeler(true);
    }
    if (store.LaminateSaves().size() != 1 || store.LaminateSaves()[0].plyCount != plies)
        state.SkipWithError("the script did not save its plies");
    std::filesystem::remove(path);
}

// SelectPly over every other ply of a host laminate of range(0) plies, then Cut.
void BM_CutEveryOther(benchmark::State &state)
{
    const int plies = static_cast<int>(state.range(0));
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvane_bench_cut.lua";
    std::ofstream(path) << "for i = 1, CountPlies(), 2 do SelectPly(i) end\nCut()\n";
    store.SetScriptPath(path.string());
    Session session(LamHost::CallbackTable());
    for (auto _ : state) {
        ResetStore(state, store, plies);
        session.Modeler(false);
    }
    if (store.LaminateSaves().size() != 1 || store.LaminateSaves()[0].plyCount != plies / 2)
        state.SkipWithError("the script did not cut every other ply");
    std::filesystem::remove(path);
}

void BM_LayupManager(benchmark::State &state)
{
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    const lamCallbacksImp *table = LamHost::CallbackTable();
    const UnitSystem units;
    for (auto _ : state) {
        ResetStore(state, store);
        LaminateManager manager(table->GetCurrentLaminate, table->GetCurrentLaminatePlies, table->SaveLaminate,
                                nullptr, units);
        LayupManager &layup = *manager.GetLayupManager();
        // As the script target does it: above, nothing selected, renumbered after each ply.
        for (int i = 1; i <= kPlies; ++i) {
            layup.SetInsertBefore(false);
            layup.AddPly(Selection(), 301, 0.125f, kAngles[i % 4], 2);
            layup.Renumber();
        }
        std::string error;
        manager.SaveLaminate(error);
    }
    if (store.LaminateSaves().size() != 1 || store.LaminateSaves()[0].plyCount != kPlies)
        state.SkipWithError("the manager did not save 1,000 plies");
}

BENCHMARK(BM_Script)->Arg(kPlies)->Unit(benchmark::kMillisecond);
// A thick laminate scripted ply by ply: one request is enough to time it.
BENCHMARK(BM_Script)->Arg(12800)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayupManager)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutEveryOther)->Arg(65536)->Unit(benchmark::kMillisecond);

// Keeps the time per iteration of each benchmark for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                milliseconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> milliseconds;
};

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    unsetenv("CORVANE_DEBUG");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto script = reporter.milliseconds.find("BM_Script/" + std::to_string(kPlies));
    const auto direct = reporter.milliseconds.find("BM_LayupManager");
    if (script != reporter.milliseconds.end() && direct != reporter.milliseconds.end())
        std::cout << std::fixed << std::setprecision(2) << "\n1,000 plies with AddPly and a save: script "
                  << script->second << " ms, LayupManager " << direct->second << " ms, ratio "
                  << script->second / direct->second << std::endl;
    return 0;
}
