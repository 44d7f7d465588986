#pragma once

// The table a reliability test hands to lamSetup: every slot forwards to the
// host stand-in's table (null where the active store nulls the slot), keeps
// the stand-in's own allocations out of the failing allocator's count, and
// notes any call made while no entry call is running.

#include "host/lamcallbacks.h"
#include "tools/lamhost/store.h"

namespace reliability {

// The one guarded table; Sync() gives it the null slots of the stand-in's table.
lamCallbacksImp *GuardedTable();
void Sync();

// Marks an entry call as running for its lifetime.
class InRequest
{
public:
    InRequest();
    ~InRequest();
    InRequest(const InRequest &) = delete;
    InRequest &operator=(const InRequest &) = delete;
};

// Callbacks made while no entry call was running, since the last reset.
int CallsOutsideRequests();
void ResetCallsOutsideRequests();

// Called with the slot of each callback before it is
// forwarded; null removes it. A test notes the order of the calls with it.
void SetCallObserver(void (*observer)(LamHost::Slot slot));

} // namespace reliability
