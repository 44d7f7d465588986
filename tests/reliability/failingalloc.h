#pragma once

// A test build's allocator: this binary replaces the global operator new and
// delete (every form) with versions that count the allocations of the armed
// thread and throw std::bad_alloc (or return null, for the nothrow forms) on
// the N-th. LuaAlloc counts in the same sequence for interpreters opened with
// it, so that one number runs through the C++ and the Lua allocations of a
// request. Frees are never counted; a failed allocation is counted. With
// FAILALLOC_BACKTRACE=N in the environment, each failure of the N-th
// allocation prints its backtrace on standard error.

#include <cstddef>

namespace failalloc {

// Starts counting from zero on this thread; the failAt-th allocation fails
// (0: none does), and with onward every later one too, as when memory has
// run out for good.
void Arm(long long failAt, bool onward = false);
// Stops counting; returns the number of allocations counted.
long long Disarm();
// True when the armed allocation has failed since Arm.
bool Failed();

// Leaves the allocations of its scope uncounted (for the host stand-in's own
// bookkeeping, which is not the module's memory).
class Pause
{
public:
    Pause();
    ~Pause();
    Pause(const Pause &) = delete;
    Pause &operator=(const Pause &) = delete;
};

// A lua_Alloc over realloc and free that counts growing allocations.
void *LuaAlloc(void *userData, void *block, size_t oldSize, size_t newSize);

} // namespace failalloc
