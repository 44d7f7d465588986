#include "failingalloc.h"

#include <cstdlib>
#include <new>

#include <execinfo.h>

namespace {

struct Counter
{
    bool armed = false;
    long long failAt = 0;
    bool onward = false;
    long long count = 0;
    bool failed = false;
};

// Per thread, so that a thread that a library starts cannot shift the count.
thread_local Counter tCounter;
thread_local int tPaused = 0;

// Counts one allocation; true when it is the one to fail.
bool CountOne()
{
    Counter &c = tCounter;
    if (!c.armed || tPaused > 0)
        return false;
    ++c.count;
    if (c.failAt == 0 || c.count < c.failAt || (c.count > c.failAt && !c.onward))
        return false;
    c.failed = true;
    static const char *trace = std::getenv("FAILALLOC_BACKTRACE");
    if (trace && std::atoll(trace) == c.count) {
        void *frames[48];
        backtrace_symbols_fd(frames, backtrace(frames, 48), 2);
    }
    return true;
}

void *Allocate(std::size_t size)
{
    if (CountOne())
        return nullptr;
    return std::malloc(size ? size : 1);
}

void *AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (CountOne())
        return nullptr;
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    return std::aligned_alloc(align, rounded ? rounded : align);
}

void *OrThrow(void *block)
{
    if (!block)
        throw std::bad_alloc();
    return block;
}

} // namespace

namespace failalloc {

void Arm(long long failAt, bool onward)
{
    tCounter = Counter{true, failAt, onward, 0, false};
}

long long Disarm()
{
    tCounter.armed = false;
    return tCounter.count;
}

bool Failed() { return tCounter.failed; }

Pause::Pause() { ++tPaused; }
Pause::~Pause() { --tPaused; }

void *LuaAlloc(void *, void *block, size_t oldSize, size_t newSize)
{
    if (newSize == 0) {
        std::free(block);
        return nullptr;
    }
    // Lua relies on a shrinking block never failing; oldSize is a type tag for a new one.
    if ((!block || newSize > oldSize) && CountOne())
        return nullptr;
    return std::realloc(block, newSize);
}

} // namespace failalloc

void *operator new(std::size_t size) { return OrThrow(Allocate(size)); }
void *operator new[](std::size_t size) { return OrThrow(Allocate(size)); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return Allocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return Allocate(size); }
void *operator new(std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void *operator new[](std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void *operator new(std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept
{
    return AllocateAligned(size, a);
}
void *operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept
{
    return AllocateAligned(size, a);
}

void operator delete(void *block) noexcept { std::free(block); }
void operator delete[](void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t) noexcept { std::free(block); }
void operator delete(void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete[](void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete(void *block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void *block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void *block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete(void *block, std::align_val_t, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete[](void *block, std::align_val_t, const std::nothrow_t &) noexcept { std::free(block); }
