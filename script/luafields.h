#pragma once

#include <lua.hpp>

#include <string>

// Raises a Lua error whose message is exactly text, without the "file:line:" prefix
// that luaL_error adds. It never returns; the int lets a C function end with
// `return usageError(L, "usage: Foo()")`.
int usageError(lua_State *L, const char *text);

// Readers of one field of the table on top of the stack; each leaves the stack as it
// found it. A nil field gives fallback. A field of another type than number or string,
// or a string that does not read as a number where a number is read, also gives
// fallback and sets wrongType, which no reader clears: one flag collects every field of
// a call, and the function then raises its usage error. The lookup honours metamethods,
// so it can raise the errors they raise.
double GetNumberField(lua_State *L, const char *key, double fallback, bool &wrongType);
// A number field converted with CheckedInt; NaN counts as not given.
int GetIntField(lua_State *L, const char *key, int fallback, bool &wrongType);
// A number is converted to its text as Lua writes it. A null fallback reads as empty.
std::string GetStringField(lua_State *L, const char *key, const char *fallback, bool &wrongType);

// value truncated towards zero and clamped to int's range; fallback when value is NaN.
int CheckedInt(double value, int fallback);
