// docs/scripting.md against the binding: the functions it describes per mode are
// the globals each mode registers, and its error texts are the binding's own.

#include "script/luarunner.h"
#include "script/scriptapi.h"
#include "script/scriptapitesting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The globals of state that are C functions.
std::set<std::string> CFunctions(lua_State *L)
{
    std::set<std::string> names;
    lua_pushglobaltable(L);
    lua_pushnil(L);
    while (lua_next(L, -2)) {
        if (lua_type(L, -2) == LUA_TSTRING && lua_iscfunction(L, -1))
            names.insert(lua_tostring(L, -2));
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return names;
}

std::set<std::string> gOpened;

// The functions that ScriptApi registers in a mode: its C functions beyond a bare runner's.
std::set<std::string> Registered(bool modeler)
{
    LuaRunner bare;
    const std::set<std::string> base = CFunctions(bare.State());
    SetScriptOpenHook([](lua_State *L) { gOpened = CFunctions(L); });
    ScriptApi::Open(nullptr, modeler);
    ScriptApi::Close();
    SetScriptOpenHook(nullptr);
    std::set<std::string> added;
    for (const std::string &name : gOpened)
        if (!base.count(name))
            added.insert(name);
    return added;
}

TEST(ScriptingDoc, DescribesEveryFunctionOfEachMode)
{
    const std::string doc = ReadText(SCRIPTING_DOC);
    ASSERT_FALSE(doc.empty());
    // Headings "### `Name(...)`", several names to a heading, under a section per mode.
    std::set<std::string> both, laminate, plyMaterial, *section = nullptr;
    std::istringstream lines(doc);
    const std::regex name("`([A-Za-z_]+)[({]");
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("## ", 0) == 0)
            section = line == "## Functions in both modes" ? &both
                      : line == "## Laminate mode"         ? &laminate
                      : line == "## Ply material mode"     ? &plyMaterial
                                                           : nullptr;
        if (line.rfind("### `", 0) != 0 || !section)
            continue;
        for (std::sregex_iterator m(line.begin(), line.end(), name), end; m != end; ++m)
            section->insert((*m)[1]);
    }
    ASSERT_FALSE(both.empty());
    laminate.insert(both.begin(), both.end());
    plyMaterial.insert(both.begin(), both.end());
    EXPECT_EQ(laminate, Registered(true));
    EXPECT_EQ(plyMaterial, Registered(false));
}

TEST(ScriptingDoc, ErrorTextsAreTheBindingsOwn)
{
    const std::string doc = ReadText(SCRIPTING_DOC), source = ReadText(SCRIPTAPI_SOURCE);
    ASSERT_FALSE(source.empty());
    // Each "Errors:" paragraph, its line breaks read as spaces, holds the texts in
    // backticks; a value it names is quoted inside them (`"Simple"`).
    const std::regex paragraph("\\nErrors: ([^]*?)\\n\\n"), quoted("`([^`]+)`");
    size_t texts = 0;
    for (std::sregex_iterator p(doc.begin(), doc.end(), paragraph), end; p != end; ++p) {
        const std::string errors = std::regex_replace((*p)[1].str(), std::regex("\\s+"), " ");
        for (std::sregex_iterator q(errors.begin(), errors.end(), quoted); q != end; ++q) {
            if ((*q)[1].str()[0] == '"')
                continue;
            ++texts;
            // As a literal of the source, quotes included.
            std::string literal(1, '"');
            literal.append((*q)[1].str()).push_back('"');
            EXPECT_NE(source.find(literal), std::string::npos) << literal;
        }
    }
    EXPECT_GE(texts, 50u);
}

} // namespace
