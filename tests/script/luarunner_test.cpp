#include "script/luarunner.h"

#include "script/luafields.h"

#include "host/testenv.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

std::vector<std::string> gMessages;
int gProbesDestroyed = 0;

// Records what the run hands to _ERRORMESSAGE.
int Record(lua_State *L)
{
    const char *text = lua_tostring(L, 1);
    gMessages.push_back(text ? text : "(no message)");
    return 0;
}

struct Probe
{
    ~Probe() { ++gProbesDestroyed; }
};

// Owns C++ objects, one on the heap, when the error is raised: with the C++ build
// both are released (ASan's leak check sees the string otherwise).
int Guarded(lua_State *L)
{
    Probe probe;
    const std::string owned(100, 'x');
    return usageError(L, "usage: Guarded()");
}

int Throw(lua_State *)
{
    throw std::bad_alloc();
}

const luaL_Reg kFunctions[] = {
    {"_ERRORMESSAGE", Record},
    {"Guarded", Guarded},
    {"Throw", Throw},
    {nullptr, nullptr},
};

// A file with the text of a precompiled chunk.
std::string Dump(lua_State *L)
{
    std::string out;
    luaL_loadstring(L, "return 1");
    lua_dump(
        L,
        [](lua_State *, const void *p, size_t size, void *ud) {
            static_cast<std::string *>(ud)->append(static_cast<const char *>(p), size);
            return 0;
        },
        &out, 0);
    lua_pop(L, 1);
    return out;
}

class LuaRunnerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(runner_.State(), nullptr);
        ASSERT_TRUE(runner_.Register(kFunctions));
        gMessages.clear();
        gProbesDestroyed = 0;
    }
    int Run(const std::string &script)
    {
        return runner_.RunFile(dir_.Write("s.lua", script).c_str());
    }
    std::string Global(const char *name)
    {
        lua_getglobal(runner_.State(), name);
        const char *text = lua_tostring(runner_.State(), -1);
        std::string value = text ? text : "(nil)";
        lua_pop(runner_.State(), 1);
        return value;
    }

    TempDir dir_;
    LuaRunner runner_;
};

TEST_F(LuaRunnerTest, ResultCodesAndMessages)
{
    struct Case
    {
        std::string script;
        int result;
        std::vector<std::string> messages; // each a part of one message, in order
    };
    const Case cases[] = {
        {"", LuaRunner::RunOk, {}},
        {"x = 1 return 1, 2, 3", LuaRunner::RunOk, {}},
        {"pcall(error, 'caught')", LuaRunner::RunOk, {}},
        {"\xEF\xBB\xBFx = 1", LuaRunner::RunOk, {}},
        {"error('boom')", LuaRunner::RunError, {"s.lua:1: boom"}},
        {"#!/usr/bin/lua\nerror('e')", LuaRunner::RunError, {"s.lua:2: e"}},
        {"x = 1\nnosuch()", LuaRunner::RunError, {"s.lua:2: attempt to call a nil value"}},
        {"error()", LuaRunner::RunError, {"(no message)"}},
        {"error({})", LuaRunner::RunError, {"(no message)"}},
        {"local function f() return 1 + f() end f()", LuaRunner::RunError, {"stack overflow"}},
        {"_ERRORMESSAGE = nil error('x')", LuaRunner::RunError, {}},
        {"_ERRORMESSAGE = 5 error('x')", LuaRunner::RunError, {}},
        {"x = = 1", LuaRunner::RunSyntaxError, {"s.lua:1: unexpected symbol"}},
        {"\x1bLua", LuaRunner::RunSyntaxError, {"binary chunk"}},
        {"assert(load(string.dump(function() end), nil, 'b'))", LuaRunner::RunError,
         {"binary chunk"}},
        {"Throw()", LuaRunner::RunMemoryError, {}},
        // A chunk that does not compile is load's result, as Lua's own load gives it.
        {"local f, m = load('return ' .. ('('):rep(300000) .. '1' .. (')'):rep(300000))\n"
         "assert(f == nil and m:find('overflow'))",
         LuaRunner::RunOk, {}},
        {"assert(load(function() error('reader') end) == nil)", LuaRunner::RunOk, {}},
        {"assert(loadfile('/nonexistent/x.lua') == nil)", LuaRunner::RunOk, {}},
        {"load()", LuaRunner::RunError, {"bad argument #1"}},
        {"dofile('/nonexistent/x.lua')", LuaRunner::RunError, {"/nonexistent/x.lua"}},
        {"x = " + std::string(300000, '(') + "1" + std::string(300000, ')'), LuaRunner::RunSyntaxError,
         {"overflow"}},
        {"function _ERRORMESSAGE(m) error('again') end error('x')", LuaRunner::RunHandlerError,
         {}},
        {"function _ERRORMESSAGE(m) Guarded() end error('x')", LuaRunner::RunHandlerError, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script.substr(0, 80));
        LuaRunner runner;
        ASSERT_TRUE(runner.Register(kFunctions));
        lua_State *L = runner.State();
        lua_pushliteral(L, "sentinel");
        gMessages.clear();
        const std::string path = dir_.Write("s.lua", c.script);
        EXPECT_EQ(runner.RunFile(path.c_str()), c.result);
        ASSERT_EQ(gMessages.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i)
            EXPECT_NE(gMessages[i].find(c.messages[i]), std::string::npos) << gMessages[i];
        EXPECT_EQ(lua_gettop(L), 1);
        // Whatever went wrong, the state still runs scripts.
        EXPECT_EQ(runner.RunFile(dir_.Write("s.lua", "ok = true").c_str()), LuaRunner::RunOk);
        EXPECT_EQ(lua_gettop(L), 1);
    }
}

