#include "script/luafields.h"

#include "script/luarunner.h"

#include "host/testenv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

class LuaFieldsTest : public ::testing::Test
{
protected:
    // Leaves the table that the Lua expression builds on top of the stack.
    void Push(const std::string &table)
    {
        lua_settop(L, 0);
        ASSERT_EQ(luaL_dostring(L, ("return " + table).c_str()), LUA_OK) << table;
    }

    LuaRunner runner_;
    lua_State *L = runner_.State();
};

TEST_F(LuaFieldsTest, NumberFields)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        const char *table;
        double value;
        bool wrongType;
    };
    const Case cases[] = {
        {"{}", -1, false},
        {"{A = nil, B = 3}", -1, false},
        {"{A = 2}", 2, false},
        {"{A = -0.25}", -0.25, false},
        {"{A = '2.5'}", 2.5, false},
        {"{A = ' 0x10 '}", 16, false},
        {"{A = 'abc'}", -1, true},
        {"{A = ''}", -1, true},
        {"{A = {}}", -1, true},
        {"{A = true}", -1, true},
        {"{A = print}", -1, true},
        {"{A = 0/0}", nan, false},
        {"setmetatable({}, {__index = function() return 4 end})", 4, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        Push(c.table);
        bool wrongType = false;
        const double value = GetNumberField(L, "A", -1, wrongType);
        if (std::isnan(c.value))
            EXPECT_TRUE(std::isnan(value));
        else
            EXPECT_EQ(value, c.value);
        EXPECT_EQ(wrongType, c.wrongType);
        EXPECT_EQ(lua_gettop(L), 1);
    }
}

TEST_F(LuaFieldsTest, IntFieldsAreTruncatedAndClamped)
{
    struct Case
    {
        const char *table;
        int value;
        bool wrongType;
    };
    const Case cases[] = {
        {"{}", -1, false},
        {"{M = 3}", 3, false},
        {"{M = 3.9}", 3, false},
        {"{M = -3.9}", -3, false},
        {"{M = -0.5}", 0, false},
        {"{M = '7'}", 7, false},
        {"{M = 2147483647.9}", INT_MAX, false},
        {"{M = 2147483648}", INT_MAX, false},
        {"{M = -2147483648.9}", INT_MIN, false},
        {"{M = -2147483649}", INT_MIN, false},
        {"{M = 1e300}", INT_MAX, false},
        {"{M = -1e300}", INT_MIN, false},
        {"{M = 1/0}", INT_MAX, false},
        {"{M = -1/0}", INT_MIN, false},
        {"{M = math.maxinteger}", INT_MAX, false},
        {"{M = math.mininteger}", INT_MIN, false},
        {"{M = 0/0}", -1, false},
        {"{M = 'x'}", -1, true},
        {"{M = {}}", -1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        Push(c.table);
        bool wrongType = false;
        EXPECT_EQ(GetIntField(L, "M", -1, wrongType), c.value);
        EXPECT_EQ(wrongType, c.wrongType);
        EXPECT_EQ(lua_gettop(L), 1);
    }
    EXPECT_EQ(CheckedInt(std::nan(""), 42), 42);
    EXPECT_EQ(CheckedInt(-2147483648.0, 0), INT_MIN);
    EXPECT_EQ(CheckedInt(2147483646.5, 0), 2147483646);
}

TEST_F(LuaFieldsTest, StringFields)
{
    struct Case
    {
        const char *table;
        std::string value;
        bool wrongType;
    };
    const Case cases[] = {
        {"{}", "Above", false},
        {"{S = 'Below'}", "Below", false},
        {"{S = ''}", "", false},
        {"{S = 'a\\0b'}", std::string("a\0b", 3), false},
        {"{S = 3}", "3", false},
        {"{S = 2.5}", "2.5", false},
        {"{S = false}", "Above", true},
        {"{S = {}}", "Above", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        Push(c.table);
        bool wrongType = false;
        EXPECT_EQ(GetStringField(L, "S", "Above", wrongType), c.value);
        EXPECT_EQ(wrongType, c.wrongType);
        EXPECT_EQ(lua_gettop(L), 1);
    }
    Push("{S = 3}");
    bool wrongType = false;
    GetStringField(L, "S", "", wrongType);
    EXPECT_EQ(lua_getfield(L, -1, "S"), LUA_TNUMBER) << "the table keeps its number";
    lua_pop(L, 1);
    EXPECT_EQ(GetStringField(L, "none", nullptr, wrongType), "");
}

TEST_F(LuaFieldsTest, WrongTypeCollectsOverSeveralFields)
{
    Push("{A = {}, B = 1, S = 'x'}");
    bool wrongType = false;
    GetNumberField(L, "A", 0, wrongType);
    EXPECT_EQ(GetNumberField(L, "B", 0, wrongType), 1);
    EXPECT_EQ(GetStringField(L, "S", "", wrongType), "x");
    EXPECT_TRUE(wrongType);
}

TEST_F(LuaFieldsTest, UsageErrorMessageIsExactlyTheText)
{
    lua_pushcfunction(L, [](lua_State *L) { return usageError(L, "usage: Foo()"); });
    ASSERT_EQ(lua_pcall(L, 0, 0, 0), LUA_ERRRUN);
    EXPECT_STREQ(lua_tostring(L, -1), "usage: Foo()");
}

// A binding function as the script module writes them: argument checks first, fields
// read with one flag, the usage error for any misuse.
int Fields(lua_State *L)
{
    if (lua_gettop(L) != 1 || !lua_istable(L, 1))
        return usageError(L, "usage: Fields( t )");
    bool wrongType = false;
    const int material = GetIntField(L, "Material", -1, wrongType);
    const double thickness = GetNumberField(L, "Thickness", -1, wrongType);
    const std::string location = GetStringField(L, "Location", "Above", wrongType);
    if (wrongType)
        return usageError(L, "usage: Fields( t )");
    lua_pushfstring(L, "%d %f %s", material, thickness, location.c_str());
    lua_setglobal(L, "got");
    return 0;
}

TEST(LuaFieldsBinding, FieldsOfAScriptCall)
{
    TempDir dir;
    LuaRunner runner;
    const luaL_Reg functions[] = {{"Fields", Fields}, {nullptr, nullptr}};
    ASSERT_TRUE(runner.Register(functions));
    lua_State *L = runner.State();
    struct Case
    {
        const char *call;
        int result;
        const char *got;
    };
    const Case cases[] = {
        {"Fields{Material = 2.7, Thickness = 0.5, Location = 'Below'}", LuaRunner::RunOk,
         "2 0.5 Below"},
        {"Fields{}", LuaRunner::RunOk, "-1 -1.0 Above"},
        {"Fields{Material = {}}", LuaRunner::RunError, "usage: Fields( t )"},
        {"Fields{Location = Fields}", LuaRunner::RunError, "usage: Fields( t )"},
        {"Fields(1)", LuaRunner::RunError, "usage: Fields( t )"},
        {"Fields({}, {})", LuaRunner::RunError, "usage: Fields( t )"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.call);
        const std::string script =
            std::string("function _ERRORMESSAGE(m) got = m end\n") + c.call;
        EXPECT_EQ(runner.RunFile(dir.Write("f.lua", script).c_str()), c.result);
        lua_getglobal(L, "got");
        EXPECT_STREQ(lua_tostring(L, -1), c.got);
        lua_pop(L, 1);
    }
}

} // namespace
