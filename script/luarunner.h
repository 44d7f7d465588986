#pragma once

#include <lua.hpp>

// One Lua interpreter that runs script files: the base, io, string, math and table
// libraries only, every chunk loaded as text, and the result codes and _ERRORMESSAGE
// hook of the interpreter the scripts were written for.
class LuaRunner
{
public:
    // The results of RunFile.
    enum Result {
        RunOk = 0,
        RunError = 1,       // an error while running; _ERRORMESSAGE has seen its message
        RunFileError = 2,   // the path names no readable regular file; errno says why
        RunSyntaxError = 3, // the file does not compile, or is a precompiled chunk
        RunMemoryError = 4, // memory ran out (or a registered function threw a C++ exception)
        RunHandlerError = 5 // _ERRORMESSAGE itself raised an error
    };

    // Opens a state with its libraries; State() is null when memory ran out.
    LuaRunner();
    // The same with the allocator that lua_newstate takes (tests use it to run out of memory).
    LuaRunner(lua_Alloc alloc, void *userData);
    // Closes the state.
    ~LuaRunner();
    LuaRunner(const LuaRunner &) = delete;
    LuaRunner &operator=(const LuaRunner &) = delete;

    // The interpreter, owned by the runner; null when opening failed.
    lua_State *State() const { return state_; }

    // Sets each function of the list, which ends with {nullptr, nullptr}, as the global
    // of its name. Returns false when there is no state or memory ran out.
    bool Register(const luaL_Reg *functions);

    // Runs the file at path as one chunk and returns a Result. Before the run unwinds, an
    // error's value is handed to the global function _ERRORMESSAGE, looked up when the
    // error happens (nothing is called when it is not a function); a syntax error's
    // message is handed to it too. Errors the script catches itself never reach it.
    // RunFileError leaves errno set for strerror; read it before anything else can change
    // it. Leaves the stack as it found it. Without a state, returns RunMemoryError.
    int RunFile(const char *path);

private:
    lua_State *state_ = nullptr;
};
