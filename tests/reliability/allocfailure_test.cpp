// Every allocation of a whole request fails in turn, alone or with every later
// one of the request as well (memory gone for good): the entry call returns,
// reports nothing or exactly its out-of-memory line (or the script's error
// lines when the interpreter runs out), saves nothing half-done, calls the
// host no more once it has returned, and the next request runs as normal.
// Leaks show in the sanitizer tree's leak check at exit.
//
// Left out: the toolkit's application object, made here before any request
// as in a host that runs the toolkit itself. Its constructor is not
// exception-safe (a std::bad_alloc inside it leaves the thread's data half
// made, and the next request aborts inside the toolkit), so a request that
// has to make one cannot survive running out of memory there.

#include "failingalloc.h"
#include "requestharness.h"

#include "host/lamcallbacks.h"
#include "script/scriptapitesting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace reliability;

namespace {

const char kScriptMemoryError[] = "Internal error running script";
const char kNoInterpreter[] = "Error: scripting engine not initialized.";

void MakeApplication()
{
    static int argc = 1;
    static char name[] = "test_reliability";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

template <class T>
bool IsPrefix(const std::vector<T> &prefix, const std::vector<T> &of)
{
    return prefix.size() <= of.size() && std::equal(prefix.begin(), prefix.end(), of.begin());
}

std::string Describe(const Outcome &o)
{
    std::string text;
    for (const std::string &line : o.lines)
        text += "  | " + line + "\n";
    return text + "  saves: " + std::to_string(o.laminateSaves.size() + o.plyMaterialSaves.size());
}

// How the requests of a sweep ended.
struct Tally
{
    long long points = 0;      // allocations made to fail
    long long unaffected = 0;  // recovered inside (the interpreter collects and retries)
    long long outOfMemory = 0; // the out-of-memory line
    long long scriptError = 0; // the script's error lines
};

// Empty when a request whose allocation failed ended soundly; else why not.
std::string Check(const Outcome &o, const Outcome &reference, const char *outOfMemoryLine, Tally &tally)
{
    if (o.lines == reference.lines) {
        ++tally.unaffected;
        if (!SameSaves(o, reference))
            return "the output is complete but the saves differ";
        if (o.calls != reference.calls)
            return "the output is complete but the host was called differently";
        return "";
    }
    if (o.lines.empty())
        return "no line at all";
    std::vector<std::string> body = o.lines;
    const std::string tail = body.back();
    body.pop_back();
    if (!IsPrefix(body, reference.lines))
        return "the lines before the last are not the start of the normal output";
    if (tail == outOfMemoryLine)
        ++tally.outOfMemory;
    else if (tail == kScriptMemoryError || tail == kNoInterpreter)
        ++tally.scriptError;
    else
        return "the last line is neither the out-of-memory line nor a script error";
    // The failure may come after the host took the laminate; then it took all of it.
    const bool nothingSaved = o.laminateSaves.empty() && o.plyMaterialSaves.empty();
    if (!nothingSaved && !(body == reference.lines && SameSaves(o, reference)))
        return "saved after running out of memory";
    std::vector<LamHost::Slot> calls = o.calls;
    if (calls.empty() || calls.back() != LamHost::Slot::ShowMessage)
        return "the last call was not the line";
    calls.pop_back();
    if (!IsPrefix(calls, reference.calls))
        return "the host was called differently before the failure";
    return "";
}

class AllocFailure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MakeApplication();
        SetScriptAllocator(failalloc::LuaAlloc, nullptr);
    }
    void TearDown() override { SetScriptAllocator(nullptr, nullptr); }

