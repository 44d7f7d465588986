// Script text run as a whole request through the module's entry functions
// against the host stand-in's demo store: in laminate mode (modifying the
// demo laminate, or creating a new one when the text's length is odd) and in
// ply material mode. Besides the sanitizers' findings, it aborts when an
// exception reaches the entry call (a line reaches the host that did not come
// through the logger: the entry call's own report) or a save hands the host a
// value that is not finite or a ply count that does not match its arrays.
//
// Limits of the fuzzer, not of the module: the interpreter may use 64 MB, a
// million instructions and 2000 function calls per run (then the script
// fails with an error); a run ends with an error once AddPly or Paste made
// more than 5000 plies, or AutoGroup() is asked to group more than 400 (its
// time grows with the square of the plies: minutes at the module's limit of
// 100,000), so that no run takes more than seconds; and
// the script sees no io library, dofile, loadfile, print or string pattern
// matching, which reach the machine's files and terminal or can backtrack
// for minutes inside one library call.

#include "fuzz/requestprobe.h"
#include "host/lamcallbacks.h"
#include "script/scriptapitesting.h"
#include "tools/lamhost/store.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr size_t kMemoryLimit = 64u << 20;
constexpr long kInstructionLimit = 1000000;
constexpr long kCallLimit = 2000;
constexpr int kHookEvery = 1000;

struct Budget
{
    size_t memory = 0;
    long instructions = 0;
    long calls = 0;
};

Budget gBudget;
LamHost::Store *gStore = nullptr;
std::string gScriptPath;

// The folder of the script file, removed when the fuzzer exits.
struct ScratchFolder
{
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    std::string path;
} gFolder;

void *LimitedAlloc(void *, void *block, size_t oldSize, size_t newSize)
{
    const size_t old = block ? oldSize : 0;
    if (newSize == 0) {
        std::free(block);
        gBudget.memory -= old;
        return nullptr;
    }
    if (newSize > old && newSize - old > kMemoryLimit - gBudget.memory)
        return nullptr;
    void *grown = std::realloc(block, newSize);
    if (grown)
        gBudget.memory = gBudget.memory - old + newSize;
    return grown;
}

void Hook(lua_State *L, lua_Debug *event)
{
    if (event->event == LUA_HOOKCOUNT)
        gBudget.instructions += kHookEvery;
    else
        ++gBudget.calls;
    if (gBudget.instructions > kInstructionLimit || gBudget.calls > kCallLimit)
        luaL_error(L, "fuzzer limit reached");
}

// Ends the run: every later instruction or call raises the limit's error.
int Exhaust(lua_State *)
{
    gBudget.calls = kCallLimit + 1;
    return 0;
}

// Run with Exhaust as its argument, before the script.
const char kLaminateLimits[] = R"(
local exhaust = ...
local count, group = CountPlies, AutoGroup
local function checked(edit)
  return function(...)
    edit(...)
    local n = count()
    if n and n > 5000 then exhaust() error("fuzzer limit: " .. n .. " plies") end
  end
end
for _, name in ipairs({"AddPly", "Paste"}) do _ENV[name] = checked(_ENV[name]) end
AutoGroup = function()
  local n = count()
  if n and n > 400 then exhaust() error("fuzzer limit: grouping " .. n .. " plies") end
  group()
end
)";

void Restrict(lua_State *L)
{
    for (const char *name : {"io", "dofile", "loadfile", "print"}) {
        lua_pushnil(L);
        lua_setglobal(L, name);
    }
    if (lua_getglobal(L, "string") == LUA_TTABLE) {
        for (const char *name : {"find", "match", "gmatch", "gsub"}) {
            lua_pushnil(L);
            lua_setfield(L, -2, name);
        }
    }
    lua_pop(L, 1);
    // Laminate mode: the stack's size and the grouping are kept small.
    if (lua_getglobal(L, "AutoGroup") == LUA_TFUNCTION && luaL_loadstring(L, kLaminateLimits) == LUA_OK) {
        lua_pushcfunction(L, Exhaust);
        lua_pcall(L, 1, 0, 0);
    }
    lua_settop(L, 0);
    lua_sethook(L, Hook, LUA_MASKCALL | LUA_MASKCOUNT, kHookEvery);
}

fuzzprobe::LoggedLines *gLogged = nullptr;

using fuzzprobe::Fail;

void CheckRequest(const LamHost::Store &store)
{
    fuzzprobe::CheckShown(store.Transcript(), *gLogged);
    for (const LamHost::LaminateSave &save : store.LaminateSaves()) {
        if (save.plyCount < 0 || static_cast<size_t>(save.plyCount) != save.plies.size())
            Fail("ply count", std::to_string(save.plyCount));
        // Not the reference plane: for a top or middle plane it follows the stack's
        // total thickness, which plies near the largest float can take to infinity.
        const double values[] = {save.bondingStress, save.tsaiWuCoefficient, save.nonStructuralMass,
                                 save.damping, save.referenceTemperature};
        for (const double value : values) {
            if (!std::isfinite(value))
                Fail("laminate property", std::to_string(value));
        }
        for (const LamHost::HostPly &ply : save.plies) {
            if (!std::isfinite(ply.thickness) || !std::isfinite(ply.angle))
                Fail("ply value", std::to_string(ply.thickness) + " " + std::to_string(ply.angle));
        }
    }
    for (const LamHost::PlyMaterialSave &save : store.PlyMaterialSaves()) {
        const LamHost::HostPlyMaterial &m = save.material;
        const double values[] = {m.matrixFraction, m.fiberFraction, m.aspectRatio, m.transverseRibbon,
                                 m.ribbonLength, m.ribbonWidth, m.ribbonThickness, m.factors[0],
                                 m.factors[1], m.factors[2], m.factors[3], m.factors[4]};
        for (const double value : values) {
            if (!std::isfinite(value))
                Fail("ply material value", std::to_string(value));
        }
    }
}

template <class Entry>
void Request(Entry entry)
{
    // Every input starts from the same host: the demo store and two picker answers.
    while (gStore->PendingPicks() > 0)
        gStore->SelectMaterial(0, nullptr);
    gStore->QueuePick(303);
    gStore->QueuePick(101);
    gStore->Data() = LamHost::DemoStore();
    gStore->ClearRecords();
    gStore->BeginRequest();
    gBudget.instructions = 0;
    gBudget.calls = 0;
    gLogged->lines.clear();
    entry();
    CheckRequest(*gStore);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    unsetenv("CORVANE_DEBUG"); // no log file
    static int argc = 1;
    static char name[] = "fuzz_script";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // kept for the process, as a host running Qt would
    static LamHost::Store store(LamHost::DemoStore());
    gStore = &store;
    store.Activate();
    char folder[] = "/tmp/corvane-fuzz-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    gFolder.path = folder;
    gScriptPath = gFolder.path + "/script.lua";
    store.SetScriptPath(gScriptPath);
    gLogged = fuzzprobe::Attach();
    SetScriptAllocator(LimitedAlloc, nullptr);
    SetScriptOpenHook(Restrict);
    lamSetup(LamHost::CallbackTable());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        std::ofstream file(gScriptPath, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    Request([size] { lamModeler(size % 2 ? 1 : 0); });
    Request([] { lamPlyMaterial(); });
    return 0;
}
