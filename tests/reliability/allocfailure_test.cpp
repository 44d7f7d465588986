#include "failingalloc.h"
#include "requestharness.h"

#include "script/scriptapitesting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace reliability;

namespace {

const char kModelerOutOfMemory[] = "Corvane Modeler exception: out of memory.";

std::string Describe(const Outcome &o)
{
    std::string text;
    for (const std::string &line : o.lines)
        text += "  | " + line + "\n";
    return text + "  saves: " + std::to_string(o.laminateSaves.size() + o.plyMaterialSaves.size());
}

bool IsPrefix(const std::vector<std::string> &prefix, const std::vector<std::string> &of)
{
    return prefix.size() <= of.size() && std::equal(prefix.begin(), prefix.end(), of.begin());
}

QCoreApplication &App()
{
    static int argc = 1;
    static char name[] = "test";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(AllocFailure, Experiment)
{
    App();
    SetScriptAllocator(failalloc::LuaAlloc, nullptr);
    Harness harness;
    failalloc::Arm(0);
    const std::string path = std::getenv("PCALL") ? harness.WriteScript("pcall.lua", R"(
local function try(f, ...) pcall(f, ...) end
try(AddPly, {Material = 301, Thickness = 0.125, Angle = 30, Color = 3})
try(AddPly, {Material = 302, Thickness = 0.25, Angle = -30, Color = 4})
SelectPly(9)
SelectPly(10)
try(Group)
SelectPly(1)
try(ModifyPly, {Material = 302, Thickness = 0.25, Angle = 15, Color = 5})
)") : harness.ModifyPath();
    const Outcome reference = harness.Modify(path);
    const long long total = failalloc::Disarm();
    int bad = 0;
    for (long long n = 1; n <= total && bad < 30; ++n) {
        ResetCallsOutsideRequests();
        failalloc::Arm(n);
        Outcome o = harness.Modify(path);
        failalloc::Disarm();
        std::vector<std::string> body = o.lines;
        std::string tail;
        if (!body.empty() && body != reference.lines) {
            tail = body.back();
            body.pop_back();
        }
        bool ok = IsPrefix(body, reference.lines);
        const bool savedRight = o.laminateSaves.size() == 1 && SameSave(o.laminateSaves[0], reference.laminateSaves[0]);
        if (o.lines == reference.lines)
            ok = ok && savedRight;
        else
            ok = ok && (o.laminateSaves.empty() || (savedRight && body == reference.lines))
                 && (tail == kModelerOutOfMemory || tail == "Internal error running script"
                     || tail == "Error: scripting engine not initialized.");
        ok = ok && CallsOutsideRequests() == 0;
        const Outcome next = harness.Modify(path);
        const bool nextOk = next.lines == reference.lines && next.laminateSaves.size() == 1
                            && SameSave(next.laminateSaves[0], reference.laminateSaves[0]);
        if (!ok || !nextOk) {
            ++bad;
            ADD_FAILURE() << "allocation " << n << " of " << total << (ok ? "" : ": request\n" + Describe(o))
                          << (nextOk ? "" : "\nnext request:\n" + Describe(next));
        }
    }
}

} // namespace
namespace {
TEST(AllocFailure, One)
{
    if (std::getenv("APP")) App();
    SetScriptAllocator(failalloc::LuaAlloc, nullptr);
    Harness harness;
    const long long n = std::atoll(std::getenv("N"));
    failalloc::Arm(n);
    Outcome o = harness.Modify(harness.ModifyPath());
    failalloc::Disarm();
    std::printf("%s\n", Describe(o).c_str());
    Outcome next = harness.Modify(harness.ModifyPath());
    std::printf("%s\n", Describe(next).c_str());
}
}
