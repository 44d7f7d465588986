// Automatic grouping: the maker's indexed search against the plain search, side
// by side, on six families of flat ply lists. Prints Google Benchmark's lines
// (manual time = the indexed search) and then one table with both times, their
// ratio, the number of steps and the longest single step.

#include "core/layupmaker.h"
#include "core/plygroup.h"
#include "tests/core/plainsearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Plies = std::vector<PlySimple>;

// The plain search grows 16-fold per doubling; beyond this it takes minutes.
constexpr int kPlainLimit = 1600;

struct Family
{
    char code;
    const char *name;
};

const Family kFamilies[] = {
    {'a', "all distinct but two"},
    {'b', "random 0/45/-45/90"},
    {'c', "periodic [0/45/-45/90]"},
    {'d', "all identical"},
    {'e', "identical, marker every n/8"},
    {'f', "random over two plies"},
};

PlySimple Ply(int material, float angle)
{
    PlySimple ply(0, "ply");
    ply.SetMaterial(material);
    ply.SetAngle(angle);
    ply.SetThickness(0.125f);
    ply.SetColor(1);
    return ply;
}

Plies MakeFamily(char code, int n)
{
    static const float kAngles[] = {0.0f, 45.0f, -45.0f, 90.0f};
    std::mt19937 rng(static_cast<unsigned>(n) * 31 + static_cast<unsigned>(code));
    Plies plies;
    for (int i = 0; i < n; ++i) {
        switch (code) {
        case 'a':
            plies.push_back(i == n - 1 ? plies.front() : Ply(1 + i, 0.0f));
            break;
        case 'b':
            plies.push_back(Ply(1, kAngles[rng() % 4]));
            break;
        case 'c':
            plies.push_back(Ply(1, kAngles[i % 4]));
            break;
        case 'd':
            plies.push_back(Ply(1, 0.0f));
            break;
        case 'e':
            plies.push_back(i % (n / 8) == 0 ? Ply(100 + i / (n / 8), 0.0f) : Ply(1, 0.0f));
            break;
        default:
            plies.push_back(Ply(1 + static_cast<int>(rng() % 2), 0.0f));
            break;
        }
    }
    return plies;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Row
{
    const Family *family;
    int n;
    double fast = 0, plain = NAN, longestStep = 0;
    long steps = 0;
};

std::vector<Row> rows;

double TimeFast(const Plies &plies)
{
    const Clock::time_point start = Clock::now();
    std::unique_ptr<LayupMaker> maker(LayupMaker::CondenseSetup(plies));
    float progress;
    while (!maker->Step(&progress)) {
    }
    benchmark::DoNotOptimize(maker->GetResult().GetLayup().Size());
    return Seconds(Clock::now() - start);
}

// A second run of the indexed search, timing every step on its own.
void TimeSteps(const Plies &plies, Row &row)
{
    std::unique_ptr<LayupMaker> maker(LayupMaker::CondenseSetup(plies));
    float progress;
    bool done = false;
    while (!done) {
        const Clock::time_point start = Clock::now();
        done = maker->Step(&progress);
        row.longestStep = std::max(row.longestStep, Seconds(Clock::now() - start));
        ++row.steps;
    }
}

double TimePlain(const Plies &plies)
{
    const Clock::time_point start = Clock::now();
    PlainSearch plain(plies);
    float progress;
    while (!plain.Step(&progress)) {
    }
    benchmark::DoNotOptimize(plain.Result().GetLayup().Size());
    return Seconds(Clock::now() - start);
}

void Compare(benchmark::State &state, const Family *family, int n)
{
    const Plies plies = MakeFamily(family->code, n);
    Row row{family, n};
    for (auto _ : state) {
        row.fast = TimeFast(plies);
        state.SetIterationTime(row.fast);
    }
    TimeSteps(plies, row);
    if (n <= kPlainLimit)
        row.plain = TimePlain(plies);
    state.counters["plain_s"] = row.plain;
    state.counters["ratio"] = row.plain / row.fast;
    state.counters["steps"] = static_cast<double>(row.steps);
    state.counters["longest_step_ms"] = row.longestStep * 1e3;
    rows.push_back(row);
}

void PrintTable()
{
    std::printf("\n| family | n | indexed (ms) | plain (ms) | ratio | steps | longest step (ms) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Row &row : rows) {
        char plain[32] = "-", ratio[32] = "-";
        if (!std::isnan(row.plain)) {
            std::snprintf(plain, sizeof plain, "%.1f", row.plain * 1e3);
            std::snprintf(ratio, sizeof ratio, "%.0f", row.plain / row.fast);
        }
        std::printf("| (%c) %s | %d | %.2f | %s | %s | %ld | %.3f |\n", row.family->code, row.family->name, row.n,
                    row.fast * 1e3, plain, ratio, row.steps, row.longestStep * 1e3);
    }
}

} // namespace

int main(int argc, char **argv)
{
    for (const Family &family : kFamilies) {
        for (int n : {100, 200, 400, 800, 1600, 3200}) {
            const std::string name = std::string("Grouping/") + family.code + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(name.c_str(), Compare, &family, n)
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    return 0;
}
