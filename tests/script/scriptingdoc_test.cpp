// docs/scripting.md against the binding: the functions it describes per mode are
// the globals each mode registers, and its error texts are the binding's own;
// its table of the demo store's ids against the store.

#include "script/luarunner.h"
#include "script/scriptapi.h"
#include "script/scriptapitesting.h"
#include "tests/tools/runprogram.h"
#include "tools/lamhost/storedata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

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

// The texts between pairs of backticks, in order.
std::vector<std::string> Quoted(const std::string &text)
{
    std::vector<std::string> spans;
    for (size_t open = text.find('`'); open != std::string::npos;) {
        const size_t close = text.find('`', open + 1);
        if (close == std::string::npos)
            break;
        spans.push_back(text.substr(open + 1, close - open - 1));
        open = text.find('`', close + 1);
    }
    return spans;
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
    const std::string doc = ReadFile(SCRIPTING_DOC);
    ASSERT_FALSE(doc.empty());
    // Headings "### `Name(...)`", several names to a heading, under a section per mode.
    std::set<std::string> both, laminate, plyMaterial, *section = nullptr;
    std::istringstream lines(doc);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("## ", 0) == 0)
            section = line == "## Functions in both modes" ? &both
                      : line == "## Laminate mode"         ? &laminate
                      : line == "## Ply material mode"     ? &plyMaterial
                                                           : nullptr;
        if (line.rfind("### `", 0) != 0 || !section)
            continue;
        for (const std::string &span : Quoted(line)) {
            const size_t end = span.find_first_of("({");
            if (end != std::string::npos)
                section->insert(span.substr(0, end));
        }
    }
    ASSERT_FALSE(both.empty());
    laminate.insert(both.begin(), both.end());
    plyMaterial.insert(both.begin(), both.end());
    EXPECT_EQ(laminate, Registered(true));
    EXPECT_EQ(plyMaterial, Registered(false));
}

TEST(ScriptingDoc, ErrorTextsAreTheBindingsOwn)
{
    const std::string doc = ReadFile(SCRIPTING_DOC), source = ReadFile(SCRIPTAPI_SOURCE);
    ASSERT_FALSE(source.empty());
    // Each "Errors:" paragraph, its line breaks read as spaces, holds the texts in
    // backticks; a value it names is quoted inside them (`"Simple"`).
    size_t texts = 0;
    for (size_t at = doc.find("\nErrors: "); at != std::string::npos; at = doc.find("\nErrors: ", at + 1)) {
        std::string paragraph = doc.substr(at + 1, doc.find("\n\n", at + 1) - at - 1);
        std::replace(paragraph.begin(), paragraph.end(), '\n', ' ');
        for (const std::string &span : Quoted(paragraph)) {
            if (span.empty() || span[0] == '"')
                continue;
            ++texts;
            // As a literal of the source, quotes included.
            std::string literal(1, '"');
            literal.append(span).push_back('"');
            EXPECT_NE(source.find(literal), std::string::npos) << literal;
        }
    }
    EXPECT_GE(texts, 50u);
}

TEST(ScriptingDoc, DemoStoreIdsAreTheStores)
{
    const std::string doc = ReadFile(SCRIPTING_DOC);
    const size_t section = doc.find("\n## The demo store's ids\n");
    ASSERT_NE(section, std::string::npos);
    // Rows "| id | kind | name |" of materials and "| id | name |" of colours.
    std::set<std::vector<std::string>> documented, stored;
    std::istringstream lines(doc.substr(section + 1, doc.find("\n## ", section + 1) - section));
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 3 || line[0] != '|' || !std::isdigit(static_cast<unsigned char>(line[2])))
            continue;
        std::vector<std::string> cells;
        for (size_t at = 1, bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1)
            cells.push_back(line.substr(at + 1, bar - at - 2));
        documented.insert(cells);
    }
    const LamHost::StoreData store = LamHost::DemoStore();
    for (const LamHost::HostMaterial &m : store.materials)
        stored.insert({std::to_string(m.id), m.type, m.name});
    for (const LamHost::HostColor &c : store.colors)
        stored.insert({std::to_string(c.id), c.name});
    EXPECT_EQ(documented, stored);
}

} // namespace