TEST_F(LuaRunnerTest, UsageErrorHasNoPrefixAndUnwindsCxxFrames)
{
    EXPECT_EQ(Run("x = 1\nGuarded()"), LuaRunner::RunError);
    EXPECT_EQ(gMessages, std::vector<std::string>{"usage: Guarded()"});
    EXPECT_EQ(gProbesDestroyed, 1);
}

TEST_F(LuaRunnerTest, ErrorMessageIsTheGlobalAtTheTimeOfTheError)
{
    EXPECT_EQ(Run("function _ERRORMESSAGE(m) first = m end\n"
                  "function _ERRORMESSAGE(m) second = m end\n"
                  "error('late', 0)"),
              LuaRunner::RunError);
    EXPECT_EQ(Global("first"), "(nil)");
    EXPECT_EQ(Global("second"), "late");
    EXPECT_TRUE(gMessages.empty());

    EXPECT_EQ(Run("function _ERRORMESSAGE(m) seen = m end\nGuarded()"), LuaRunner::RunError);
    EXPECT_EQ(Global("seen"), "usage: Guarded()");
}

TEST_F(LuaRunnerTest, SyntaxErrorGoesThroughErrorMessage)
{
    // The script's own definition cannot exist yet: the chunk never ran.
    EXPECT_EQ(Run("function _ERRORMESSAGE(m) seen = m end\nif then"), LuaRunner::RunSyntaxError);
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_NE(gMessages[0].find("s.lua:2:"), std::string::npos) << gMessages[0];
    EXPECT_EQ(Global("seen"), "(nil)");
}

TEST_F(LuaRunnerTest, ErrorInTheHandlerOfASyntaxError)
{
    const luaL_Reg failing[] = {{"_ERRORMESSAGE", Guarded}, {nullptr, nullptr}};
    ASSERT_TRUE(runner_.Register(failing));
    EXPECT_EQ(Run("x = = 1"), LuaRunner::RunHandlerError);
    EXPECT_EQ(gProbesDestroyed, 1);
    EXPECT_EQ(lua_gettop(runner_.State()), 0);
}

