#include "script/luarunner.h"

#include <cerrno>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Calls the function at index 1 with the values above it as arguments, without the
// run's message handler: the parser raises some errors (a "C stack overflow" on deep
// nesting) through it, and a chunk that does not compile must come back to the script
// as a result, not reach _ERRORMESSAGE. What the call raises itself (a bad argument)
// is raised again.
int CallWithoutHandler(lua_State *L)
{
    // A memory error keeps its kind: lua_error raises Lua's memory message as one.
    if (lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0) != LUA_OK)
        return lua_error(L);
    return lua_gettop(L);
}

// The base library's loaders, kept as upvalue 1, called with the mode argument forced
// to text: a precompiled chunk is not checked and can corrupt the interpreter.
int TextLoad(lua_State *L)
{
    if (lua_gettop(L) < 3)
        lua_settop(L, 3); // a missing chunk name reads as nil; env stays absent
    lua_pushliteral(L, "t");
    lua_replace(L, 3);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    return CallWithoutHandler(L);
}

int TextLoadfile(lua_State *L)
{
    if (lua_gettop(L) < 2)
        lua_settop(L, 2);
    lua_pushliteral(L, "t");
    lua_replace(L, 2);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    return CallWithoutHandler(L);
}

int LoadFileOrRaise(lua_State *L)
{
    if (luaL_loadfilex(L, lua_tostring(L, 1), "t") != LUA_OK)
        return lua_error(L);
    return 1;
}

int TextDofile(lua_State *L)
{
    luaL_optstring(L, 1, nullptr);
    lua_settop(L, 1);
    lua_pushcfunction(L, LoadFileOrRaise);
    lua_insert(L, 1);
    // The error of a file that does not compile reaches _ERRORMESSAGE once, as dofile's.
    CallWithoutHandler(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L);
}

// Replaces the global loader name by wrapper, which gets the original as upvalue.
void WrapGlobal(lua_State *L, const char *name, lua_CFunction wrapper)
{
    lua_getglobal(L, name);
    lua_pushcclosure(L, wrapper, 1);
    lua_setglobal(L, name);
}

const luaL_Reg kLibraries[] = {
    {LUA_GNAME, luaopen_base},
    {LUA_IOLIBNAME, luaopen_io},
    {LUA_STRLIBNAME, luaopen_string},
    {LUA_MATHLIBNAME, luaopen_math},
    {LUA_TABLIBNAME, luaopen_table},
    {nullptr, nullptr},
};

// Run protected: running out of memory here must not reach the panic handler.
int OpenLibraries(lua_State *L)
{
    for (const luaL_Reg *lib = kLibraries; lib->func; ++lib) {
        luaL_requiref(L, lib->name, lib->func, 1);
        lua_pop(L, 1);
    }
    WrapGlobal(L, "load", TextLoad);
    WrapGlobal(L, "loadfile", TextLoadfile);
    lua_register(L, "dofile", TextDofile);
    return 0;
}

int RegisterList(lua_State *L)
{
    const auto *functions = static_cast<const luaL_Reg *>(lua_touserdata(L, 1));
    for (const luaL_Reg *f = functions; f->name; ++f)
        lua_register(L, f->name, f->func);
    return 0;
}

// Calls _ERRORMESSAGE with argument 1. The raw lookup, as the old interpreter did it,
// keeps a metatable on the globals out of error handling.
int CallErrorMessage(lua_State *L)
{
    lua_pushglobaltable(L);
    lua_pushliteral(L, "_ERRORMESSAGE");
    if (lua_rawget(L, -2) != LUA_TFUNCTION)
        return 0;
    lua_pushvalue(L, 1);
    lua_call(L, 1, 0);
    return 0;
}

// The message handler of a run: hands the error value to _ERRORMESSAGE and passes it
// on unchanged. An error inside _ERRORMESSAGE is caught here (otherwise Lua would call
// this handler for it again, and again) and its status kept in upvalue 1.
int MessageHandler(lua_State *L)
{
    lua_pushcfunction(L, CallErrorMessage);
    lua_pushvalue(L, 1);
    const int status = lua_pcall(L, 1, 0, 0);
    if (status != LUA_OK) {
        lua_pop(L, 1);
        lua_pushinteger(L, status);
        lua_replace(L, lua_upvalueindex(1));
    }
    lua_settop(L, 1);
    return 1;
}

int HandlerResult(int status)
{
    return status == LUA_ERRMEM ? LuaRunner::RunMemoryError : LuaRunner::RunHandlerError;
}

// What RunChunk is given: the file's text, its chunk name, and the run's result.
struct Job
{
    const std::string *text;
    const std::string *chunkName;
    int result;
};

