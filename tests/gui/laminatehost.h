#pragma once

#include "core/selection.h"
#include "host/appcontext.h"
#include "tools/lamhost/store.h"

#include <utility>
#include <vector>

// A host stand-in with its data and the context of one request that has
// loaded the host's current laminate (or started a new one when create).
struct LaminateHost
{
    explicit LaminateHost(LamHost::StoreData data = LamHost::DemoStore(), bool create = false)
        : store(std::move(data))
    {
        store.Activate();
        context.CreateApplication(true);
        context.Initialize();
        loaded = context.LaminateInit(create);
    }

    // The demo data with the current laminate's plies (bottom first) replaced.
    static LamHost::StoreData WithPlies(std::vector<LamHost::HostPly> plies, int unitSystem = 10)
    {
        LamHost::StoreData data = LamHost::DemoStore();
        data.unitSystem = unitSystem;
        data.laminates[0].plies = std::move(plies);
        return data;
    }

    // A selection of these plies.
    static Selection Plies(std::vector<int> numbers)
    {
        Selection selection;
        selection.plies = std::move(numbers);
        return selection;
    }

    LamHost::Store store;
    AppContext context{LamHost::CallbackTable()};
    bool loaded = false;
};
