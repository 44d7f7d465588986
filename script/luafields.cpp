#include "script/luafields.h"

#include <climits>
#include <cmath>

int usageError(lua_State *L, const char *text)
{
    lua_pushstring(L, text);
    return lua_error(L);
}

namespace {

// Pushes the field of the table on top of the stack; returns its type.
int PushField(lua_State *L, const char *key)
{
    return lua_getfield(L, -1, key);
}

} // namespace

double GetNumberField(lua_State *L, const char *key, double fallback, bool &wrongType)
{
    double value = fallback;
    if (PushField(L, key) != LUA_TNIL) {
        int isNumber = 0;
        const lua_Number number = lua_tonumberx(L, -1, &isNumber);
        // A string such as "abc" would read as 0 and pass for a given value.
        if (isNumber)
            value = number;
        else
            wrongType = true;
    }
    lua_pop(L, 1);
    return value;
}

int GetIntField(lua_State *L, const char *key, int fallback, bool &wrongType)
{
    return CheckedInt(GetNumberField(L, key, std::nan(""), wrongType), fallback);
}

std::string GetStringField(lua_State *L, const char *key, const char *fallback, bool &wrongType)
{
    std::string value = fallback ? fallback : "";
    const int type = PushField(L, key);
    if (type == LUA_TSTRING || type == LUA_TNUMBER) {
        size_t length = 0;
        // Converts the pushed copy only; the table keeps its number.
        const char *text = lua_tolstring(L, -1, &length);
        value.assign(text, length);
    } else if (type != LUA_TNIL) {
        wrongType = true;
    }
    lua_pop(L, 1);
    return value;
}

int CheckedInt(double value, int fallback)
{
    if (std::isnan(value))
        return fallback;
    const double whole = std::trunc(value);
    if (whole >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (whole <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(whole);
}
