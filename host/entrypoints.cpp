// The functions the host finds in the module, with C linkage: everything else
// of the module stays hidden.
#include "host/hostmessage.h"
#include "host/lamcallbacks.h"
#include "host/session.h"

#include <new>

namespace {

Session *gSession = nullptr; // the process's one session; never deleted

const lamEntryTable kEntries = {lamSetup, lamModeler, lamSketcher, lamPlyMaterial};
const ModuleDescriptor kDescriptor = {1, 0, &kEntries};

} // namespace

extern "C" {

const ModuleDescriptor *ovra_dso_init(void)
{
    return &kDescriptor;
}

void lamSetup(lamCallbacksImp *table)
{
    if (gSession || !table)
        return;
    try {
        gSession = new Session(table);
    } catch (const std::bad_alloc &) {
        ShowHostMessage(table, "Corvane Modeler exception: out of memory.");
    } catch (...) {
        ShowHostMessage(table, "unexpected Corvane Modeler exception.");
    }
}

void lamModeler(int create)
{
    if (gSession)
        gSession->Modeler(create == 1);
}

void lamSketcher(void)
{
    if (gSession)
        gSession->Sketcher();
}

void lamPlyMaterial(void)
{
    if (gSession)
        gSession->CreatePlyMaterial();
}

} // extern "C"
