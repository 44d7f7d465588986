#include "guardedhost.h"

#include "failingalloc.h"

#include "tools/lamhost/store.h"

namespace reliability {

namespace {

bool gInRequest = false;
int gOutside = 0;
void (*gObserver)(LamHost::Slot) = nullptr;

template <LamHost::Slot S, auto Member, class Function>
struct Forward;

// Forwards one slot; the stand-in's table is looked up at each call.
template <LamHost::Slot S, auto Member, class R, class... Args>
struct Forward<S, Member, R (*)(Args...)>
{
    static R Call(Args... args)
    {
        failalloc::Pause pause;
        if (!gInRequest)
            ++gOutside;
        if (gObserver)
            gObserver(S);
        return (LamHost::CallbackTable()->*Member)(args...);
    }
};

#define GUARDED(slot) \
    Forward<LamHost::Slot::slot, &lamCallbacksImp::slot, decltype(lamCallbacksImp::slot)>::Call

constexpr lamCallbacksImp kGuarded = {
    GUARDED(Unused00),      GUARDED(GetLanguage),     GUARDED(GetUnitSystem),
    GUARDED(Unused0C),      GUARDED(GetColorCount),   GUARDED(GetColorIDs),
    GUARDED(GetColor),      GUARDED(GetScriptPath),   GUARDED(ShowMessage),
    GUARDED(Unused24),      GUARDED(GetMaterial),     GUARDED(SelectMaterial),
    GUARDED(SavePlyMaterial), GUARDED(GetCurrentLaminate), GUARDED(GetCurrentLaminatePlies),
    GUARDED(SaveLaminate),
};

lamCallbacksImp gTable = kGuarded;

template <class F>
void Mirror(F &slot, F stand, F guarded)
{
    slot = stand ? guarded : nullptr;
}

} // namespace

lamCallbacksImp *GuardedTable() { return &gTable; }

void Sync()
{
    const lamCallbacksImp &s = *LamHost::CallbackTable();
    Mirror(gTable.Unused00, s.Unused00, kGuarded.Unused00);
    Mirror(gTable.GetLanguage, s.GetLanguage, kGuarded.GetLanguage);
    Mirror(gTable.GetUnitSystem, s.GetUnitSystem, kGuarded.GetUnitSystem);
    Mirror(gTable.Unused0C, s.Unused0C, kGuarded.Unused0C);
    Mirror(gTable.GetColorCount, s.GetColorCount, kGuarded.GetColorCount);
    Mirror(gTable.GetColorIDs, s.GetColorIDs, kGuarded.GetColorIDs);
    Mirror(gTable.GetColor, s.GetColor, kGuarded.GetColor);
    Mirror(gTable.GetScriptPath, s.GetScriptPath, kGuarded.GetScriptPath);
    Mirror(gTable.ShowMessage, s.ShowMessage, kGuarded.ShowMessage);
    Mirror(gTable.Unused24, s.Unused24, kGuarded.Unused24);
    Mirror(gTable.GetMaterial, s.GetMaterial, kGuarded.GetMaterial);
    Mirror(gTable.SelectMaterial, s.SelectMaterial, kGuarded.SelectMaterial);
    Mirror(gTable.SavePlyMaterial, s.SavePlyMaterial, kGuarded.SavePlyMaterial);
    Mirror(gTable.GetCurrentLaminate, s.GetCurrentLaminate, kGuarded.GetCurrentLaminate);
    Mirror(gTable.GetCurrentLaminatePlies, s.GetCurrentLaminatePlies, kGuarded.GetCurrentLaminatePlies);
    Mirror(gTable.SaveLaminate, s.SaveLaminate, kGuarded.SaveLaminate);
}

InRequest::InRequest() { gInRequest = true; }
InRequest::~InRequest() { gInRequest = false; }

int CallsOutsideRequests() { return gOutside; }
void ResetCallsOutsideRequests() { gOutside = 0; }
void SetCallObserver(void (*observer)(LamHost::Slot)) { gObserver = observer; }

} // namespace reliability
