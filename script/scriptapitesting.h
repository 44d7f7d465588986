#pragma once

#include <lua.hpp>

// Seams for tests of the binding, not exported from the module.

// The allocator that later interpreters are opened with, with its user data;
// null goes back to Lua's own (realloc), which the module uses.
void SetScriptAllocator(lua_Alloc alloc, void *userData);
// Runs with each interpreter once its functions are registered, before the
// script runs (a test sets hooks or limits there); null removes it.
void SetScriptOpenHook(void (*hook)(lua_State *));