// Skips what luaL_loadfile skips: a UTF-8 byte order mark, then a first line that
// starts with '#' (an interpreter line). Its newline stays, so line numbers hold.
size_t ChunkStart(const std::string &text)
{
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (start < text.size() && text[start] == '#') {
        const size_t newline = text.find('\n', start);
        start = newline == std::string::npos ? text.size() : newline;
    }
    return start;
}

// Run protected, so that the handler's closure and the chunk can run out of memory
// safely too.
int RunChunk(lua_State *L)
{
    Job *job = static_cast<Job *>(lua_touserdata(L, 1));
    lua_pushinteger(L, LUA_OK);
    lua_pushcclosure(L, MessageHandler, 1);
    const int handler = lua_gettop(L);

    const size_t start = ChunkStart(*job->text);
    int status = luaL_loadbufferx(L, job->text->data() + start, job->text->size() - start,
                                  job->chunkName->c_str(), "t");
    // Compiling can fail by a syntax error or by a runtime error such as the parser's
    // "C stack overflow"; either way the file does not compile.
    if (status != LUA_OK && status != LUA_ERRMEM) {
        // The old interpreter reported syntax errors through _ERRORMESSAGE as well.
        lua_pushcfunction(L, CallErrorMessage);
        lua_insert(L, -2);
        const int handled = lua_pcall(L, 1, 0, 0);
        job->result = handled == LUA_OK ? LuaRunner::RunSyntaxError : HandlerResult(handled);
        return 0;
    }
    if (status == LUA_OK)
        status = lua_pcall(L, 0, 0, handler);

    switch (status) {
    case LUA_OK:
        job->result = LuaRunner::RunOk;
        break;
    case LUA_ERRRUN:
        lua_getupvalue(L, handler, 1);
        status = static_cast<int>(lua_tointeger(L, -1));
        job->result = status == LUA_OK ? LuaRunner::RunError : HandlerResult(status);
        break;
    case LUA_ERRERR:
        job->result = LuaRunner::RunHandlerError;
        break;
    default:
        // LUA_ERRMEM, or a C++ exception, which Lua catches and drops (-1): in a
        // registered function that is std::bad_alloc in practice.
        job->result = LuaRunner::RunMemoryError;
        break;
    }
    return 0;
}

// Reads the regular file at path into text. Returns false with errno set otherwise;
// a directory gives EISDIR, any other kind of file EINVAL. Never blocks on a FIFO.
bool ReadScript(const char *path, std::string &text)
{
    if (!path) {
        errno = EINVAL;
        return false;
    }
    struct stat info;
    // Checked before opening, since opening a device can have effects of its own.
    if (stat(path, &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The path may have been replaced since the check above.
    bool ok = fstat(fd, &info) == 0;
    if (ok && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ok = false;
    }
    char buffer[65536];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            ok = false;
    }
    const int error = errno;
    close(fd);
    errno = error;
    return ok;
}

} // namespace

LuaRunner::LuaRunner() : LuaRunner(nullptr, nullptr)
{
}

LuaRunner::LuaRunner(lua_Alloc alloc, void *userData)
{
    state_ = alloc ? lua_newstate(alloc, userData) : luaL_newstate();
    if (!state_)
        return;
    lua_pushcfunction(state_, OpenLibraries);
    if (lua_pcall(state_, 0, 0, 0) != LUA_OK) {
        lua_close(state_);
        state_ = nullptr;
    }
}

LuaRunner::~LuaRunner()
{
    if (state_)
        lua_close(state_);
}

bool LuaRunner::Register(const luaL_Reg *functions)
{
    if (!state_)
        return false;
    const int top = lua_gettop(state_);
    lua_pushcfunction(state_, RegisterList);
    lua_pushlightuserdata(state_, const_cast<luaL_Reg *>(functions));
    const bool ok = lua_pcall(state_, 1, 0, 0) == LUA_OK;
    lua_settop(state_, top);
    return ok;
}

int LuaRunner::RunFile(const char *path)
{
    if (!state_)
        return RunMemoryError;
    std::string text;
    std::string chunkName;
    try {
        if (!ReadScript(path, text))
            return RunFileError;
        chunkName = std::string("@") + path;
    } catch (const std::bad_alloc &) {
        return RunMemoryError;
    }

    Job job{&text, &chunkName, RunMemoryError};
    const int top = lua_gettop(state_);
    lua_pushcfunction(state_, RunChunk);
    lua_pushlightuserdata(state_, &job);
    // Fails only when memory runs out outside the inner calls; job.result says so.
    lua_pcall(state_, 1, 0, 0);
    lua_settop(state_, top);
    return job.result;
}
