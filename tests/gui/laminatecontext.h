#pragma once

#include "core/laminate.h"
#include "gui/guiappcontext.h"
#include "tools/lamhost/store.h"

// An interactive request's context on a host stand-in, its laminate loaded
// (or, when creating, the new empty one), for tests of the layup dialog.
struct LaminateContext
{
    explicit LaminateContext(LamHost::StoreData data = LamHost::DemoStore(), bool create = false)
        : store(std::move(data)), context((store.Activate(), LamHost::CallbackTable()))
    {
        context.CreateApplication(true);
        context.Initialize();
        context.LaminateInit(create);
    }

    Laminate &GetLaminate() { return context.GetLaminate(); }
    // Installs root as the layup without recording anything.
    void SetLayup(const PlyGroup &root) { context.GetLaminate().SetLayup(root); }

    LamHost::Store store;
    GuiAppContext context;
};
