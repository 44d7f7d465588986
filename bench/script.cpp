// A script's cost over the engine's: a new laminate of 1,000 plies built with
// AddPly and saved, once as a whole script request through the session (context,
// interpreter, script, save), once as the same edits made through the
// LayupManager directly. Prints Google Benchmark's lines, then both times and
// their ratio. Also a script that cuts every other ply of a large host laminate,
// and scripts that edit every group or link of a large layup in one call.

#include "core/layupmanager.h"
#include "core/selection.h"
#include "core/unitsystem.h"
#include "host/laminatemanager.h"
#include "host/session.h"
#include "tools/lamhost/store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

// The scripts of the group edits. Each shapes a host laminate of four plies,
// [0/45/-45/90], into range(0) plies in one group per four: the pasted copies
// are groups after Cut, links to the first group after Copy. The shaping rows
// time that alone, so that an edit costs its row less its shaping row.
enum GroupEdit { MakeGroups, UngroupAll, LinkAll, MakeLinks, UnlinkAll };

// With check, the script ends by deleting the first group: what is left shows
// that the edit was made.
std::string GroupEditText(GroupEdit edit, int plies, bool check)
{
    const int groups = plies / 4;
    std::string text = "for i = 1, 4 do SelectPly(i) end\nGroup()\nSelectGroup(1)\n";
    if (edit == MakeLinks || edit == UnlinkAll)
        text += "Copy()\nPaste{Count = " + std::to_string(groups - 1) + "}\n";
    else
        text += "Cut()\nPaste{Count = " + std::to_string(groups) + "}\n";
    if (edit == UngroupAll)
        text += "SelectAll()\nUngroup()\n";
    else if (edit == LinkAll)
        text += "SelectAll()\nLink()\n";
    else if (edit == UnlinkAll)
        text += "for id = 2, " + std::to_string(groups) + " do SelectGroup(id) end\nUnlink()\n";
    if (check)
        text += "SelectGroup(1)\nDelete()\nMessage(CountPlies() .. \" \" .. CountGroups())\n";
    return text;
}

// What the check writes.
std::string GroupEditCheck(GroupEdit edit, int plies)
{
    const bool linked = edit == LinkAll || edit == MakeLinks;
    const int left = edit == UngroupAll ? plies : linked ? 0 : plies - 4;
    const int groups = edit == UngroupAll || linked ? 0 : plies / 4 - 1;
    return std::to_string(left) + " " + std::to_string(groups);
}

void GroupEditRequest(benchmark::State &state, GroupEdit edit)
{
    const int plies = static_cast<int>(state.range(0));
    LamHost::StoreData data = LamHost::DemoStore();
    LamHost::HostLaminate &laminate = data.laminates[data.current];
    laminate.plies.clear();
    for (const float angle : kAngles)
        laminate.plies.push_back({0.125f, angle, 301, 2});
    LamHost::Store store(data);
    store.Activate();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvane_bench_groups.lua";
    store.SetScriptPath(path.string());
    Session session(LamHost::CallbackTable());
    const auto request = [&] {
        store.Data() = data;
        store.ClearRecords();
        store.BeginRequest();
    };
    std::ofstream(path) << GroupEditText(edit, plies, false);
    for (auto _ : state) {
        state.PauseTiming();
        request();
        state.ResumeTiming();
        session.Modeler(false);
    }
    std::ofstream(path) << GroupEditText(edit, plies, true);
    request();
    session.Modeler(false);
    const std::vector<std::string> &lines = store.Transcript();
    if (std::find(lines.begin(), lines.end(), GroupEditCheck(edit, plies)) == lines.end())
        state.SkipWithError("the script did not leave the groups it should");
    std::filesystem::remove(path);
}

void BM_MakeGroups(benchmark::State &state) { GroupEditRequest(state, MakeGroups); }
void BM_UngroupAll(benchmark::State &state) { GroupEditRequest(state, UngroupAll); }
void BM_LinkAll(benchmark::State &state) { GroupEditRequest(state, LinkAll); }
void BM_MakeLinks(benchmark::State &state) { GroupEditRequest(state, MakeLinks); }
void BM_UnlinkAll(benchmark::State &state) { GroupEditRequest(state, UnlinkAll); }

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
void GroupEditSizes(benchmark::internal::Benchmark *b)
{
    b->Arg(4000)->Arg(16000)->Arg(64000);
}
BENCHMARK(BM_MakeGroups)->Apply(GroupEditSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UngroupAll)->Apply(GroupEditSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkAll)->Apply(GroupEditSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeLinks)->Apply(GroupEditSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnlinkAll)->Apply(GroupEditSizes)->Unit(benchmark::kMillisecond);

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