TEST_F(LuaRunnerTest, PathsThatAreNotReadableRegularFiles)
{
    const std::string fifo = dir_.Path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case
    {
        std::string path;
        int error;
    };
    const Case cases[] = {
        {dir_.Path() + "/missing.lua", ENOENT},
        {dir_.Path() + "/missing/s.lua", ENOENT},
        {dir_.Write("file.lua", "") + "/s.lua", ENOTDIR},
        {dir_.Path(), EISDIR},
        {fifo, EINVAL}, // would block forever if it were opened for reading
        {"/dev/null", EINVAL},
        {"", ENOENT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        errno = 0;
        EXPECT_EQ(runner_.RunFile(c.path.c_str()), LuaRunner::RunFileError);
        EXPECT_EQ(errno, c.error);
    }
    errno = 0;
    EXPECT_EQ(runner_.RunFile(nullptr), LuaRunner::RunFileError);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_TRUE(gMessages.empty());
    EXPECT_EQ(lua_gettop(runner_.State()), 0);
}

TEST_F(LuaRunnerTest, UnreadableFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    const std::string path = dir_.Write("locked.lua", "x = 1");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    errno = 0;
    EXPECT_EQ(runner_.RunFile(path.c_str()), LuaRunner::RunFileError);
    EXPECT_EQ(errno, EACCES);
}

TEST_F(LuaRunnerTest, PrecompiledChunksAreRefusedEverywhere)
{
    const std::string binary = dir_.Write("b.luac", Dump(runner_.State()));
    EXPECT_EQ(runner_.RunFile(binary.c_str()), LuaRunner::RunSyntaxError);
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_NE(gMessages[0].find("attempt to load a binary chunk"), std::string::npos);

    const std::string text = dir_.Write("t.lua", "return 7");
    const std::string scripts[] = {
        "assert(loadfile('" + binary + "'))",
        "assert(loadfile('" + binary + "', 'b'))",
        "dofile('" + binary + "')",
        "assert(load(string.dump(function() end)))",
    };
    for (const std::string &script : scripts) {
        SCOPED_TRACE(script);
        gMessages.clear();
        EXPECT_EQ(Run(script), LuaRunner::RunError);
        ASSERT_EQ(gMessages.size(), 1u);
        EXPECT_NE(gMessages[0].find("binary chunk"), std::string::npos) << gMessages[0];
    }
    // Text still loads through every loader, and an env argument is kept.
    EXPECT_EQ(Run("assert(dofile('" + text + "') == 7)\n"
                  "assert(loadfile('" + text + "', 'b')() == 7)\n"
                  "assert(load('return 8')() == 8)\n"
                  "local env = {}\n"
                  "load('y = 9', 'chunk', 'b', env)()\n"
                  "assert(env.y == 9 and y == nil)"),
              LuaRunner::RunOk)
        << (gMessages.empty() ? "" : gMessages[0]);
}

TEST_F(LuaRunnerTest, DofileOfAFileThatDoesNotCompileReportsOnce)
{
    const std::string deep = dir_.Write("deep.lua", "x = " + std::string(300000, '(') + "1" + std::string(300000, ')'));
    EXPECT_EQ(Run("dofile('" + deep + "')"), LuaRunner::RunError);
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_NE(gMessages[0].find("overflow"), std::string::npos) << gMessages[0];
}

TEST_F(LuaRunnerTest, OnlyTheChosenLibrariesAreOpen)
{
    lua_State *L = runner_.State();
    for (const char *absent : {"os", "package", "debug", "require", "coroutine", "utf8"}) {
        lua_getglobal(L, absent);
        EXPECT_TRUE(lua_isnil(L, -1)) << absent;
        lua_pop(L, 1);
    }
    EXPECT_EQ(Run("assert(table.concat({1, 2}, ',') == '1,2')\n"
                  "local t = {3, 1, 2} table.sort(t) table.insert(t, 4)\n"
                  "assert(table.unpack(t, 4) == 4 and t[1] == 1)\n"
                  "assert(string.format('%d', 3) == '3' and ('ab'):upper() == 'AB')\n"
                  "assert(math.floor(2.5) == 2 and io.write and print and pairs)"),
              LuaRunner::RunOk);
    // The globals this layer registers are just those of the list.
    for (const luaL_Reg *f = kFunctions; f->name; ++f) {
        EXPECT_EQ(lua_getglobal(L, f->name), LUA_TFUNCTION) << f->name;
        lua_pop(L, 1);
    }
}

// An allocator with a limit, so that the interpreter runs out of memory.
struct Budget
{
    size_t used = 0;
    size_t limit = static_cast<size_t>(-1);
};

void *BudgetAlloc(void *ud, void *ptr, size_t osize, size_t nsize)
{
    Budget *budget = static_cast<Budget *>(ud);
    const size_t old = ptr ? osize : 0;
    if (nsize == 0) {
        std::free(ptr);
        budget->used -= old;
        return nullptr;
    }
    if (nsize > old && budget->used + (nsize - old) > budget->limit)
        return nullptr;
    void *block = std::realloc(ptr, nsize);
    if (block)
        budget->used = budget->used - old + nsize;
    return block;
}

TEST(LuaRunnerMemory, RunningOutOfMemory)
{
    TempDir dir;
    const std::string grow = dir.Write("grow.lua", "local t = {} for i = 1, 1e8 do t[i] = i end");

    Budget tight;
    tight.limit = 2000;
    LuaRunner none(BudgetAlloc, &tight);
    EXPECT_EQ(none.State(), nullptr);
    EXPECT_FALSE(none.Register(kFunctions));
    EXPECT_EQ(none.RunFile(grow.c_str()), LuaRunner::RunMemoryError);

    Budget budget;
    LuaRunner runner(BudgetAlloc, &budget);
    ASSERT_NE(runner.State(), nullptr);
    ASSERT_TRUE(runner.Register(kFunctions));
    budget.limit = budget.used + 100000;
    gMessages.clear();
    EXPECT_EQ(runner.RunFile(grow.c_str()), LuaRunner::RunMemoryError);
    EXPECT_TRUE(gMessages.empty());
    EXPECT_EQ(lua_gettop(runner.State()), 0);
    lua_gc(runner.State(), LUA_GCCOLLECT);
    EXPECT_EQ(runner.RunFile(dir.Write("ok.lua", "x = 1").c_str()), LuaRunner::RunOk);
}

} // namespace