    // Fails each allocation of run's request in turn (with onward, every
    // later one too), each followed by a request that must run normally.
    Tally Sweep(const std::function<Outcome()> &run, const char *outOfMemoryLine, bool onward = false)
    {
        failalloc::Arm(0);
        const Outcome reference = run();
        const long long total = failalloc::Disarm();
        EXPECT_GT(reference.laminateSaves.size() + reference.plyMaterialSaves.size(), 0u) << Describe(reference);
        Tally tally;
        int reported = 0;
        for (long long n = 1; n <= total && reported < 10; ++n) {
            ResetCallsOutsideRequests();
            failalloc::Arm(n, onward);
            const Outcome o = run();
            failalloc::Disarm();
            EXPECT_TRUE(failalloc::Failed()) << "allocation " << n << " was not made";
            ++tally.points;
            std::string fault = Check(o, reference, outOfMemoryLine, tally);
            if (fault.empty() && CallsOutsideRequests() != 0)
                fault = "the host was called after the entry call returned";
            const Outcome next = run();
            if (fault.empty() && (next.lines != reference.lines || !SameSaves(next, reference)))
                fault = "the next request did not run normally:\n" + Describe(next);
            if (fault.empty() && next.calls != reference.calls)
                fault = "the next request called the host differently (calls left from the failed one?)";
            if (!fault.empty()) {
                ++reported;
                ADD_FAILURE() << "allocation " << n << " of " << total << ": " << fault << "\n" << Describe(o);
            }
        }
        std::printf("%lld allocation-failure points: %lld unaffected, %lld out-of-memory lines, %lld script errors\n",
                    tally.points, tally.unaffected, tally.outOfMemory, tally.scriptError);
        return tally;
    }

    Harness harness_;
};

const char kModelerOutOfMemory[] = "Corvane Modeler exception: out of memory.";
const char kPlyMaterialOutOfMemory[] = "Corvane (Ply Material Creation) exception: out of memory.";

TEST_F(AllocFailure, ModificationRequest)
{
    const Tally tally = Sweep([this] { return harness_.Modify(harness_.ModifyPath()); }, kModelerOutOfMemory);
    EXPECT_GT(tally.outOfMemory, 0);
    EXPECT_GT(tally.scriptError, 0);
}

// Lua lets a script catch the error that a C++ exception in a script function
// becomes, and go on with the edit half made: such a run must save nothing.
TEST_F(AllocFailure, ModificationRequestThatCatchesErrors)
{
    const std::string path = harness_.WriteScript("guarded.lua", R"(
local function try(f, ...) pcall(f, ...) end
try(AddPly, {Material = 301, Thickness = 0.125, Angle = 30, Color = 3})
try(AddPly, {Material = 302, Thickness = 0.25, Angle = -30, Color = 4})
SelectPly(9)
SelectPly(10)
try(Group)
SelectPly(1)
try(ModifyPly, {Material = 302, Thickness = 0.25, Angle = 15, Color = 5})
try(List)
)");
    Sweep([&] { return harness_.Modify(path); }, kModelerOutOfMemory);
}

TEST_F(AllocFailure, ModificationRequestWithMemoryGoneForGood)
{
    const Tally tally = Sweep([this] { return harness_.Modify(harness_.ModifyPath()); }, kModelerOutOfMemory, true);
    EXPECT_GT(tally.outOfMemory, 0);
}

TEST_F(AllocFailure, PlyMaterialRequestWithMemoryGoneForGood)
{
    Sweep([this] { return harness_.PlyMaterial(harness_.PlyMaterialPath()); }, kPlyMaterialOutOfMemory, true);
}

TEST_F(AllocFailure, CreationRequest)
{
    const Tally tally = Sweep([this] { return harness_.Create(harness_.CreatePath()); }, kModelerOutOfMemory);
    EXPECT_GT(tally.outOfMemory, 0);
}

TEST_F(AllocFailure, PlyMaterialRequest)
{
    const Tally tally =
        Sweep([this] { return harness_.PlyMaterial(harness_.PlyMaterialPath()); }, kPlyMaterialOutOfMemory);
    EXPECT_GT(tally.outOfMemory, 0);
}

// lamSetup leaves no session behind when making it runs out of memory, so
// that the next lamSetup tries again.
TEST(AllocFailureSetup, SetupTriesAgainAfterRunningOutOfMemory)
{
    if (Harness::ModuleSetUp())
        GTEST_SKIP() << "needs a process in which the module is not set up yet";
    LamHost::Store store(LamHost::DemoStore());
    store.Activate();
    Sync();
    int failures = 0;
    for (long long n = 1; !Harness::ModuleSetUp(); ++n) {
        ASSERT_LT(n, 100);
        store.ClearRecords();
        failalloc::Arm(n);
        Harness::SetUpModule();
        failalloc::Disarm();
        if (Harness::ModuleSetUp())
            break;
        ++failures;
        EXPECT_EQ(store.Transcript(), std::vector<std::string>{kModelerOutOfMemory});
    }
    EXPECT_GT(failures, 0);
    MakeApplication();
    Harness harness;
    const Outcome outcome = harness.Modify(harness.ModifyPath());
    EXPECT_EQ(outcome.laminateSaves.size(), 1u) << Describe(outcome);
}

} // namespace
